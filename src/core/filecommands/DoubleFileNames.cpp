#include "core/filecommands/DoubleFileNames.h"

#include "core/catalogue/CatalogueDb.h"

namespace zelvarion {

const char *const kDoubleFileNamesStatement = "select Folder,File,CheckMark from Images order by File ASC;";

std::vector<ResultRow> groupDoubleFileNames(const ResultTable &table)
{
    const int count = table.rowCount();
    std::vector<QString> upper(std::size_t(count) + 1);
    for (int row = 1; row <= count; ++row)
        upper[std::size_t(row)] = table.cell(1, row).toUpper();
    auto append = [&](std::vector<ResultRow> &rows, int row) {
        rows.push_back({table.cell(0, row), table.cell(1, row), table.cell(2, row)});
    };
    std::vector<ResultRow> doubles;
    for (int first = 1; first < count;) {
        int next = first + 1;
        while (next <= count && upper[std::size_t(next)] == upper[std::size_t(first)])
            ++next;
        if (next - first > 1)
            for (int row = first; row < next; ++row)
                append(doubles, row);
        first = next;
    }
    return doubles;
}

std::optional<std::vector<ResultRow>> findDoubleFileNames(CatalogueDb &db, Feedback &feedback)
{
    if (!db.openOrReport(feedback))
        return std::nullopt;
    const ClosedOnExit closed(db);
    if (!db.executeOrReport(feedback, QLatin1String(kDoubleFileNamesStatement), QStringLiteral("Cannot get data")))
        return std::vector<ResultRow>();
    return groupDoubleFileNames(db.result());
}

} // namespace zelvarion
