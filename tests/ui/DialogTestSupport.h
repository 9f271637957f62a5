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

    // Statements that change nothing return no rows; a failure returns the engine's text.
    QStringList rows(const QString &statement) { return catalogueRows(context.catalogue.path, statement); }
    void run(const QString &statement) { QVERIFY(rows(statement).isEmpty()); }
    void addImage(const QString &imageFolder, const QString &file, const QString &mark = {})
    {
        run(QStringLiteral("insert into Images(Folder,File,CheckMark) values(%1,%2,%3);")
                .arg(sqlText(imageFolder), sqlText(file), sqlText(mark)));
    }
};

} // namespace zelvarion::test
