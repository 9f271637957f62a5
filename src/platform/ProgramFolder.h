#pragma once

#include <QString>

// The program folder holds the configuration file, the default catalogue, the language packs and
// the stylesheets. It is the executable's folder when that folder is writable (portable use,
// builds, tests) unless it is an installed bin folder; otherwise a per-user data folder, seeded on
// first use with the files that ship with the program.
namespace zelvarion::programFolder {

// Absolute path without a trailing "/".
QString path();

// Used by tests; an empty text clears it.
void setOverride(const QString &folder);

// The command line's --program-folder: the folder becomes the program folder and is given the
// shipped files it lacks (stylesheets, language packs, user guide) as the per-user folder is at its
// first start, so a new program folder renders and speaks from its first command. Files already
// there are kept. A missing folder is made first for a command that writes into it (Make); for
// one that only reads (LeaveAlone) a mistyped name makes nothing.
enum class MissingFolder { Make, LeaveAlone };
void useFolder(const QString &folder, MissingFolder missing);

// Where the shipped data lie for an executable in executableFolder: share/zelvarion of an
// installed layout, otherwise beside the executable (a build, a portable copy).
QString shippedDataFolder(const QString &executableFolder);

QString configFilePath();       // path() + "/Zelvarion.ini"
QString languageFolder();       // path() + "/Zelvarion-Language/"
QString translationsFilePath(); // languageFolder() + "Translations.txt"
QString defaultCataloguePath(); // path() + "/Images.db"
QString helpFilePath();         // the user guide that ships with the program

// Where the program folder lies for an executable in executableFolder, and the folder its
// shipped data are seeded from (empty when the folder is used as it is):
//   - an installed layout (executableFolder/../share/zelvarion exists): the per-user folder,
//     seeded from share/zelvarion;
//   - a writable executable folder (portable copy, build folder): that folder itself;
//   - otherwise the per-user folder, seeded from the files beside the executable.
struct FolderChoice
{
    QString folder;
    QString seedSource;
};
FolderChoice chooseFolder(const QString &executableFolder, const QString &userFolder);

// Copies the shipped data files that are missing in target from source; existing files are
// kept, since the user may have changed them.
void seedFrom(const QString &sourceFolder, const QString &targetFolder);

} // namespace zelvarion::programFolder
