#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;
struct IptcFieldSet;

// Every statement on the Images table. Texts go in between apostrophes (sqlText); the statements
// the program has always run keep their exact text, so each runner notes it. A runner reports a
// failure with the message its command gives and leaves the rows in db's result.
namespace imagesTable {

// "(Folder='…') and (File='…')": one image, as IndexImagesPath serves it.
QString pathCondition(const QString &folder, const QString &file);

// "select * from Images where (Folder='…') and (File='…');"
QString selectImageStatement(const QString &folder, const QString &file);
// Runs selectImageStatement; reported as CannotGetData.
bool selectImage(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file);
// "select count(*) from Images where (Folder='…') and (File='…');" (CannotGetData): false
// when it failed or found no row.
bool holdsImage(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file);
// "select LastRevisionDate, LastRevisionTime from Images where …;" unreported; nothing when it
// failed or found no row.
std::optional<std::pair<QString, QString>> revisionOf(CatalogueDb &db, const QString &folder, const QString &file);
// "select count(*) from Images where (Folder='…');" (CannotCountData).
std::optional<QString> countInFolder(CatalogueDb &db, Feedback &feedback, const QString &folder);

// "delete from Images where (Folder='…') and (File='…');" (CannotRemoveData).
bool removeImage(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file);
// "update Images set File='new' where (Folder='…') and (File='…');" (CannotSetData).
bool renameImage(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                 const QString &newName);

// "update Images set ObjectName='…',…,ImageType='…',Customized='…',LastRevisionDate='…',
// LastRevisionTime='…' where (Folder='…') and (File='…');"
QString revisionStatement(const QString &folder, const QString &file, const IptcFieldSet &values,
                          const QString &revisionDate, const QString &revisionTime);

// The mark of one image toggled from its cell:
// "update Images set CheckMark='…' where (Folder='…') and (File='…');" (CannotSetData).
QString checkMarkStatement(const QString &folder, const QString &file, const QString &mark);
bool setImageCheckMark(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                       const QString &mark);
// The mark of each image of the result, in the marking of the whole result:
// "update Images set CheckMark='…' where ((Folder='…') and (File='…'));" (CannotSetData).
QString resultCheckMarkStatement(const QString &folder, const QString &file, const QString &mark);
bool setCheckMark(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                  const QString &mark);
// A saved selection's mark put back: "update Images set CheckMark='…' where (Folder = '…') and
// (File = '…');" (CannotUpdateFromSelections).
bool restoreCheckMark(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                      const QString &mark);
// "update Images set CheckMark='' where (CheckMark != '');" (CannotSetData).
bool clearAllCheckMarks(CatalogueDb &db, Feedback &feedback);
// "select Folder,File,CheckMark from Images where (CheckMark != '')" (CannotGetData).
bool selectMarkedImages(CatalogueDb &db, Feedback &feedback);

// The scan's statements on the rows under a folder (rowsUnderFolder, FolderRegistry.h).
// "select ifnull(max(rowid), 0) from Images;": the newest row before a scan adds its rows.
QString lastRowStatement();
// Server only, first in a rescan's transaction: other writers (marks) wait until it ends, so a
// mark set meanwhile is neither lost with the old rows nor missed by the new ones; readers go on.
QString keepOtherWritersOutStatement();
// Folder, File, CheckMark, LastRevisionDate, LastRevisionTime of the rows under folder that hold
// a mark or a revision.
QString userStateStatement(const QString &folder);
// The rows under folder up to lastOldRow; with onlyReplaced, only those a newer row of the same
// path replaces (a stopped scan keeps the rows of the files it did not reach).
QString removeOldRowsStatement(const QString &folder, const QString &lastOldRow, bool onlyReplaced);
// "select count(*) from Images where(<rows under folder>);"
QString countUnderFolderStatement(const QString &folder);
// "delete from Images where (<rows under folder>);"
QString removeUnderFolderStatement(const QString &folder);

// Folder, file and mark of every image, ordered by file name as the engine compares them (letter
// case counts): "select Folder,File,CheckMark from Images order by File ASC;"
extern const char *const kByFileNameStatement;

// The rows of many images by path in one statement: "select <columns> from (values ('f','n'),…)
// as k cross join Images on …;". columns empty selects every column.
QString selectImagesStatement(const QStringList &columns, const std::vector<std::pair<QString, QString>> &paths);

// Whether the catalogue lets this connection write: a write that changes nothing, rolled back.
// engineText: the engine's words when it refused.
bool acceptsWrites(CatalogueDb &db, QString &engineText);

} // namespace imagesTable
} // namespace zelvarion
