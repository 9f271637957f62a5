#include "core/catalogue/SelectionsTable.h"

#include "core/catalogue/CatalogueDb.h"

namespace zelvarion::selectionsTable {
namespace {

constexpr Message kCannotGet = Message::CannotGetData;

} // namespace

std::optional<QStringList> names(CatalogueDb &db, Feedback &feedback)
{
    if (!db.executeOrReport(feedback, QStringLiteral("select distinct Name from Selections;"), kCannotGet))
        return std::nullopt;
    QStringList found;
    for (int row = 1; row <= db.rowCount(); ++row)
        found << db.cell(0, row);
    return found;
}

std::optional<QString> imageCount(CatalogueDb &db, Feedback &feedback, const QString &name)
{
    if (!db.executeOrReport(feedback, QStringLiteral("select count(*) from Selections where Name=") + sqlText(name) + u';',
                            kCannotGet))
        return std::nullopt;
    return db.cell(0, 1);
}

bool selectImages(CatalogueDb &db, Feedback &feedback, const QString &name)
{
    return db.executeOrReport(feedback,
                              QStringLiteral("select Folder,File,CheckMark from Selections where (Name = ") + sqlText(name)
                                  + QStringLiteral(");"),
                              kCannotGet);
}

bool addImage(CatalogueDb &db, Feedback &feedback, const QString &name, const QString &folder, const QString &file,
              const QString &mark)
{
    return db.executeOrReport(feedback,
                              QStringLiteral("insert into Selections values(") + sqlText(name) + u',' + sqlText(folder)
                                  + u',' + sqlText(file) + u',' + sqlText(mark) + QStringLiteral(");"),
                              Message::CannotAddToSelections);
}

bool rename(CatalogueDb &db, Feedback &feedback, const QString &oldName, const QString &newName)
{
    return db.executeOrReport(feedback,
                              QStringLiteral("Update Selections set Name=") + sqlText(newName)
                                  + QStringLiteral(" where (Name=") + sqlText(oldName) + QStringLiteral(");"),
                              Message::CannotUpdateData);
}

bool remove(CatalogueDb &db, Feedback &feedback, const QString &name)
{
    return db.executeOrReport(feedback,
                              QStringLiteral("delete from Selections where (Name=") + sqlText(name) + QStringLiteral(");"),
                              Message::CannotDeleteData);
}

} // namespace zelvarion::selectionsTable
