#include "platform/ProgramFolder.h"

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

// Folders of the program folder whose files ship with the program.
const char *const kShippedFolders[] = {"Zelvarion-Language", "XML", "help"};

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

QString configFilePath() { return path() + QStringLiteral("/Zelvarion.ini"); }
QString languageFolder() { return path() + QStringLiteral("/Zelvarion-Language/"); }
QString translationsFilePath() { return languageFolder() + QStringLiteral("Translations.txt"); }
QString defaultCataloguePath() { return path() + QStringLiteral("/Images.db"); }
QString helpFilePath() { return path() + QStringLiteral("/help/index.html"); }

FolderChoice chooseFolder(const QString &executableFolder, const QString &userFolder)
{
    // An installed layout keeps its data in share/zelvarion: its bin folder is never the
    // program folder, even for a user (or root) who may write there.
    const QString installed = QDir::cleanPath(executableFolder + QStringLiteral("/../share/zelvarion"));
    if (!executableFolder.isEmpty() && QFileInfo(installed).isDir())
        return {userFolder, installed};
    if (!executableFolder.isEmpty() && isWritableFolder(executableFolder))
        return {executableFolder, QString()};
    return {userFolder, executableFolder};
}

void seedFrom(const QString &sourceFolder, const QString &targetFolder)
{
    for (const char *name : kShippedFolders) {
        const QString from = sourceFolder + u'/' + QLatin1String(name);
        if (!QFileInfo(from).isDir())
            continue;
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString target = targetFolder + u'/' + QLatin1String(name) + source.mid(from.size());
            if (QFileInfo::exists(target))
                continue;
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::copy(source, target);
        }
    }
}

} // namespace zelvarion::programFolder
