#include "platform/ThumbnailStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>

namespace zelvarion {
namespace {

QString defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
           + QStringLiteral("/zelvarion/thumbs");
}

// The key: the absolute path with "." and ".." resolved, so every spelling of one file finds the
// same thumbnail. Symbolic links are not followed; a renamed or deleted file must still find its
// entry.
QByteArray keyOf(const QString &imagePath)
{
    const QString absolute = QDir::cleanPath(QFileInfo(imagePath).absoluteFilePath());
    return QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha1).toHex();
}

} // namespace

ThumbnailStore::ThumbnailStore() : ThumbnailStore(defaultRoot()) {}

ThumbnailStore::ThumbnailStore(QString root) : m_root(std::move(root)) {}

QString ThumbnailStore::entryPath(const QString &imagePath) const
{
    return m_root + u'/' + QString::fromLatin1(keyOf(imagePath)) + QStringLiteral(".jpg");
}

bool ThumbnailStore::isAvailable() const
{
    if (m_root.isEmpty() || !QDir().mkpath(m_root))
        return false;
    // Permission bits do not tell the whole story (read-only mounts, full quotas): try it.
    QTemporaryFile probe(m_root + QStringLiteral("/probe-XXXXXX"));
    return probe.open();
}

bool ThumbnailStore::has(const QString &imagePath) const
{
    return QFileInfo::exists(entryPath(imagePath));
}

bool ThumbnailStore::store(const QString &imagePath, const QByteArray &jpeg) const
{
    if (jpeg.isEmpty() || !QDir().mkpath(m_root))
        return false;
    QSaveFile file(entryPath(imagePath));
    return file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size() && file.commit();
}

QDateTime ThumbnailStore::storedAt(const QString &imagePath) const
{
    const QFileInfo entry(entryPath(imagePath));
    return entry.isFile() ? entry.lastModified() : QDateTime();
}

QByteArray ThumbnailStore::load(const QString &imagePath) const
{
    QFile file(entryPath(imagePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ThumbnailStore::move(const QString &oldImagePath, const QString &newImagePath) const
{
    const QString from = entryPath(oldImagePath);
    const QString to = entryPath(newImagePath);
    if (from == to)
        return QFileInfo::exists(from);
    if (!QFileInfo::exists(from)) {
        drop(newImagePath);
        return false;
    }
    // rename() replaces the target in one step, where QFile::rename would refuse.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    drop(newImagePath);
    return false;
}

bool ThumbnailStore::drop(const QString &imagePath) const
{
    const QString entry = entryPath(imagePath);
    return QFile::remove(entry) || !QFileInfo::exists(entry);
}

} // namespace zelvarion
