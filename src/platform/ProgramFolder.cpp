#include "platform/ProgramFolder.h"

#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace zelvarion::programFolder {
namespace {

QString &overrideFolder()
{
    static QString folder;
    return folder;
}

// Folders of the program folder whose files ship with the program, and which of their files do:
// a folder seeded from (a build folder, a portable copy) also holds the user's own files there,
// the exports and their thumbnails or Translations.txt, which are never copied.
struct ShippedFolder
{
    const char *name;
    std::initializer_list<const char *> endings; // of the shipped files' names; none: every file
    bool withSubfolders;
};
const ShippedFolder kShippedFolders[] = {
    {"Zelvarion-Language", {".lng"}, false},
    {"XML", {".xsl", ".sh", ".xconf"}, false},
    {"help", {}, true},
};

// Compared by hand: name filters would build a pattern matcher on every start of the program.
bool isShipped(const ShippedFolder &folder, const QString &fileName)
{
    if (folder.endings.size() == 0)
        return true;
    for (const char *ending : folder.endings)
        if (fileName.endsWith(QLatin1String(ending)))
            return true;
    return false;
}

bool isWritableFolder(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

QString resolve()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty())
        user = QDir::homePath() + QStringLiteral("/.local/share/Zelvarion");
    const FolderChoice choice = chooseFolder(QCoreApplication::applicationDirPath(), user);
    if (!choice.seedSource.isEmpty()) {
        QDir().mkpath(choice.folder);
        seedFrom(choice.seedSource, choice.folder);
    }
    return choice.folder;
}

} // namespace

QString path()
{
    static QString cached;
    static QString cachedFor;
    if (cached.isEmpty() || cachedFor != overrideFolder()) {
        cached = QDir::cleanPath(QDir(resolve()).absolutePath());
        cachedFor = overrideFolder();
    }
    return cached;
}

void setOverride(const QString &folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

void useFolder(const QString &folder, MissingFolder missing)
{
    setOverride(folder);
    if (folder.isEmpty())
        return;
    // As the per-user folder at its first start: made, then given the shipped files it lacks.
    if (!QFileInfo(folder).isDir() && (missing == MissingFolder::LeaveAlone || !QDir().mkpath(folder)))
        return; // a mistyped folder is not made for a command that only reads
    seedFrom(shippedDataFolder(QCoreApplication::applicationDirPath()), QDir(folder).absolutePath());
}

QString shippedDataFolder(const QString &executableFolder)
{
    const QString installed = QDir::cleanPath(executableFolder + QStringLiteral("/../share/zelvarion"));
    return QFileInfo(installed).isDir() ? installed : executableFolder;
}

QString configFilePath() { return path() + QStringLiteral("/Zelvarion.ini"); }
QString languageFolder() { return path() + QStringLiteral("/Zelvarion-Language/"); }
QString translationsFilePath() { return languageFolder() + QStringLiteral("Translations.txt"); }
QString defaultCataloguePath() { return path() + QStringLiteral("/Images.db"); }
QString helpFilePath() { return path() + QStringLiteral("/help/index.html"); }

FolderChoice chooseFolder(const QString &executableFolder, const QString &userFolder)
{
    // An installed layout keeps its data in share/zelvarion: its bin folder is never the
    // program folder, even for a user (or root) who may write there.
    const QString shipped = shippedDataFolder(executableFolder);
    if (!executableFolder.isEmpty() && shipped != executableFolder)
        return {userFolder, shipped};
    if (!executableFolder.isEmpty() && isWritableFolder(executableFolder))
        return {executableFolder, QString()};
    return {userFolder, executableFolder};
}

void seedFrom(const QString &sourceFolder, const QString &targetFolder)
{
    for (const ShippedFolder &shipped : kShippedFolders) {
        const QLatin1String name(shipped.name);
        const QString from = sourceFolder + u'/' + name;
        if (!QFileInfo(from).isDir())
            continue;
        QDirIterator it(from, QDir::Files,
                        shipped.withSubfolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
        while (it.hasNext()) {
            const QString source = it.next();
            if (!isShipped(shipped, it.fileName()))
                continue;
            const QString target = targetFolder + u'/' + name + source.mid(from.size());
            if (QFileInfo::exists(target))
                continue;
            QDir().mkpath(QFileInfo(target).absolutePath());
            atomicfile::copyFile(source, target); // never a half-copied stylesheet left behind
        }
    }
}

} // namespace zelvarion::programFolder
