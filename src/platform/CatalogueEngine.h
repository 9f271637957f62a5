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

// One row handed out by forEachRow: its cells as UTF-8 text, straight from the engine's buffers.
// Valid only during the call that hands it out.
class RowView
{
public:
    virtual int columnCount() const = 0;
    virtual QByteArrayView columnName(int column) const = 0;
    // The cell's bytes: text as stored (also bytes that are no UTF-8), a blob's bytes, a number's
    // text form; a null view for NULL or a column outside the row.
    virtual QByteArrayView utf8(int column) const = 0;
    bool isNull(int column) const { return utf8(column).isNull(); }
    // The cell as ResultTable holds it.
    QString text(int column) const { return QString::fromUtf8(utf8(column)); }

protected:
    ~RowView() = default;
};

enum class RowAnswer { Next, Stop };
using RowHandler = std::function<RowAnswer(const RowView &row)>;

// ReadOnly never creates the database and makes the engine refuse every write on the connection.
enum class OpenMode { ReadWrite, ReadOnly };

// What executeFirst left out.
struct FirstStatementRun
{
    QString remainder;     // the text after the first statement when more than blanks and comments follow
    bool moreRows = false; // the statement had rows beyond the limit
};

// A value bound to a "?" of a statement: NULL, an integer, text, or bytes stored as a blob as
// they are (no text form on the way, which for a span of a photograph is most of the work).
struct Blob
{
    QByteArrayView bytes;
};
using BoundValue = std::variant<std::monostate, qint64, QString, Blob>;

// One open connection to a catalogue's engine: the operations CatalogueDb needs, each returning
// 0 on success, else the engine's code with its text in errorText. Statements arrive in the
// engine's own dialect; a connection that is destroyed is closed.
class EngineConnection
{
public:
    virtual ~EngineConnection() = default;

    // Every statement of the text; the rows of those with columns go into result.
    virtual int execute(const QString &statement, ResultTable &result, QString &errorText) = 0;
    // Only the first statement, at most maxRows data rows; the rest of the text handed back.
    virtual int executeFirst(const QString &statement, int maxRows, ResultTable &result, QString &errorText,
                             FirstStatementRun &run) = 0;
    // One statement once per set of values bound to its placeholders as text.
    virtual int executeForEach(const QString &statement, const std::vector<std::vector<std::string>> &valueSets,
                               QString &errorText) = 0;
    // One statement with values bound in order; rows go into result.
    virtual int executeBound(const QString &statement, const std::vector<BoundValue> &values, ResultTable &result,
                             QString &errorText) = 0;
    // Every statement of the text, each row handed to onRow as it comes; Stop ends the run (0).
    virtual int forEachRow(const QString &statement, const RowHandler &onRow, QString &errorText) = 0;
    // One statement with values bound in order as text.
    virtual int forEachRow(const QString &statement, const std::vector<std::string> &values,
                           const RowHandler &onRow, QString &errorText) = 0;
};

} // namespace zelvarion
