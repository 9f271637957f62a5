#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zelvarion {

class CatalogueDb;
class Feedback;

// Every statement on the Selections table (Name, Folder, File, CheckMark). Each runner reports a
// failure with its command's message and leaves the rows in db's result.
namespace selectionsTable {

// "select distinct Name from Selections;" (CannotGetData).
std::optional<QStringList> names(CatalogueDb &db, Feedback &feedback);
// "select count(*) from Selections where Name='…';" (CannotGetData): the count as stored.
std::optional<QString> imageCount(CatalogueDb &db, Feedback &feedback, const QString &name);
// "select Folder,File,CheckMark from Selections where (Name = '…');" (CannotGetData).
bool selectImages(CatalogueDb &db, Feedback &feedback, const QString &name);
// "insert into Selections values('name','folder','file','mark');" (CannotAddToSelections).
bool addImage(CatalogueDb &db, Feedback &feedback, const QString &name, const QString &folder, const QString &file,
              const QString &mark);
// "Update Selections set Name='new' where (Name='old');" (CannotUpdateData).
bool rename(CatalogueDb &db, Feedback &feedback, const QString &oldName, const QString &newName);
// "delete from Selections where (Name='…');" (CannotDeleteData).
bool remove(CatalogueDb &db, Feedback &feedback, const QString &name);

} // namespace selectionsTable
} // namespace zelvarion
