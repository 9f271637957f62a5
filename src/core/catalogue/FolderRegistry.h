#pragma once

#include "core/session/LanguageKeys.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;

// One row of the Folders table: a registered folder ending with "/", its file count and the
// time of its last scan (both empty until the first scan).
struct FolderRow
{
    QString folder;
    QString files;
    QString lastScan;
};

// "select * from Folders;" on the open catalogue; nothing when it failed (reported as
// CannotAddData).
std::optional<std::vector<FolderRow>> selectFolders(CatalogueDb &db, Feedback &feedback,
                                                    Message failure = Message::CannotAddData);

// The sum of the Files column, each read with the leading-number parse.
long long totalFiles(const std::vector<FolderRow> &rows);

// A folder path as the registry stores it: cleaned, absolute, ending with "/".
QString registryFolderPath(const QString &chosen);

// What Add folder makes of a chosen folder, given the texts of the rows already listed.
struct AddFolderCheck
{
    enum class Verdict {
        Refused,   // the root or a virtual system folder (message 3)
        Overlaps,  // a listed row's text contains the new folder (message 4, naming the row)
        Subfolder, // the new folder lies inside a listed row: a subfolder row, nothing stored
        Register,  // a new registered folder
    };
    Verdict verdict;
    QString folder;      // the chosen folder ending with "/"
    int row = -1;        // the row that overlaps or contains it (0-based)
};

// The refusals and the overlap tests of Add folder. The overlap tests are a plain search of the
// texts in upper case, anywhere in the text, so "/Photo" is refused beside "/Photos/".
AddFolderCheck checkNewFolder(const QString &chosen, const QStringList &listedRows);

// Refused folders: the root and the virtual system folders with everything inside them, whose
// "files" never end or block when read.
bool isRefusedFolder(const QString &folderWithoutSeparator);

// The condition that selects the Images rows under a folder: the rows whose Folder begins with
// the folder text exactly (no wildcards, no match in the middle of another path).
QString rowsUnderFolder(const QString &folder);

// "insert into Folders values('folder', '','');" with the report CannotAddData.
bool registerFolder(CatalogueDb &db, Feedback &feedback, const QString &folder);

// Deletes the Folders row and, when that worked, every Images row under the folder; a failure
// is reported as CannotRemoveData. True when both statements ran.
bool removeFolder(CatalogueDb &db, Feedback &feedback, const QString &folder);

// "update Folders set Files='count', LastScan='…' where (Folder='…');": the folder after a scan.
QString scannedFolderStatement(const QString &folder, const QString &count, const QString &lastScan);
// "Update Folders set Files='count' where (Folder='…');" with the report CannotSetData.
bool setFolderFileCount(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &count);
// The registered folders that hold `folder` (itself or a parent) take the count of their rows as
// a scan counts them, subfolders included, so the sum of Files stays the number of images after
// a row is removed. Failures are reported (CannotGetData, CannotCountData,
// CannotSetData); false when any happened.
bool recountFoldersHolding(CatalogueDb &db, Feedback &feedback, const QString &folder);

} // namespace zelvarion
