#include "core/catalogue/FolderRegistry.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/shell/AppSettings.h"

namespace zelvarion {

std::optional<std::vector<FolderRow>> selectFolders(CatalogueDb &db, Feedback &feedback)
{
    if (!db.executeOrReport(feedback, QStringLiteral("select * from Folders;"), QStringLiteral("Cannot add data")))
        return std::nullopt;
    std::vector<FolderRow> rows;
    rows.reserve(std::size_t(db.rowCount()));
    for (int r = 1; r <= db.rowCount(); ++r)
        rows.push_back({db.cell(0, r), db.cell(1, r), db.cell(2, r)});
    return rows;
}

long long totalFiles(const std::vector<FolderRow> &rows)
{
    long long total = 0;
    for (const FolderRow &row : rows)
        total += settingValue::wholeNumber(row.files);
    return total;
}

} // namespace zelvarion
