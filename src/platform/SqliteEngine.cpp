#include "platform/SqliteEngine.h"

#include "platform/UnicodeFolding.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

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

QString *ResultTable::appendEmptyRow()
{
    const std::size_t start = m_cells.size();
    if (m_cells.capacity() < start + std::size_t(m_columns))
        m_cells.reserve(std::max(2 * m_cells.capacity(), start + std::size_t(m_columns)));
    m_cells.resize(start + std::size_t(m_columns));
    ++m_rows;
    return m_cells.data() + start;
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

// The cells of the current row straight into a new row of the table.
void appendRowCells(sqlite3_stmt *statement, ResultTable &result)
{
    QString *cells = result.appendEmptyRow();
    for (int i = 0; i < result.columnCount(); ++i) {
        // column_text before column_bytes: the byte count is that of the text form.
        const unsigned char *text = sqlite3_column_text(statement, i);
        cells[i] = textOf(text, sqlite3_column_bytes(statement, i));
    }
}

// Steps one prepared statement to its end, adding its rows to result. The first statement of
// the text that has columns gives the column names; later ones must have as many columns, as
// with the engine's own table interface.
int collectRows(sqlite3 *db, sqlite3_stmt *statement, ResultTable &result, bool &haveColumns,
                QString &errorText, int maxRows = -1, bool *moreRows = nullptr)
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
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (maxRows >= 0 && result.rowCount() >= maxRows) {
            if (moreRows)
                *moreRows = true;
            return SQLITE_OK; // the rows past the limit are never fetched
        }
        appendRowCells(statement, result);
    }
    if (rc != SQLITE_DONE) {
        errorText = QString::fromUtf8(sqlite3_errmsg(db));
        return rc;
    }
    return SQLITE_OK;
}

std::string_view utf8Of(sqlite3_value *value)
{
    // value_text before value_bytes: the byte count is that of the text form.
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return text ? std::string_view(text, std::size_t(sqlite3_value_bytes(value))) : std::string_view();
}

// Compiled like patterns by their text and escape. Each like of a statement keeps one constant
// pattern (a general search repeats the same one in every column), so after the first row every
// call finds its pattern here. The engine's own per-call store is a list walked on every call,
// which costs more than the match with 37 likes per row.
struct CachedLikePattern
{
    std::string source;
    std::optional<char32_t> escape;
    std::optional<LikePattern> pattern;
};

// The compiled pattern, or nothing when it is longer than the engine's limit on like patterns
// (checked when a pattern is first met, which also bounds the cache). The last pattern used is
// tried first: a general search asks for the same one in every column of every row.
const LikePattern *cachedLikePattern(sqlite3_context *context, std::string_view source, std::optional<char32_t> escape)
{
    constexpr std::size_t kSlots = 32;
    thread_local std::array<CachedLikePattern, kSlots> cache;
    thread_local CachedLikePattern *last = nullptr;
    if (last && last->escape == escape && last->source == source)
        return &*last->pattern;
    std::size_t hash = 14695981039346656037ull; // FNV-1a
    for (const char byte : source)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    CachedLikePattern &slot = cache[hash % kSlots];
    if (!slot.pattern || slot.escape != escape || slot.source != source) {
        const int limit = sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1);
        if (source.size() > std::size_t(limit))
            return nullptr;
        slot.source.assign(source);
        slot.escape = escape;
        slot.pattern.emplace(source, escape);
    }
    last = &slot;
    return &*slot.pattern;
}

// like(pattern, text[, escape]): X LIKE Y ESCAPE Z calls like(Y, X, Z). NULL in, NULL out; a
// blob matches nothing, as with the engine's own like.
void likeFunction(sqlite3_context *context, int argumentCount, sqlite3_value **arguments)
{
    const int patternType = sqlite3_value_type(arguments[0]);
    const int textType = sqlite3_value_type(arguments[1]);
    if (patternType == SQLITE_NULL || textType == SQLITE_NULL)
        return;
    std::optional<char32_t> escape;
    if (argumentCount == 3) {
        if (sqlite3_value_type(arguments[2]) == SQLITE_NULL)
            return;
        escape = singleCodePoint(utf8Of(arguments[2]));
        if (!escape) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    if (patternType == SQLITE_BLOB || textType == SQLITE_BLOB) {
        sqlite3_result_int(context, 0);
        return;
    }
    const LikePattern *pattern = cachedLikePattern(context, utf8Of(arguments[0]), escape);
    if (!pattern) {
        sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
        return;
    }
    sqlite3_result_int(context, pattern->matches(utf8Of(arguments[1])) ? 1 : 0);
}

void lowerFunction(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL)
        return;
    const std::string_view text = utf8Of(arguments[0]);
    // Nearly every value is ASCII: lowered straight into the buffer the engine keeps.
    auto *buffer = static_cast<char *>(sqlite3_malloc64(text.size() + 1));
    if (!buffer) {
        sqlite3_result_error_nomem(context);
        return;
    }
    if (lowerAscii(text, buffer)) {
        sqlite3_result_text64(context, buffer, text.size(), sqlite3_free, SQLITE_UTF8);
        return;
    }
    sqlite3_free(buffer);
    thread_local std::string lowered;
    if (lowerUtf8(text, lowered)) {
        sqlite3_result_text64(context, lowered.data(), lowered.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        return;
    }
    const QByteArray lower = utf8Lower(text);
    sqlite3_result_text64(context, lower.constData(), sqlite3_uint64(lower.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// Case-insensitive matching for every letter on every connection the program opens, so the
// statements keep their plain like and lower.
int registerUnicodeFunctions(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    int rc = sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "lower", 1, flags, nullptr, lowerFunction, nullptr, nullptr, nullptr);
    return rc;
}

// A catalogue of a million images is larger than the memory a search should take, and the
// catalogue's own settings ask for a page cache of 100 000 pages. Pages are read, not mapped (a
// mapped page read once stays in the process), and the engine recycles cached pages once all
// connections together hold more than the soft limit, so a scan of the whole table runs in
// the same memory as a search of ten rows.
void limitMemory(sqlite3 *db)
{
    constexpr sqlite3_int64 kSoftHeapLimit = 48 << 20;
    static const bool limited = (sqlite3_soft_heap_limit64(kSoftHeapLimit), true);
    (void)limited;
    sqlite3_exec(db, "PRAGMA mmap_size = 0;", nullptr, nullptr, nullptr);
}

} // namespace

Connection *open(const QString &path, QString &errorText, OpenMode mode)
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
    const int flags = mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK || registerUnicodeFunctions(db) != SQLITE_OK) {
        errorText = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        return nullptr;
    }
    // Another program (the command line, a second tool) may hold the file for a moment.
    sqlite3_busy_timeout(db, 2000);
    limitMemory(db);
    errorText.clear();
    return new Connection{db};
}

namespace {

// Prepares and hands each statement of the text to runOne in turn, until one fails or
// keepGoing() says no more; blanks and comments between them are passed over.
template <typename RunOne, typename KeepGoing>
int eachStatement(Connection *connection, const QString &statement, QString &errorText, RunOne runOne,
                  KeepGoing keepGoing)
{
    if (!connection || !connection->db) {
        errorText = QStringLiteral("the database is not open");
        return SQLITE_MISUSE;
    }
    const QByteArray sql = statement.toUtf8();
    const char *next = sql.constData();
    const char *const end = next + sql.size();
    while (next < end && keepGoing()) {
        sqlite3_stmt *prepared = nullptr;
        const char *tail = nullptr;
        int rc = sqlite3_prepare_v2(connection->db, next, int(end - next), &prepared, &tail);
        if (rc == SQLITE_OK && prepared)
            rc = runOne(prepared);
        else if (rc != SQLITE_OK)
            errorText = QString::fromUtf8(sqlite3_errmsg(connection->db));
        sqlite3_finalize(prepared);
        if (rc != SQLITE_OK)
            return rc;
        if (!tail || tail <= next)
            break; // only blanks or comments were left
        next = tail;
    }
    errorText.clear();
    return SQLITE_OK;
}

} // namespace

int execute(Connection *connection, const QString &statement, ResultTable &result, QString &errorText)
{
    result.clear();
    bool haveColumns = false;
    const int rc = eachStatement(
        connection, statement, errorText,
        [&](sqlite3_stmt *prepared) { return collectRows(connection->db, prepared, result, haveColumns, errorText); },
        [] { return true; });
    if (rc != SQLITE_OK)
        result.clear();
    return rc;
}

int RowView::columnCount() const { return sqlite3_column_count(static_cast<sqlite3_stmt *>(m_statement)); }

QByteArrayView RowView::columnName(int column) const
{
    if (column < 0 || column >= columnCount())
        return {};
    return QByteArrayView(sqlite3_column_name(static_cast<sqlite3_stmt *>(m_statement), column));
}

QByteArrayView RowView::utf8(int column) const
{
    if (column < 0 || column >= columnCount())
        return {};
    auto *statement = static_cast<sqlite3_stmt *>(m_statement);
    // column_text before column_bytes: the byte count is that of the text form.
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(statement, column)) : QByteArrayView();
}

namespace {

// Steps one prepared statement, handing out its rows; stopped tells whether onRow ended the run.
int streamRows(sqlite3 *db, sqlite3_stmt *statement, const RowHandler &onRow, bool &stopped, QString &errorText)
{
    const RowView row(statement);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (onRow(row) == RowAnswer::Stop) {
            stopped = true;
            return SQLITE_OK;
        }
    }
    if (rc != SQLITE_DONE) {
        errorText = QString::fromUtf8(sqlite3_errmsg(db));
        return rc;
    }
    return SQLITE_OK;
}

} // namespace

int forEachRow(Connection *connection, const QString &statement, const RowHandler &onRow, QString &errorText)
{
    bool stopped = false;
    return eachStatement(
        connection, statement, errorText,
        [&](sqlite3_stmt *prepared) { return streamRows(connection->db, prepared, onRow, stopped, errorText); },
        [&] { return !stopped; });
}

namespace {

// True when text holds a statement: anything but blanks and comments. Text the engine cannot
// even parse counts as one.
bool holdsStatement(sqlite3 *db, const char *text, const char *end)
{
    sqlite3_stmt *prepared = nullptr;
    const int rc = sqlite3_prepare_v2(db, text, int(end - text), &prepared, nullptr);
    const bool statement = rc != SQLITE_OK || prepared != nullptr;
    sqlite3_finalize(prepared);
    return statement;
}

} // namespace

int executeFirst(Connection *connection, const QString &statement, int maxRows, ResultTable &result,
                 QString &errorText, FirstStatementRun &run)
{
    result.clear();
    run = {};
    if (!connection || !connection->db) {
        errorText = QStringLiteral("the database is not open");
        return SQLITE_MISUSE;
    }
    const QByteArray sql = statement.toUtf8();
    const char *const end = sql.constData() + sql.size();
    sqlite3_stmt *prepared = nullptr;
    const char *tail = nullptr;
    int rc = sqlite3_prepare_v2(connection->db, sql.constData(), int(sql.size()), &prepared, &tail);
    if (rc != SQLITE_OK) {
        errorText = QString::fromUtf8(sqlite3_errmsg(connection->db));
        return rc;
    }
    if (tail && tail < end && holdsStatement(connection->db, tail, end))
        run.remainder = QString::fromUtf8(tail, int(end - tail)).trimmed();
    bool haveColumns = false;
    if (prepared)
        rc = collectRows(connection->db, prepared, result, haveColumns, errorText, maxRows, &run.moreRows);
    sqlite3_finalize(prepared);
    if (rc != SQLITE_OK) {
        result.clear();
        return rc;
    }
    errorText.clear();
    return SQLITE_OK;
}

namespace {

// The one statement of the text, prepared; nothing with errorText set when it does not prepare.
sqlite3_stmt *prepareOne(Connection *connection, const QString &statement, int &rc, QString &errorText)
{
    if (!connection || !connection->db) {
        errorText = QStringLiteral("the database is not open");
        rc = SQLITE_MISUSE;
        return nullptr;
    }
    const QByteArray sql = statement.toUtf8();
    sqlite3_stmt *prepared = nullptr;
    rc = sqlite3_prepare_v2(connection->db, sql.constData(), int(sql.size()), &prepared, nullptr);
    if (rc != SQLITE_OK)
        errorText = QString::fromUtf8(sqlite3_errmsg(connection->db));
    return prepared;
}

} // namespace

int forEachRow(Connection *connection, const QString &statement, const std::vector<std::string> &values,
               const RowHandler &onRow, QString &errorText)
{
    int rc = SQLITE_OK;
    sqlite3_stmt *prepared = prepareOne(connection, statement, rc, errorText);
    if (rc != SQLITE_OK || !prepared)
        return rc;
    for (std::size_t i = 0; i < values.size(); ++i)
        sqlite3_bind_text64(prepared, int(i + 1), values[i].data(), values[i].size(), SQLITE_STATIC, SQLITE_UTF8);
    bool stopped = false;
    rc = streamRows(connection->db, prepared, onRow, stopped, errorText);
    sqlite3_finalize(prepared);
    if (rc == SQLITE_OK)
        errorText.clear();
    return rc;
}

int executeForEach(Connection *connection, const QString &statement,
                   const std::vector<std::vector<std::string>> &valueSets, QString &errorText)
{
    int rc = SQLITE_OK;
    sqlite3_stmt *prepared = prepareOne(connection, statement, rc, errorText);
    if (rc != SQLITE_OK || !prepared)
        return rc;
    for (const std::vector<std::string> &values : valueSets) {
        for (std::size_t i = 0; i < values.size(); ++i)
            sqlite3_bind_text64(prepared, int(i + 1), values[i].data(), values[i].size(), SQLITE_STATIC, SQLITE_UTF8);
        rc = sqlite3_step(prepared);
        sqlite3_reset(prepared);
        sqlite3_clear_bindings(prepared);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            break;
        rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK)
        errorText = QString::fromUtf8(sqlite3_errmsg(connection->db));
    sqlite3_finalize(prepared);
    return rc;
}

namespace {

int bindValue(sqlite3_stmt *prepared, int index, const BoundValue &value)
{
    if (const auto *number = std::get_if<qint64>(&value))
        return sqlite3_bind_int64(prepared, index, *number);
    if (const auto *text = std::get_if<QString>(&value)) {
        const QByteArray utf8 = text->toUtf8();
        return sqlite3_bind_text64(prepared, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
    }
    if (const auto *blob = std::get_if<Blob>(&value))
        // A null view still binds an empty blob, not NULL: an empty span is a span.
        return sqlite3_bind_blob64(prepared, index, blob->bytes.isNull() ? "" : blob->bytes.data(),
                                   sqlite3_uint64(blob->bytes.size()), SQLITE_STATIC);
    return sqlite3_bind_null(prepared, index);
}

} // namespace

int executeBound(Connection *connection, const QString &statement, const std::vector<BoundValue> &values,
                 ResultTable &result, QString &errorText)
{
    result.clear();
    int rc = SQLITE_OK;
    sqlite3_stmt *prepared = prepareOne(connection, statement, rc, errorText);
    if (rc != SQLITE_OK || !prepared)
        return rc;
    for (std::size_t i = 0; i < values.size() && rc == SQLITE_OK; ++i)
        rc = bindValue(prepared, int(i + 1), values[i]);
    bool haveColumns = false;
    if (rc == SQLITE_OK)
        rc = collectRows(connection->db, prepared, result, haveColumns, errorText);
    else
        errorText = QString::fromUtf8(sqlite3_errmsg(connection->db));
    sqlite3_finalize(prepared);
    if (rc != SQLITE_OK)
        result.clear();
    return rc;
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
