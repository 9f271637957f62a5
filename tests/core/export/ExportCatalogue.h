#pragma once

// A catalogue of a few images for the export and statistics tests, and the result list of them.

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/search/ImageRows.h"
#include "core/search/ResultList.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace zelvarion::test {

class ExportCatalogue
{
public:
    ExportCatalogue()
    {
        db.path = folder.file(QStringLiteral("Images.db"));
        RecordingFeedback quiet;
        createCatalogueSchema(db, quiet, {});
    }

    // Adds a catalogue row and appends the image to the result.
    void add(const QString &folderPath, const QString &file, ColumnValues values = {}, bool inResult = true)
    {
        addRowOnly(folderPath, file, values);
        if (inResult)
            resultOnly(folderPath, file);
    }
    void addRowOnly(const QString &folderPath, const QString &file, ColumnValues values)
    {
        ASSERT_TRUE(db.open());
        ASSERT_EQ(db.execute(insertImageStatement({{"Folder", folderPath}, {"File", file}})), 0);
        QStringList sets;
        for (const auto &[column, value] : values)
            sets << QLatin1String(column) + u'=' + sqlText(value);
        if (!sets.isEmpty()) {
            ASSERT_EQ(db.execute(QStringLiteral("update Images set ") + sets.join(u',')
                                 + QStringLiteral(" where rowid = last_insert_rowid();")),
                      0);
        }
        db.close();
    }
    void resultOnly(const QString &folderPath, const QString &file)
    {
        std::vector<ResultRow> rows = results.rows();
        rows.push_back({folderPath, file, {}});
        results.assign(std::move(rows));
    }

    TempFolder folder;
    CatalogueDb db;
    ResultList results;
};

} // namespace zelvarion::test
