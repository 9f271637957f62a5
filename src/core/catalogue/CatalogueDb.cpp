#include "core/catalogue/CatalogueDb.h"

#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"

#include <QFileInfo>
#include <QSet>

namespace zelvarion {

CatalogueDb::~CatalogueDb() { close(); }

bool CatalogueDb::open() { return openWith(sqliteEngine::OpenMode::ReadWrite); }

bool CatalogueDb::openReadOnly() { return openWith(sqliteEngine::OpenMode::ReadOnly); }

bool CatalogueDb::openWith(sqliteEngine::OpenMode mode)
{
    close(); // one connection at a time
    QString error;
    m_connection = sqliteEngine::open(path, error, mode);
    if (!m_connection)
        m_errorText = error;
    return m_connection != nullptr;
}

int CatalogueDb::execute(const QString &statement)
{
    m_statement = statement;
    QString error;
    const int rc = sqliteEngine::execute(m_connection, statement, m_result, error);
    if (rc != 0)
        m_errorText = error;
    return rc;
}

int CatalogueDb::executeForEach(const QString &statement, const std::vector<std::vector<std::string>> &valueSets)
{
    m_statement = statement;
    return sqliteEngine::executeForEach(m_connection, statement, valueSets, m_errorText);
}

int CatalogueDb::executeBound(const QString &statement, const std::vector<sqliteEngine::BoundValue> &values)
{
    m_statement = statement;
    return sqliteEngine::executeBound(m_connection, statement, values, m_result, m_errorText);
}

int CatalogueDb::executeFirst(const QString &statement, int maxRows, sqliteEngine::FirstStatementRun &run)
{
    m_statement = statement;
    QString error;
    const int rc = sqliteEngine::executeFirst(m_connection, statement, maxRows, m_result, error, run);
    if (rc != 0)
        m_errorText = error;
    return rc;
}

int CatalogueDb::forEachRow(const QString &statement, const sqliteEngine::RowHandler &onRow)
{
    m_statement = statement;
    QString error;
    const int rc = sqliteEngine::forEachRow(m_connection, statement, onRow, error);
    if (rc != 0)
        m_errorText = error;
    return rc;
}

int CatalogueDb::forEachRow(const QString &statement, const std::vector<std::string> &values,
                            const sqliteEngine::RowHandler &onRow)
{
    m_statement = statement;
    QString error;
    const int rc = sqliteEngine::forEachRow(m_connection, statement, values, onRow, error);
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

void CatalogueDb::close()
{
    sqliteEngine::close(m_connection);
    m_connection = nullptr;
}

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

} // namespace

CatalogueFileCheck checkCatalogueFile(const QString &path)
{
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
