#pragma once

// A new catalogue holding only the rows a test gives: enough for searches and lists, no files needed.

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/search/ImageRows.h"

#include "support/RecordingFeedback.h"

#include <span>

#include <gtest/gtest.h>

namespace zelvarion::test {

inline ::testing::AssertionResult writeCatalogueOfRows(const QString &path, std::span<const ColumnValues> rows)
{
    CatalogueDb db;
    db.path = path;
    RecordingFeedback feedback;
    if (!createCatalogueSchema(db, feedback, {}))
        return ::testing::AssertionFailure() << "the catalogue was not created";
    if (!db.open())
        return ::testing::AssertionFailure() << "the new catalogue does not open";
    for (const ColumnValues &row : rows) {
        if (db.execute(insertImageStatement(row)) != 0)
            return ::testing::AssertionFailure() << db.errorText().toStdString();
    }
    db.close();
    return ::testing::AssertionSuccess();
}

} // namespace zelvarion::test
