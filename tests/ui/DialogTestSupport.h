#pragma once

// A program folder with a catalogue and an AppContext on it, for dialogs opened on their own.

#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "ui/AppContext.h"

#include <QTest>

namespace zelvarion::test {

struct DialogFixture
{
    ProgramFolderFixture folder;
    RecordingFeedback feedback;
    AppContext context;

    DialogFixture()
    {
        context.catalogue.path = folder.file(QStringLiteral("Images.db"));
        context.language.load(folder.file(QStringLiteral("Zelvarion-Language")), QStringLiteral("English"));
        createCatalogueSchema(context.catalogue, feedback, {});
    }

    void run(const QString &statement)
    {
        CatalogueDb &db = context.catalogue;
        QVERIFY(db.open());
        QCOMPARE(db.execute(statement), 0);
        db.close();
    }
    void addImage(const QString &imageFolder, const QString &file, const QString &mark = {})
    {
        run(QStringLiteral("insert into Images(Folder,File,CheckMark) values(%1,%2,%3);")
                .arg(sqlText(imageFolder), sqlText(file), sqlText(mark)));
    }
    QStringList rows(const QString &statement)
    {
        QStringList lines;
        CatalogueDb &db = context.catalogue;
        if (db.open() && db.execute(statement) == 0)
            for (int r = 1; r <= db.rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < db.columnCount(); ++c)
                    cells << db.cell(c, r);
                lines << cells.join(u'|');
            }
        db.close();
        return lines;
    }
};

} // namespace zelvarion::test
