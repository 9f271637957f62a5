#include "core/iptc/OriginalBackups.h"

#include "core/session/Result.h"
#include "platform/FileLock.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QUrl>


namespace zelvarion {
namespace {

// What this process has read of one folder's index; the rest is read under the lock, so other
// processes' lines are seen and a thousand backups do not read the index a thousand times.
struct KnownIndex
{
    QHash<QString, QString> sourceOfName; // lower-case backup name -> source
    QHash<QString, QString> nameOfSource; // source -> backup name
    qint64 readUpTo = 0;
    quint64 device = 0;
    quint64 inode = 0;
};

QMutex g_indexesMutex;
QHash<QString, KnownIndex> g_indexes; // by index path

// A name and a path in one line: percent-encoded, so a tab or a line break in them cannot split it.
QByteArray encoded(const QString &text) { return QUrl::toPercentEncoding(text, "/ ()[]{}',;:&=+$!@#~"); }
QString decoded(QByteArrayView text) { return QUrl::fromPercentEncoding(text.toByteArray()); }

void remember(KnownIndex &index, const QString &name, const QString &source)
{
    if (index.sourceOfName.contains(name.toLower()) || index.nameOfSource.contains(source))
        return; // the first line of a name or a source wins, as it was the first claim
    index.sourceOfName.insert(name.toLower(), source);
    index.nameOfSource.insert(source, name);
}

// Lines are "name<TAB>source<TAB>" and a line break; a line cut short by a crash lacks its last
// tab and is passed over.
void parseLines(KnownIndex &index, QByteArrayView bytes)
{
    qsizetype start = 0;
    for (qsizetype end = bytes.indexOf('\n'); end >= 0; start = end + 1, end = bytes.indexOf('\n', start)) {
        const QByteArrayView line = bytes.sliced(start, end - start);
        if (!line.endsWith('\t'))
            continue;
        const QByteArrayView fields = line.chopped(1);
        const qsizetype tab = fields.indexOf('\t');
        if (tab <= 0 || tab == fields.size() - 1 || fields.lastIndexOf('\t') != tab)
            continue;
        remember(index, decoded(fields.first(tab)), decoded(fields.sliced(tab + 1)));
    }
}

bool readNewLines(KnownIndex &index, const FileLock &lock)
{
    const std::optional<FileLock::FileState> state = lock.state();
    if (!state)
        return false;
    if (state->device != index.device || state->inode != index.inode || state->size < index.readUpTo)
        index = KnownIndex{{}, {}, 0, state->device, state->inode}; // replaced or cut: read it again
    const std::optional<QByteArray> bytes = lock.readFrom(index.readUpTo);
    if (!bytes)
        return false;
    const qsizetype complete = bytes->lastIndexOf('\n') + 1; // a torn last line waits for its end
    parseLines(index, QByteArrayView(*bytes).first(complete));
    index.readUpTo += complete;
    return true;
}

// The file is only ever appended to, one line per claim, so a crash loses at most the line being
// written, which readers pass over; a torn line is ended first so it cannot run into this one.
bool appendLine(const FileLock &lock, const KnownIndex &index, const QString &name, const QString &source)
{
    const std::optional<FileLock::FileState> state = lock.state();
    if (!state)
        return false;
    QByteArray line = state->size > index.readUpTo ? QByteArray("\n") : QByteArray();
    line += encoded(name) + '\t' + encoded(source) + "\t\n";
    return lock.appendDurably(line);
}

QString freeName(const KnownIndex &index, const QDir &folder, const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString base = dot > 0 ? fileName.left(dot) : fileName;
    const QString extension = dot > 0 ? fileName.mid(dot) : QString();
    QString candidate = fileName;
    for (int k = 2; index.sourceOfName.contains(candidate.toLower()) || QFileInfo::exists(folder.filePath(candidate)); ++k)
        candidate = QStringLiteral("%1 (%2)%3").arg(base).arg(k).arg(extension);
    return candidate;
}

QString sourceIdentity(const QString &source)
{
    const QString canonical = filenames::canonicalPath(source);
    return canonical.isEmpty() ? QFileInfo(source).absoluteFilePath() : canonical;
}

} // namespace

QString backupIndexName() { return QStringLiteral(".zelvarion-backups"); }

BackupSlot backupSlotFor(const QString &folder, const QString &source, const LanguagePack *language)
{
    const QDir dir(folder);
    const QString indexPath = dir.filePath(backupIndexName());
    const QString identity = sourceIdentity(source);
    // One thread at a time in this process, one process at a time through the lock on the index.
    QMutexLocker locked(&g_indexesMutex);
    FileLock lock(indexPath);
    if (lock.lock() != FileLock::Outcome::Locked)
        return {{}, messageText(language, Message::ReasonBackupIndexUnusable, {indexPath, lock.errorText()})};
    KnownIndex &index = g_indexes[indexPath];
    const QString unreadable = messageText(language, Message::ReasonBackupIndexUnreadable, {indexPath});
    if (!readNewLines(index, lock))
        return {{}, unreadable};
    if (const auto known = index.nameOfSource.constFind(identity); known != index.nameOfSource.constEnd())
        return {dir.filePath(*known), {}};
    const QString name = freeName(index, dir, QFileInfo(source).fileName());
    if (!appendLine(lock, index, name, identity))
        return {{}, messageText(language, Message::ReasonBackupIndexUnwritable, {indexPath})};
    // Read back with the other lines, so this process's view and the file stay one.
    if (!readNewLines(index, lock))
        return {{}, unreadable};
    return {dir.filePath(name), {}};
}

} // namespace zelvarion
