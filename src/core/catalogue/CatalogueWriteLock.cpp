#include "core/catalogue/CatalogueWriteLock.h"

#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"

#include "core/catalogue/CatalogueDb.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

namespace zelvarion {
namespace {

// The server's session lock and the row naming its holder. The lock's key is fixed: each
// catalogue is a database of its own, and the server keeps such locks per database. The row
// counts only while its connection holds the lock, so one a killed holder left says nothing.
QString createHolderTable()
{
    return QStringLiteral("begin; select pg_advisory_xact_lock(1515342934, 1); "
                          "create table if not exists WriteLockHolder (Backend integer, Machine text, Holder text, "
                          "Since text); commit;");
}
QString tryLock() { return QStringLiteral("select pg_try_advisory_lock(1515342934, 2);"); }
QString waitForLock() { return QStringLiteral("select pg_advisory_lock(1515342934, 2);"); }
QString unlock() { return QStringLiteral("select pg_advisory_unlock(1515342934, 2);"); }
QString nameHolder(const QString &machine, const QString &user)
{
    return QStringLiteral("begin; delete from WriteLockHolder; insert into WriteLockHolder (Backend, Machine, Holder, "
                          "Since) values (pg_backend_pid(), %1, %2, %3); commit;")
        .arg(sqlText(machine), sqlText(user), sqlText(QDateTime::currentDateTimeUtc().toString(Qt::ISODate)));
}
QString selectHolder()
{
    return QStringLiteral("select Holder, Machine from WriteLockHolder where Backend in (select pid from pg_locks "
                          "where locktype = 'advisory' and classid = 1515342934 and objid = 2 and granted);");
}

QString userName()
{
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

} // namespace

CatalogueWriteLock::CatalogueWriteLock(const QString &cataloguePath)
    : m_cataloguePath(cataloguePath), m_lock(lockPathOf(cataloguePath))
{
}

CatalogueWriteLock::~CatalogueWriteLock() = default;

void CatalogueWriteLock::release()
{
    m_lock.unlock();
    if (m_server && m_onServer)
        m_server->execute(unlock()); // closing would free it too; this says so at once
    m_server.reset();
    m_onServer = false;
}

FileLock::Outcome CatalogueWriteLock::take(bool wait)
{
    if (CatalogueDb::isServerCatalogue(m_cataloguePath))
        return takeOnServer(wait);
    return wait ? m_lock.lock() : m_lock.tryLock();
}

FileLock::Outcome CatalogueWriteLock::takeOnServer(bool wait)
{
    if (!m_server) {
        m_server = std::make_unique<CatalogueDb>();
        m_server->path = m_cataloguePath;
        if (!m_server->open() || m_server->execute(createHolderTable()) != 0) {
            m_serverError = m_server->errorText();
            m_server.reset();
            return FileLock::Outcome::Failed;
        }
    }
    if (m_server->execute(wait ? waitForLock() : tryLock()) != 0) {
        m_serverError = m_server->errorText();
        return FileLock::Outcome::Failed;
    }
    if (!wait && m_server->cell(0, 1) != u"1")
        return FileLock::Outcome::Busy;
    m_onServer = true;
    // The lock is what protects; a holder left unnamed costs only the name in another's message.
    m_server->execute(nameHolder(QSysInfo::machineHostName(), userName()));
    return FileLock::Outcome::Locked;
}

QString CatalogueWriteLock::holderLine(const LanguagePack &language)
{
    if (!m_server || m_server->execute(selectHolder()) != 0 || m_server->rowCount() < 1)
        return {};
    // The machine first: a host name holds no "#", a user's name might hold a "%".
    return u'\n' + language.message(Message::CatalogueHeldBy).replace(u'%', m_server->cell(1, 1)).replace(u'#', m_server->cell(0, 1));
}

QString CatalogueWriteLock::lockPathOf(const QString &cataloguePath)
{
    if (CatalogueDb::isServerCatalogue(cataloguePath)) {
        // No file stands beside a server's database: the lock is this machine's, named after
        // the address.
        const QByteArray digest = QCryptographicHash::hash(cataloguePath.toUtf8(), QCryptographicHash::Sha1).toHex();
        return QDir::tempPath() + QStringLiteral("/zelvarion-") + QString::fromLatin1(digest.left(16))
               + QStringLiteral(".lock");
    }
    const QFileInfo info(cataloguePath);
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? info.absoluteFilePath() : canonical) + QStringLiteral(".lock");
}

bool CatalogueWriteLock::takeOrRefuse(Feedback &feedback, const LanguagePack &language)
{
    const FileLock::Outcome outcome = take(false);
    if (outcome == FileLock::Outcome::Busy) {
        feedback.showMessage(language.message(Message::CatalogueBusyRefused).replace(u'#', m_cataloguePath)
                                 + holderLine(language),
                             MessageIcon::Warning);
        m_server.reset();
        return false;
    }
    return !failed(outcome, feedback, language);
}

bool CatalogueWriteLock::takeOrWait(Feedback &feedback, const LanguagePack &language)
{
    FileLock::Outcome outcome = take(false);
    if (outcome == FileLock::Outcome::Busy) {
        m_waited = true;
        feedback.showMessage(language.message(Message::CatalogueBusyWaiting).replace(u'#', m_cataloguePath)
                                 + holderLine(language),
                             MessageIcon::None);
        outcome = take(true);
    }
    return !failed(outcome, feedback, language);
}

bool CatalogueWriteLock::failed(FileLock::Outcome outcome, Feedback &feedback, const LanguagePack &language)
{
    if (outcome != FileLock::Outcome::Failed)
        return false;
    // A folder where no lock file can be made is one where the engine cannot write its journal
    // either: the command could only fail half-way.
    const bool server = CatalogueDb::isServerCatalogue(m_cataloguePath);
    feedback.showMessage(language.message(Message::CatalogueNotLocked).replace(u'#', server ? m_cataloguePath : m_lock.path())
                             + u'\n' + (server ? m_serverError : m_lock.errorText()),
                         MessageIcon::Critical);
    return true;
}

} // namespace zelvarion
