#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <string>
#include <variant>
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

// The four operations over the sqlite3 C API, and a row stream for results too large to hold.
// Connections read pages rather than mapping the file and share a soft heap limit of 48 MB, so a
// search or a full read of a large catalogue takes the memory of its result, not of the catalogue.
namespace sqliteEngine {

struct Connection; // opaque

// One row handed out by forEachRow: its cells as the engine's UTF-8 text, straight from the
// engine's buffers. Valid only during the call that hands it out.
class RowView
{
public:
    explicit RowView(void *statement) : m_statement(statement) {}
    int columnCount() const;
    QByteArrayView columnName(int column) const;
    // The cell's bytes: text as stored (also bytes that are no UTF-8), a blob's bytes, a number's
    // text form; a null view for NULL or a column outside the row.
    QByteArrayView utf8(int column) const;
    bool isNull(int column) const { return utf8(column).isNull(); }
    // The cell as ResultTable holds it.
    QString text(int column) const { return QString::fromUtf8(utf8(column)); }

private:
    void *m_statement;
};

enum class RowAnswer { Next, Stop };
using RowHandler = std::function<RowAnswer(const RowView &row)>;

// ReadOnly never creates the file and makes the engine refuse every write on the connection.
enum class OpenMode { ReadWrite, ReadOnly };

// Opens, and creates when missing, the database file (an existing file only when read-only).
// Nothing and the engine's text on failure.
Connection *open(const QString &path, QString &errorText, OpenMode mode = OpenMode::ReadWrite);

// Runs one statement; 0 on success, the engine's code otherwise, with its text.
int execute(Connection *connection, const QString &statement, ResultTable &result, QString &errorText);

// Runs every statement of the text as execute does, handing each row to onRow as the engine
// steps to it; nothing is kept, so memory stays flat however many rows come. An answer Stop ends
// the run there (0; the rest of the text is not run). 0 on success, the engine's code otherwise,
// with its text; rows handed out before a failure were handed out all the same.
int forEachRow(Connection *connection, const QString &statement, const RowHandler &onRow, QString &errorText);
// The same for one statement with values bound in order to its "?" (or "?N") as text.
int forEachRow(Connection *connection, const QString &statement, const std::vector<std::string> &values,
               const RowHandler &onRow, QString &errorText);

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

// Runs one statement once for every set of values, each bound in order to its "?" as text.
// Stops at the first failure: 0 on success, the engine's code otherwise, with its text.
int executeForEach(Connection *connection, const QString &statement,
                   const std::vector<std::vector<std::string>> &valueSets, QString &errorText);

// A value bound to a "?" of a statement: NULL, an integer, text, or bytes stored as a blob as
// they are (no text form on the way, which for a span of a photograph is most of the work).
struct Blob
{
    QByteArrayView bytes;
};
using BoundValue = std::variant<std::monostate, qint64, QString, Blob>;
// Runs one statement with values bound in order to its "?"; rows go into result as execute's do.
// 0 on success, the engine's code otherwise, with its text.
int executeBound(Connection *connection, const QString &statement, const std::vector<BoundValue> &values,
                 ResultTable &result, QString &errorText);
// Never reports an error.
void close(Connection *connection);

// The engine's version text, for the About box.
QString version();

} // namespace sqliteEngine
} // namespace zelvarion
