#include "core/catalogue/EngineStatements.h"

#include "core/catalogue/CatalogueDb.h"

namespace zelvarion {

bool inWriteTransaction(CatalogueDb &db, const std::function<bool()> &work)
{
    if (db.execute(QStringLiteral("begin immediate transaction;")) != 0)
        return false;
    if (work() && db.execute(QStringLiteral("commit transaction;")) == 0)
        return true;
    db.execute(QStringLiteral("rollback transaction;"));
    return false;
}

bool textComparesAsUtf8(CatalogueDb &db)
{
    return db.execute(QStringLiteral("PRAGMA encoding;")) == 0 && db.cell(0, 1) == u"UTF-8";
}

bool compactCatalogue(CatalogueDb &db, Feedback &feedback)
{
    return db.executeOrReport(feedback, QStringLiteral("vacuum;"), Message::CannotRunVacuum, {db.path});
}

bool spillSortsToTemporaryFile(CatalogueDb &db) { return db.execute(QStringLiteral("PRAGMA temp_store = FILE;")) == 0; }

RollbackJournalKept::RollbackJournalKept(CatalogueDb &db) : m_db(db)
{
    m_kept = m_db.execute(QStringLiteral("PRAGMA journal_mode;")) == 0 && m_db.cell(0, 1) == u"delete"
             && m_db.execute(QStringLiteral("PRAGMA journal_mode=PERSIST;")) == 0;
}

RollbackJournalKept::~RollbackJournalKept()
{
    if (m_kept)
        m_db.execute(QStringLiteral("PRAGMA journal_mode=DELETE;"));
}

NoWaitForWriters::NoWaitForWriters(CatalogueDb &db) : m_db(db)
{
    m_timeout = m_db.execute(QStringLiteral("PRAGMA busy_timeout;")) == 0 ? m_db.cell(0, 1) : QStringLiteral("0");
    m_db.execute(QStringLiteral("PRAGMA busy_timeout = 0;"));
}

NoWaitForWriters::~NoWaitForWriters() { m_db.execute(QStringLiteral("PRAGMA busy_timeout = %1;").arg(m_timeout.toInt())); }

} // namespace zelvarion
