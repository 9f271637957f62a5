#include "core/search/ResultList.h"

#include "core/catalogue/CatalogueTables.h"

namespace zelvarion {

std::vector<ResultRow> resultRowsOf(const ResultTable &table)
{
    std::vector<ResultRow> rows;
    rows.reserve(std::size_t(table.rowCount()));
    for (int row = 1; row <= table.rowCount(); ++row)
        rows.push_back({table.cell(resultListColumn::Folder, row), table.cell(resultListColumn::File, row),
                        table.cell(resultListColumn::CheckMark, row)});
    return rows;
}

} // namespace zelvarion
