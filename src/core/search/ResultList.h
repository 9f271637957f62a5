#pragma once

#include "core/search/ResultPaging.h"
#include "platform/SqliteEngine.h"

#include <QString>
#include <vector>

namespace zelvarion {

// One image of the current search result, as the catalogue returned it.
struct ResultRow
{
    QString folder;
    QString file;
    QString checkMark; // empty: not marked
};

// The current search result: rows numbered from 1, replaced as a whole by every search. All
// that works on "the images of the search result" (paging, check marks, apply template, export,
// statistics, file commands) reads it.
class ResultList
{
public:
    int count() const { return int(m_rows.size()); }
    // Count ÷ 10 rounded up: 0 rows give 0 pages, 10 give 1, 11 give 2.
    int pageCount() const { return (count() + ResultPaging::kPageSize - 1) / ResultPaging::kPageSize; }

    // Rank 1..count().
    const ResultRow &row(int rank) const { return m_rows.at(std::size_t(rank - 1)); }
    ResultRow &row(int rank) { return m_rows.at(std::size_t(rank - 1)); }
    const std::vector<ResultRow> &rows() const { return m_rows; }

    // The page shown is ResultPaging's, which every search resets to the first page.
    void clear() { m_rows.clear(); }
    void assign(std::vector<ResultRow> rows) { m_rows = std::move(rows); }

private:
    std::vector<ResultRow> m_rows;
};

// The rows of a Folder, File, CheckMark table as the catalogue returned them (rows 1 to rowCount).
std::vector<ResultRow> resultRowsOf(const ResultTable &table);

} // namespace zelvarion
