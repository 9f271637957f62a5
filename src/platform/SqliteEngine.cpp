#include "platform/SqliteEngine.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

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

namespace sqliteEngine {

struct Connection
{
    sqlite3 *db = nullptr;
};

namespace {

QString textOf(const unsigned char *text, int bytes)
{
    return text ? QString::fromUtf8(reinterpret_cast<const char *>(text), bytes) : QString();
}

std::vector<QString> columnNames(sqlite3_stmt *statement)
{
    std::vector<QString> names;
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i)
        names.push_back(QString::fromUtf8(sqlite3_column_name(statement, i)));
    return names;
}

std::vector<QString> rowCells(sqlite3_stmt *statement)
{
    std::vector<QString> cells;
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i) {
        // column_text before column_bytes: the byte count is that of the text form.
        const unsigned char *text = sqlite3_column_text(statement, i);
        cells.push_back(textOf(text, sqlite3_column_bytes(statement, i)));
    }
    return cells;
}

// Steps one prepared statement to its end, adding its rows to result. The first statement of
// the text that has columns gives the column names; later ones must have as many columns, as
// with the engine's own table interface.
int collectRows(sqlite3 *db, sqlite3_stmt *statement, ResultTable &result, bool &haveColumns,
                QString &errorText)
{
    const int columns = sqlite3_column_count(statement);
    if (columns > 0 && !haveColumns) {
        result.setColumns(columnNames(statement));
        haveColumns = true;
    } else if (columns > 0 && columns != result.columnCount()) {
        errorText = QStringLiteral("the statements return different numbers of columns");
        return SQLITE_ERROR;
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        result.appendRow(rowCells(statement));
    if (rc != SQLITE_DONE) {
        errorText = QString::fromUtf8(sqlite3_errmsg(db));
        return rc;
    }
    return SQLITE_OK;
}

} // namespace

Connection *open(const QString &path, QString &errorText)
{
    // The engine would open an empty name as a private temporary database, and a folder can
    // never be one; both are refused here with a text the user can act on.
    if (path.isEmpty()) {
        errorText = QStringLiteral("no database file name given");
        return nullptr;
    }
    if (QFileInfo(path).isDir()) {
        errorText = QStringLiteral("unable to open database file: it is a folder");
        return nullptr;
    }
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        errorText = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        return nullptr;
    }
    // Another program (the command line, a second tool) may hold the file for a moment.
    sqlite3_busy_timeout(db, 2000);
    errorText.clear();
    return new Connection{db};
}

int execute(Connection *connection, const QString &statement, ResultTable &result, QString &errorText)
{
    result.clear();
    if (!connection || !connection->db) {
        errorText = QStringLiteral("the database is not open");
        return SQLITE_MISUSE;
    }
    const QByteArray sql = statement.toUtf8();
    const char *next = sql.constData();
    const char *const end = next + sql.size();
    bool haveColumns = false;
    while (next < end) {
        sqlite3_stmt *prepared = nullptr;
        const char *tail = nullptr;
        int rc = sqlite3_prepare_v2(connection->db, next, int(end - next), &prepared, &tail);
        if (rc == SQLITE_OK && prepared)
            rc = collectRows(connection->db, prepared, result, haveColumns, errorText);
        else if (rc != SQLITE_OK)
            errorText = QString::fromUtf8(sqlite3_errmsg(connection->db));
        sqlite3_finalize(prepared);
        if (rc != SQLITE_OK) {
            result.clear();
            return rc;
        }
        if (!tail || tail <= next)
            break; // only blanks or comments were left
        next = tail;
    }
    errorText.clear();
    return SQLITE_OK;
}

void close(Connection *connection)
{
    if (!connection)
        return;
    sqlite3_close_v2(connection->db);
    delete connection;
}

QString version() { return QStringLiteral("SQLite ") + QString::fromUtf8(sqlite3_libversion()); }

} // namespace sqliteEngine
} // namespace zelvarion
