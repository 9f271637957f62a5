#pragma once

// A fresh catalogue with the shipped English texts, for the commands that open it themselves.

#include "ImageRows.h"
#include "core/catalogue/CatalogueCommand.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/search/ResultList.h"
#include "core/session/LanguagePack.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <ostream>

// Texts in failure messages as text, not as code units.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace zelvarion::test {

inline QString u8(const char *text) { return QString::fromUtf8(text); }

class CatalogueFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.path = folder.file("Images.db");
        ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
        ASSERT_TRUE(language.load(QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language"), QStringLiteral("English")));
        feedback.messages.clear();
    }

    CatalogueCommand command() { return {db, feedback, language}; }

    // Runs statements on a connection of its own; the commands find the catalogue closed.
    void run(const QString &statement)
    {
        ASSERT_TRUE(db.open());
        ASSERT_EQ(db.execute(statement), 0) << db.errorText().toStdString() << ": " << statement.toStdString();
        db.close();
    }
    void addImage(const QString &folderName, const QString &file, const QString &mark = {})
    {
        run(insertImageStatement({{"Folder", folderName}, {"File", file}, {"CheckMark", mark}}));
    }

    // The rows of a select, each row's cells joined by "|".
    QStringList rows(const QString &statement)
    {
        QStringList lines;
        EXPECT_TRUE(db.open());
        EXPECT_EQ(db.execute(statement), 0) << db.errorText().toStdString();
        for (int r = 1; r <= db.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < db.columnCount(); ++c)
                cells << db.cell(c, r);
            lines << cells.join(u'|');
        }
        db.close();
        return lines;
    }
    // "file|mark" of every image, by file name.
    QStringList marks() { return rows(QStringLiteral("select File,CheckMark from Images order by File;")); }

    static ResultList resultOf(std::vector<ResultRow> rowsOfResult)
    {
        ResultList list;
        list.assign(std::move(rowsOfResult));
        return list;
    }

    TempFolder folder;
    CatalogueDb db;
    RecordingFeedback feedback;
    LanguagePack language;
};

} // namespace zelvarion::test
