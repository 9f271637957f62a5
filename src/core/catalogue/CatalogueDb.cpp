#include "core/catalogue/CatalogueDb.h"

#include "core/catalogue/ServerDialect.h"
#include "core/catalogue/ServerWordIndexes.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"
#include "platform/PostgresEngine.h"

#include <QFileInfo>
#include <QSet>

namespace zelvarion {

CatalogueDb::~CatalogueDb() { close(); }

bool CatalogueDb::isServerCatalogue(const QString &path) { return postgresEngine::isServerAddress(path); }

bool CatalogueDb::open() { return openWith(OpenMode::ReadWrite); }

bool CatalogueDb::openReadOnly() { return openWith(OpenMode::ReadOnly); }

bool CatalogueDb::openWith(OpenMode mode)
{
    close(); // one connection at a time
    QString error;
    m_server = isServer();
    m_connection = m_server ? postgresEngine::openConnection(path, error, mode)
                            : sqliteEngine::openConnection(path, error, mode);
    if (!m_connection) {
        m_errorText = error;
        return false;
    }
    // A server catalogue made before its word indexes existed gets them once; a refusal changes
    // no result, so the open goes on either way.
    if (m_server && mode == OpenMode::ReadWrite)
        serverWordIndexes::ensure(*this);
    return true;
}

bool CatalogueDb::inDialect(const QString &statement, QString &translated)
{
    m_statement = statement;
    if (!m_server) {
        translated = statement;
        return true;
    }
    translated = serverDialect::translate(statement);
    return !translated.isEmpty();
}

namespace {

int notOpen(QString &errorText)
{
    errorText = QStringLiteral("the database is not open");
    return 21; // the file engine's "misuse"
}

} // namespace

int CatalogueDb::execute(const QString &statement)
{
    QString sql;
    if (!m_connection)
        return notOpen(m_errorText);
    if (!inDialect(statement, sql)) {
        m_result.clear();
        return 0;
    }
    QString error;
    const int rc = m_connection->execute(sql, m_result, error);
    if (rc != 0)
        m_errorText = error;
    return rc;
}

int CatalogueDb::executeForEach(const QString &statement, const std::vector<std::vector<std::string>> &valueSets)
{
    QString sql;
    if (!m_connection)
        return notOpen(m_errorText);
    if (!inDialect(statement, sql))
        return 0;
    return m_connection->executeForEach(sql, valueSets, m_errorText);
}

int CatalogueDb::executeBound(const QString &statement, const std::vector<sqliteEngine::BoundValue> &values)
{
    QString sql;
    if (!m_connection)
        return notOpen(m_errorText);
    if (!inDialect(statement, sql)) {
        m_result.clear();
        return 0;
    }
    return m_connection->executeBound(sql, values, m_result, m_errorText);
}

int CatalogueDb::executeFirst(const QString &statement, int maxRows, sqliteEngine::FirstStatementRun &run)
{
    QString sql;
    if (!m_connection)
        return notOpen(m_errorText);
    if (!inDialect(statement, sql)) {
        m_result.clear();
        run = {};
        return 0;
    }
    QString error;
    const int rc = m_connection->executeFirst(sql, maxRows, m_result, error, run);
    if (rc != 0)
        m_errorText = error;
    return rc;
}

int CatalogueDb::forEachRow(const QString &statement, const sqliteEngine::RowHandler &onRow)
{
    QString sql;
    if (!m_connection)
        return notOpen(m_errorText);
    if (!inDialect(statement, sql))
        return 0;
    QString error;
    const int rc = m_connection->forEachRow(sql, onRow, error);
    if (rc != 0)
        m_errorText = error;
    return rc;
}

int CatalogueDb::forEachRow(const QString &statement, const std::vector<std::string> &values,
                            const sqliteEngine::RowHandler &onRow)
{
    QString sql;
    if (!m_connection)
        return notOpen(m_errorText);
    if (!inDialect(statement, sql))
        return 0;
    QString error;
    const int rc = m_connection->forEachRow(sql, values, onRow, error);
    if (rc != 0)
        m_errorText = error;
    return rc;
}

bool CatalogueDb::readThroughSmallCache(int kilobytes)
{
    // The start-up tuning stores 100 000 pages in the file, which a read of every page would
    // fill, each new page a fresh allocation; with only 2 MB, rows looked up by name read the
    // index's pages again and again.
    return execute(QStringLiteral("PRAGMA cache_size = -%1;").arg(kilobytes)) == 0;
}

void CatalogueDb::close() { m_connection.reset(); }

Failure CatalogueDb::failure(Message what, QStringList arguments) const
{
    return {what, std::move(arguments), m_errorText};
}

void CatalogueDb::report(Feedback &feedback, Message what, QStringList arguments) const
{
    zelvarion::report(feedback, failure(what, std::move(arguments)));
}

Failure CatalogueDb::openFailure() const
{
    return failure(Message::CannotOpenCatalogue, {path});
}

void CatalogueDb::reportOpenFailure(Feedback &feedback) const
{
    zelvarion::report(feedback, openFailure());
}

bool CatalogueDb::openOrReport(Feedback &feedback)
{
    if (open())
        return true;
    reportOpenFailure(feedback);
    return false;
}

bool CatalogueDb::openReadOnlyOrReport(Feedback &feedback)
{
    if (openReadOnly())
        return true;
    reportOpenFailure(feedback);
    return false;
}

bool CatalogueDb::executeOrReport(Feedback &feedback, const QString &statement, Message what, QStringList arguments)
{
    if (execute(statement) == 0)
        return true;
    report(feedback, what, std::move(arguments));
    return false;
}

namespace {

int readTableNames(const QString &path, sqliteEngine::OpenMode mode, ResultTable &tables, QString &error)
{
    sqliteEngine::Connection *connection = sqliteEngine::open(path, error, mode);
    if (!connection)
        return -1;
    const int rc = sqliteEngine::execute(connection, QStringLiteral("select name from sqlite_master where type='table';"),
                                         tables, error);
    sqliteEngine::close(connection);
    return rc;
}

// A server's database is the catalogue once it holds the catalogue's tables; an empty one is
// made a catalogue by the first open, as a missing file is.
CatalogueFileCheck checkServerCatalogue(const QString &address)
{
    QString error;
    const std::unique_ptr<EngineConnection> connection =
        postgresEngine::openConnection(address, error, OpenMode::ReadOnly);
    ResultTable tables;
    if (!connection
        || connection->execute(QStringLiteral("select table_name from information_schema.tables "
                                              "where table_schema = current_schema();"),
                               tables, error) != 0)
        return {CatalogueFileKind::Unreadable, error};
    QSet<QString> names;
    for (int row = 1; row <= tables.rowCount(); ++row)
        names.insert(tables.cell(0, row).toLower());
    // The write lock's and the undo journal's tables may come first: a lock is taken before
    // the scan that makes the catalogue.
    for (const char *beside : {"writelockholder", "undoruns", "undofiles"})
        names.remove(QLatin1String(beside));
    if (names.isEmpty())
        return {CatalogueFileKind::Missing, {}};
    const bool catalogue = names.contains(QStringLiteral("images")) && names.contains(QStringLiteral("folders"));
    return {catalogue ? CatalogueFileKind::Catalogue : CatalogueFileKind::NotACatalogue, {}};
}

} // namespace

CatalogueFileCheck checkCatalogueFile(const QString &path)
{
    if (CatalogueDb::isServerCatalogue(path))
        return checkServerCatalogue(path);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {CatalogueFileKind::Missing, {}};
    QString error;
    ResultTable tables;
    int rc = readTableNames(path, sqliteEngine::OpenMode::ReadOnly, tables, error);
    // A program killed while writing leaves a journal that the next reader must play back, which
    // a read-only connection cannot do: it is left to a connection that may write.
    constexpr int kReadOnly = 8; // SQLITE_READONLY
    if ((rc & 0xff) == kReadOnly && QFileInfo(path).isWritable())
        rc = readTableNames(path, sqliteEngine::OpenMode::ReadWrite, tables, error);
    if (rc == -1)
        return {CatalogueFileKind::Unreadable, error};
    constexpr int kNotADatabase = 26; // SQLITE_NOTADB
    if (rc != 0)
        return {(rc & 0xff) == kNotADatabase ? CatalogueFileKind::NotADatabase : CatalogueFileKind::Unreadable, error};
    QSet<QString> names;
    for (int row = 1; row <= tables.rowCount(); ++row)
        names.insert(tables.cell(0, row).toLower());
    const bool catalogue = names.contains(QStringLiteral("images")) && names.contains(QStringLiteral("folders"));
    return {catalogue ? CatalogueFileKind::Catalogue : CatalogueFileKind::NotACatalogue, {}};
}

bool catalogueExists(const QString &path)
{
    if (CatalogueDb::isServerCatalogue(path))
        return checkCatalogueFile(path).kind != CatalogueFileKind::Missing;
    return QFileInfo(path).isFile();
}

QString catalogueFileProblem(const CatalogueFileCheck &check, const QString &path, const LanguagePack &pack)
{
    switch (check.kind) {
    case CatalogueFileKind::Catalogue:
        return {};
    case CatalogueFileKind::Missing:
        return pack.message(Message::CatalogueNotFound) + u'\n' + path;
    case CatalogueFileKind::NotADatabase:
    case CatalogueFileKind::NotACatalogue:
        return pack.message(Message::NotACatalogue) + u'\n' + path;
    case CatalogueFileKind::Unreadable:
        break;
    }
    return describe({Message::CannotOpenCatalogue, {path}, check.engineText}, pack);
}

QString CatalogueDb::engineVersion() { return sqliteEngine::version(); }

QString numericOrderTerm(const QString &column, bool descending)
{
    // Values are stored as text, so a plain order would put "1200" before "900". Values made
    // only of digits (with an optional leading minus) sort first by their number; the others
    // ("?", empty, NULL) come after them in text order.
    const QString isNumber =
        QStringLiteral("ltrim(%1,'-') <> '' and ltrim(%1,'-') not glob '*[^0-9]*'").arg(column);
    const QString direction = descending ? QStringLiteral(" desc") : QString();
    return QStringLiteral("case when %1 then 0 else 1 end, "
                          "case when %1 then cast(%2 as integer) end%3, %2%3")
        .arg(isNumber, column, direction);
}

} // namespace zelvarion
