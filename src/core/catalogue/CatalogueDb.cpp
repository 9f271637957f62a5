#include "core/catalogue/CatalogueDb.h"

#include "core/shell/Feedback.h"

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

int CatalogueDb::executeFirst(const QString &statement, int maxRows, sqliteEngine::FirstStatementRun &run)
{
    m_statement = statement;
    QString error;
    const int rc = sqliteEngine::executeFirst(m_connection, statement, maxRows, m_result, error, run);
    if (rc != 0)
        m_errorText = error;
    return rc;
}

void CatalogueDb::close()
{
    sqliteEngine::close(m_connection);
    m_connection = nullptr;
}

void CatalogueDb::report(Feedback &feedback, const QString &what) const
{
    zelvarion::report(feedback, what, m_errorText);
}

void CatalogueDb::reportOpenFailure(Feedback &feedback) const
{
    report(feedback, QStringLiteral("Cannot open '") + path + u'\'');
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

bool CatalogueDb::executeOrReport(Feedback &feedback, const QString &statement, const QString &what)
{
    if (execute(statement) == 0)
        return true;
    report(feedback, what);
    return false;
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
