#include "core/catalogue/CatalogueWriteLock.h"

#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"

#include "core/catalogue/CatalogueDb.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace zelvarion {

CatalogueWriteLock::CatalogueWriteLock(const QString &cataloguePath)
    : m_cataloguePath(cataloguePath), m_lock(lockPathOf(cataloguePath))
{
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
    const FileLock::Outcome outcome = m_lock.tryLock();
    if (outcome == FileLock::Outcome::Busy) {
        feedback.showMessage(language.message(Message::CatalogueBusyRefused).replace(u'#', m_cataloguePath),
                             MessageIcon::Warning);
        return false;
    }
    return !failed(outcome, feedback, language);
}

bool CatalogueWriteLock::takeOrWait(Feedback &feedback, const LanguagePack &language)
{
    FileLock::Outcome outcome = m_lock.tryLock();
    if (outcome == FileLock::Outcome::Busy) {
        m_waited = true;
        feedback.showMessage(language.message(Message::CatalogueBusyWaiting).replace(u'#', m_cataloguePath),
                             MessageIcon::None);
        outcome = m_lock.lock();
    }
    return !failed(outcome, feedback, language);
}

bool CatalogueWriteLock::failed(FileLock::Outcome outcome, Feedback &feedback, const LanguagePack &language)
{
    if (outcome != FileLock::Outcome::Failed)
        return false;
    // A folder where no lock file can be made is one where the engine cannot write its journal
    // either: the command could only fail half-way.
    feedback.showMessage(language.message(Message::CatalogueNotLocked).replace(u'#', m_lock.path()) + u'\n'
                             + m_lock.errorText(),
                         MessageIcon::Critical);
    return true;
}

} // namespace zelvarion
