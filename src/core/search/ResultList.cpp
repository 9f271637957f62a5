#include "core/search/ResultList.h"

namespace zelvarion {

std::vector<ResultRow> resultRowsOf(const ResultTable &table)
{
    std::vector<ResultRow> rows;
    rows.reserve(std::size_t(table.rowCount()));
    for (int row = 1; row <= table.rowCount(); ++row)
        rows.push_back({table.cell(0, row), table.cell(1, row), table.cell(2, row)});
    return rows;
}

} // namespace zelvarion
