#include "platform/CatalogueEngine.h"

#include <algorithm>

namespace zelvarion {

QString ResultTable::cell(int column, int row) const
{
    if (column < 0 || column >= m_columns || row < 0 || row > m_rows)
        return {};
    return m_cells[std::size_t(row) * std::size_t(m_columns) + std::size_t(column)];
}

void ResultTable::clear()
{
    m_rows = 0;
    m_columns = 0;
    m_cells.clear();
}

void ResultTable::setColumns(std::vector<QString> names)
{
    clear();
    m_columns = int(names.size());
    m_cells = std::move(names);
}

void ResultTable::appendRow(std::vector<QString> cells)
{
    cells.resize(std::size_t(m_columns));
    for (QString &cell : cells)
        m_cells.push_back(std::move(cell));
    ++m_rows;
}

QString *ResultTable::appendEmptyRow()
{
    const std::size_t start = m_cells.size();
    if (m_cells.capacity() < start + std::size_t(m_columns))
        m_cells.reserve(std::max(2 * m_cells.capacity(), start + std::size_t(m_columns)));
    m_cells.resize(start + std::size_t(m_columns));
    ++m_rows;
    return m_cells.data() + start;
}

} // namespace zelvarion
