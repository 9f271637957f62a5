#pragma once

#include <QString>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelvarion {

// The result of one statement as a table of text cells: row 0 holds the column names, rows 1 to
// rowCount the data; a NULL cell is empty text.
class ResultTable
{
public:
    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }
    // Column 0..columnCount-1, row 0..rowCount; empty text outside the table.
    QString cell(int column, int row) const;

    void clear();
    void setColumns(std::vector<QString> names);
    void appendRow(std::vector<QString> cells);
    // A new row of empty cells to fill in place: columnCount() of them.
    QString *appendEmptyRow();

private:
    int m_rows = 0;
    int m_columns = 0;
    std::vector<QString> m_cells; // row-major, (rows + 1) * columns
};

// The four operations over the sqlite3 C API.
namespace sqliteEngine {

struct Connection; // opaque

// ReadOnly never creates the file and makes the engine refuse every write on the connection.
enum class OpenMode { ReadWrite, ReadOnly };

// Opens, and creates when missing, the database file (an existing file only when read-only).
// Nothing and the engine's text on failure.
Connection *open(const QString &path, QString &errorText, OpenMode mode = OpenMode::ReadWrite);

// Runs one statement; 0 on success, the engine's code otherwise, with its text.
int execute(Connection *connection, const QString &statement, ResultTable &result, QString &errorText);

// What executeFirst left out.
struct FirstStatementRun
{
    QString remainder;     // the text after the first statement when more than blanks and comments follow
    bool moreRows = false; // the statement had rows beyond the limit
};

// Runs only the first statement of the text and keeps at most maxRows data rows; the rest of the
// text is handed back, never run. 0 on success, the engine's code otherwise, with its text.
int executeFirst(Connection *connection, const QString &statement, int maxRows, ResultTable &result,
                 QString &errorText, FirstStatementRun &run);

// One row's cells as the engine holds them: the bytes of each value's text form (a NULL is
// empty), valid only during the call.
using RowCells = std::span<const std::string_view>;
// Runs one statement and hands every row to visit, which returns false to stop early; nothing is
// kept. 0 on success (a stop included), the engine's code otherwise, with its text.
int forEachRow(Connection *connection, const QString &statement, const std::function<bool(RowCells)> &visit,
               QString &errorText);

// Runs one statement once for every set of values, each bound in order to its "?" as text.
// Stops at the first failure: 0 on success, the engine's code otherwise, with its text.
int executeForEach(Connection *connection, const QString &statement,
                   const std::vector<std::vector<std::string>> &valueSets, QString &errorText);

// Never reports an error.
void close(Connection *connection);

// The engine's version text, for the About box.
QString version();

} // namespace sqliteEngine
} // namespace zelvarion
