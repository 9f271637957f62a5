#include "platform/PostgresEngine.h"

#include <QByteArray>

#include <libpq-fe.h>

namespace zelvarion::postgresEngine {

namespace {

constexpr int kFailed = 1;
constexpr int kReadOnly = 8; // the code the file engine gives a refused write
constexpr Oid kBoolType = 16;
constexpr Oid kByteaType = 17;

QString messageOf(const PGresult *result, PGconn *connection)
{
    const char *text = result ? PQresultErrorMessage(result) : nullptr;
    if (!text || !*text)
        text = PQerrorMessage(connection);
    return QString::fromUtf8(text).trimmed();
}

// The server gave up this statement for another session's sake: a deadlock, or a serializable
// snapshot that could not stand. Run on its own, it changed nothing and may be run again.
bool lostToAnotherSession(const PGresult *result)
{
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return state && (qstrcmp(state, "40001") == 0 || qstrcmp(state, "40P01") == 0);
}
constexpr int kRunsWhenLost = 5;

int codeOf(const PGresult *result)
{
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return state && qstrcmp(state, "25006") == 0 ? kReadOnly : kFailed;
}

bool succeeded(const PGresult *result)
{
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_SINGLE_TUPLE
           || status == PGRES_EMPTY_QUERY;
}

// A cell as the file engine gives it: the server's booleans as 1 and 0.
QByteArrayView cellOf(const PGresult *result, int row, int column)
{
    if (column < 0 || column >= PQnfields(result) || PQgetisnull(result, row, column))
        return {};
    const char *value = PQgetvalue(result, row, column);
    if (PQftype(result, column) == kBoolType)
        return QByteArrayView(*value == 't' ? "1" : "0");
    return QByteArrayView(value, PQgetlength(result, row, column));
}

class ResultRow final : public RowView
{
public:
    ResultRow(const PGresult *result, int row) : m_result(result), m_row(row) {}
    int columnCount() const override { return PQnfields(m_result); }
    QByteArrayView columnName(int column) const override
    {
        if (column < 0 || column >= columnCount())
            return {};
        return QByteArrayView(PQfname(m_result, column));
    }
    QByteArrayView utf8(int column) const override { return cellOf(m_result, m_row, column); }

private:
    const PGresult *m_result;
    int m_row;
};

struct ResultDeleter
{
    void operator()(PGresult *result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// Statement parameters as libpq takes them; the bytes live as long as this does.
struct Parameters
{
    std::vector<QByteArray> storage;
    std::vector<const char *> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    std::vector<Oid> types;

    int count() const { return int(values.size()); }
    void addText(QByteArray bytes)
    {
        storage.push_back(std::move(bytes));
        values.push_back(storage.back().constData());
        lengths.push_back(int(storage.back().size()));
        formats.push_back(0);
        types.push_back(0);
    }
    void addNull()
    {
        values.push_back(nullptr);
        lengths.push_back(0);
        formats.push_back(0);
        types.push_back(0);
    }
    void addBytes(QByteArrayView bytes)
    {
        values.push_back(bytes.isNull() ? "" : bytes.data());
        lengths.push_back(int(bytes.size()));
        formats.push_back(1);
        types.push_back(kByteaType);
    }
};

Parameters textParameters(const std::vector<std::string> &values)
{
    Parameters parameters;
    parameters.storage.reserve(values.size());
    for (const std::string &value : values)
        parameters.addText(QByteArray(value.data(), qsizetype(value.size())));
    return parameters;
}

Parameters boundParameters(const std::vector<BoundValue> &values)
{
    Parameters parameters;
    parameters.storage.reserve(values.size());
    for (const BoundValue &value : values) {
        if (const auto *number = std::get_if<qint64>(&value))
            parameters.addText(QByteArray::number(*number));
        else if (const auto *text = std::get_if<QString>(&value))
            parameters.addText(text->toUtf8());
        else if (const auto *blob = std::get_if<Blob>(&value))
            parameters.addBytes(blob->bytes);
        else
            parameters.addNull();
    }
    return parameters;
}

bool isTransactionControl(const QString &statement)
{
    static const QStringList words = {QStringLiteral("begin"), QStringLiteral("commit"), QStringLiteral("end"),
                                      QStringLiteral("rollback"), QStringLiteral("savepoint"),
                                      QStringLiteral("release"), QStringLiteral("start"),
                                      QStringLiteral("vacuum")};
    const QString first = statement.trimmed().section(u' ', 0, 0).section(u';', 0, 0).toLower();
    return words.contains(first);
}

class PostgresConnection final : public EngineConnection
{
public:
    explicit PostgresConnection(PGconn *connection) : m_connection(connection) {}
    ~PostgresConnection() override { PQfinish(m_connection); }

    int execute(const QString &statement, ResultTable &result, QString &errorText) override
    {
        result.clear();
        bool haveColumns = false;
        for (const QString &one : splitStatements(statement)) {
            const int rc = collect(one, nullptr, result, haveColumns, -1, nullptr, errorText);
            if (rc != 0) {
                result.clear();
                return rc;
            }
        }
        errorText.clear();
        return 0;
    }

    int executeFirst(const QString &statement, int maxRows, ResultTable &result, QString &errorText,
                     FirstStatementRun &run) override
    {
        result.clear();
        run = {};
        const QStringList statements = splitStatements(statement);
        if (statements.isEmpty())
            return 0;
        if (statements.size() > 1)
            run.remainder = statements.mid(1).join(QStringLiteral(";\n")) + u';';
        bool haveColumns = false;
        const int rc = collect(statements.first(), nullptr, result, haveColumns, maxRows, &run.moreRows, errorText);
        if (rc != 0)
            result.clear();
        return rc;
    }

    int executeForEach(const QString &statement, const std::vector<std::vector<std::string>> &valueSets,
                       QString &errorText) override
    {
        for (const std::vector<std::string> &values : valueSets) {
            const Parameters parameters = textParameters(values);
            const int rc = guarded(statement, [&] { return run(statement, &parameters); }, errorText, true);
            if (rc != 0)
                return rc;
        }
        errorText.clear();
        return 0;
    }

    int executeBound(const QString &statement, const std::vector<BoundValue> &values, ResultTable &result,
                     QString &errorText) override
    {
        result.clear();
        const Parameters parameters = boundParameters(values);
        bool haveColumns = false;
        const int rc = collect(statement, &parameters, result, haveColumns, -1, nullptr, errorText);
        if (rc != 0)
            result.clear();
        return rc;
    }

    int forEachRow(const QString &statement, const RowHandler &onRow, QString &errorText) override
    {
        for (const QString &one : splitStatements(statement)) {
            bool stopped = false;
            const int rc = stream(one, nullptr, onRow, stopped, errorText);
            if (rc != 0 || stopped)
                return rc;
        }
        errorText.clear();
        return 0;
    }

    int forEachRow(const QString &statement, const std::vector<std::string> &values, const RowHandler &onRow,
                   QString &errorText) override
    {
        const Parameters parameters = textParameters(values);
        bool stopped = false;
        return stream(statement, &parameters, onRow, stopped, errorText);
    }

private:
    Result run(const QString &statement, const Parameters *parameters)
    {
        const QByteArray sql = statement.toUtf8();
        if (!parameters)
            return Result(PQexec(m_connection, sql.constData()));
        return Result(PQexecParams(m_connection, sql.constData(), parameters->count(), parameters->types.data(),
                                   parameters->values.data(), parameters->lengths.data(), parameters->formats.data(),
                                   0));
    }

    void command(const char *sql) { PQclear(PQexec(m_connection, sql)); }

    // A failed statement inside a transaction leaves the transaction as it was, as with the file
    // engine: the server would otherwise refuse everything up to the rollback, and a schema made
    // over an existing catalogue, for one, goes on past the tables that are already there.
    //
    // A statement outside a transaction that lost to another session is run again a few times
    // (retryable: not one whose rows already went out); inside one, the transaction's owner
    // decides, since the statements before it would have to run again too.
    template <typename Work>
    int guarded(const QString &statement, Work work, QString &errorText, bool retryable = false)
    {
        const bool guard = PQtransactionStatus(m_connection) == PQTRANS_INTRANS && !isTransactionControl(statement);
        const bool alone = PQtransactionStatus(m_connection) == PQTRANS_IDLE && !isTransactionControl(statement);
        if (guard)
            command("savepoint zelvarion_statement");
        Result result = work();
        for (int runs = 1; retryable && alone && runs < kRunsWhenLost && lostToAnotherSession(result.get()); ++runs)
            result = work();
        const bool ok = result && succeeded(result.get());
        if (guard) {
            if (PQtransactionStatus(m_connection) == PQTRANS_INERROR)
                command("rollback to savepoint zelvarion_statement");
            if (PQtransactionStatus(m_connection) == PQTRANS_INTRANS)
                command("release savepoint zelvarion_statement");
        }
        if (ok)
            return 0;
        errorText = messageOf(result.get(), m_connection);
        return codeOf(result.get());
    }

    // One statement's rows into result; the first statement with columns names them.
    int collect(const QString &statement, const Parameters *parameters, ResultTable &result, bool &haveColumns,
                int maxRows, bool *moreRows, QString &errorText)
    {
        Result rows;
        const int rc = guarded(statement, [&] {
            Result one = run(statement, parameters);
            if (succeeded(one.get()))
                rows = std::move(one);
            else
                return one;
            return Result(PQmakeEmptyPGresult(m_connection, PGRES_COMMAND_OK));
        }, errorText, true);
        if (rc != 0)
            return rc;
        if (!rows || PQresultStatus(rows.get()) != PGRES_TUPLES_OK)
            return 0;
        const int columns = PQnfields(rows.get());
        if (!haveColumns) {
            std::vector<QString> names;
            for (int c = 0; c < columns; ++c)
                names.push_back(QString::fromUtf8(PQfname(rows.get(), c)));
            result.setColumns(std::move(names));
            haveColumns = true;
        } else if (columns != result.columnCount()) {
            errorText = QStringLiteral("the statements return different numbers of columns");
            return kFailed;
        }
        const int count = PQntuples(rows.get());
        for (int r = 0; r < count; ++r) {
            if (maxRows >= 0 && result.rowCount() >= maxRows) {
                if (moreRows)
                    *moreRows = true;
                break;
            }
            QString *cells = result.appendEmptyRow();
            for (int c = 0; c < columns; ++c)
                cells[c] = QString::fromUtf8(cellOf(rows.get(), r, c));
        }
        return 0;
    }

    // The rows one by one as the server sends them, so a large result takes no more memory than
    // a row. After a stop the rest is read and dropped: a cancel request could reach the server
    // only after this statement ended and stop the next one instead.
    int stream(const QString &statement, const Parameters *parameters, const RowHandler &onRow, bool &stopped,
               QString &errorText)
    {
        return guarded(statement, [&]() -> Result {
            const QByteArray sql = statement.toUtf8();
            const int sent = parameters
                                 ? PQsendQueryParams(m_connection, sql.constData(), parameters->count(),
                                                     parameters->types.data(), parameters->values.data(),
                                                     parameters->lengths.data(), parameters->formats.data(), 0)
                                 : PQsendQuery(m_connection, sql.constData());
            if (!sent)
                return Result(PQmakeEmptyPGresult(m_connection, PGRES_FATAL_ERROR));
            PQsetSingleRowMode(m_connection);
            Result outcome(PQmakeEmptyPGresult(m_connection, PGRES_COMMAND_OK));
            while (PGresult *next = PQgetResult(m_connection)) {
                Result part(next);
                if (PQresultStatus(next) == PGRES_SINGLE_TUPLE && !stopped) {
                    if (onRow(ResultRow(next, 0)) == RowAnswer::Stop)
                        stopped = true;
                } else if (!succeeded(next) && !stopped) {
                    outcome = std::move(part);
                }
            }
            return outcome;
        }, errorText);
    }

    PGconn *m_connection;
};

void ignoreNotice(void *, const char *) {}

// The catalogue's searches fold letters beyond ASCII; a database whose lower() leaves them as
// they are would silently find fewer rows.
QString unsuitableDatabase(PGconn *connection)
{
    const Result result(PQexec(connection, "select pg_encoding_to_char(encoding), "
                                           "lower(U&'\\00C9\\03A3' collate \"default\") = U&'\\00E9\\03C3' "
                                           "from pg_database where datname = current_database()"));
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK || PQntuples(result.get()) != 1)
        return messageOf(result.get(), connection);
    if (qstrcmp(PQgetvalue(result.get(), 0, 0), "UTF8") != 0)
        return QStringLiteral("the database keeps its text as %1, not UTF8").arg(
            QString::fromUtf8(PQgetvalue(result.get(), 0, 0)));
    if (*PQgetvalue(result.get(), 0, 1) != 't')
        return QStringLiteral("the database's character type lowers ASCII letters only: create it with a UTF-8 "
                              "locale (for instance LC_CTYPE C.UTF-8)");
    return {};
}

} // namespace

bool isServerAddress(const QString &text)
{
    return text.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive)
           || text.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

std::unique_ptr<EngineConnection> openConnection(const QString &address, QString &errorText, OpenMode mode)
{
    const QByteArray dbname = address.toUtf8();
    const char *keywords[] = {"dbname", "client_encoding", "application_name", "connect_timeout", nullptr};
    const char *values[] = {dbname.constData(), "UTF8", "zelvarion", "10", nullptr};
    PGconn *connection = PQconnectdbParams(keywords, values, 1);
    if (!connection) {
        errorText = QStringLiteral("out of memory");
        return nullptr;
    }
    if (PQstatus(connection) != CONNECTION_OK) {
        errorText = QString::fromUtf8(PQerrorMessage(connection)).trimmed();
        PQfinish(connection);
        return nullptr;
    }
    PQsetNoticeProcessor(connection, ignoreNotice, nullptr);
    errorText = unsuitableDatabase(connection);
    // The word search ORs a trigram index read per column; priced as random disk reads, those of
    // the many columns that are nearly always empty add up to more than reading the whole table,
    // and a one-row search would read a million. Priced as a cached or solid-state read, the
    // planner takes the indexes when they pay. The session's choice only; a refusal is harmless.
    if (errorText.isEmpty())
        PQclear(PQexec(connection, "set random_page_cost = 1.1"));
    if (errorText.isEmpty() && mode == OpenMode::ReadOnly) {
        const Result result(PQexec(connection, "set default_transaction_read_only = on"));
        if (!succeeded(result.get()))
            errorText = messageOf(result.get(), connection);
    }
    if (!errorText.isEmpty()) {
        PQfinish(connection);
        return nullptr;
    }
    return std::make_unique<PostgresConnection>(connection);
}

QStringList splitStatements(const QString &text)
{
    QStringList statements;
    QString current;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < size ? text[i + 1] : QChar();
        if (c == u'\'' || c == u'"') {
            // A quote ends at the next one not doubled.
            qsizetype end = i + 1;
            while (end < size && !(text[end] == c && (end + 1 >= size || text[end + 1] != c)))
                end += text[end] == c ? 2 : 1;
            current += text.mid(i, end + 1 - i);
            i = end;
        } else if (c == u'-' && next == u'-') {
            const qsizetype end = text.indexOf(u'\n', i);
            i = end < 0 ? size : end;
            current += u'\n';
        } else if (c == u'/' && next == u'*') {
            const qsizetype end = text.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? size : end + 1;
            current += u' ';
        } else if (c == u';') {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

QString version() { return QStringLiteral("PostgreSQL client %1").arg(PQlibVersion()); }

} // namespace zelvarion::postgresEngine
