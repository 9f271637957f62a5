#include "core/catalogue/ImagesTable.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/iptc/IptcField.h"

namespace zelvarion::imagesTable {
namespace {

constexpr Message kCannotGet = Message::CannotGetData;
constexpr Message kCannotSet = Message::CannotSetData;

} // namespace

const char *const kByFileNameStatement = "select Folder,File,CheckMark from Images order by File ASC;";

QString pathCondition(const QString &folder, const QString &file)
{
    return QStringLiteral("(Folder=") + sqlText(folder) + QStringLiteral(") and (File=") + sqlText(file) + u')';
}

QString selectImageStatement(const QString &folder, const QString &file)
{
    return QStringLiteral("select * from Images where ") + pathCondition(folder, file) + u';';
}

bool selectImage(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file)
{
    return db.executeOrReport(feedback, selectImageStatement(folder, file), kCannotGet);
}

bool holdsImage(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file)
{
    return db.executeOrReport(feedback,
                              QStringLiteral("select count(*) from Images where ") + pathCondition(folder, file) + u';',
                              kCannotGet)
           && db.cell(0, 1).toInt() > 0;
}

std::optional<std::pair<QString, QString>> revisionOf(CatalogueDb &db, const QString &folder, const QString &file)
{
    const QString select = QStringLiteral("select LastRevisionDate, LastRevisionTime from Images where ")
                           + pathCondition(folder, file) + u';';
    if (db.execute(select) != 0 || db.rowCount() == 0)
        return std::nullopt;
    return std::pair{db.cell(0, 1), db.cell(1, 1)};
}

std::optional<QString> countInFolder(CatalogueDb &db, Feedback &feedback, const QString &folder)
{
    if (!db.executeOrReport(feedback,
                            QStringLiteral("select count(*) from Images where (Folder=") + sqlText(folder)
                                + QStringLiteral(");"),
                            Message::CannotCountData))
        return std::nullopt;
    return db.cell(0, 1);
}

bool removeImage(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file)
{
    return db.executeOrReport(feedback, QStringLiteral("delete from Images where ") + pathCondition(folder, file) + u';',
                              Message::CannotRemoveData);
}

bool renameImage(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                 const QString &newName)
{
    return db.executeOrReport(feedback,
                              QStringLiteral("update Images set File=") + sqlText(newName) + QStringLiteral(" where ")
                                  + pathCondition(folder, file) + u';',
                              kCannotSet);
}

QString revisionStatement(const QString &folder, const QString &file, const IptcFieldSet &values,
                          const QString &revisionDate, const QString &revisionTime)
{
    QString statement = QStringLiteral("update Images set ");
    statement.reserve(1024);
    for (const IptcField &field : kIptcFields)
        statement += QLatin1String(field.column) + u'=' + sqlText(values.values[std::size_t(field.index)]) + u',';
    statement += QStringLiteral("LastRevisionDate=%1,LastRevisionTime=%2 where ").arg(sqlText(revisionDate), sqlText(revisionTime))
                 + pathCondition(folder, file) + u';';
    return statement;
}

QString checkMarkStatement(const QString &folder, const QString &file, const QString &mark)
{
    return QStringLiteral("update Images set CheckMark=") + sqlText(mark) + QStringLiteral(" where ")
           + pathCondition(folder, file) + u';';
}

QString resultCheckMarkStatement(const QString &folder, const QString &file, const QString &mark)
{
    return QStringLiteral("update Images set CheckMark=") + sqlText(mark) + QStringLiteral(" where (")
           + pathCondition(folder, file) + QStringLiteral(");");
}

bool setCheckMark(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                  const QString &mark)
{
    return db.executeOrReport(feedback, resultCheckMarkStatement(folder, file, mark), kCannotSet);
}

bool setImageCheckMark(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                       const QString &mark)
{
    return db.executeOrReport(feedback, checkMarkStatement(folder, file, mark), kCannotSet);
}

bool restoreCheckMark(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                      const QString &mark)
{
    return db.executeOrReport(feedback,
                              QStringLiteral("update Images set CheckMark=") + sqlText(mark)
                                  + QStringLiteral(" where (Folder = ") + sqlText(folder)
                                  + QStringLiteral(") and (File = ") + sqlText(file) + QStringLiteral(");"),
                              Message::CannotUpdateFromSelections);
}

bool clearAllCheckMarks(CatalogueDb &db, Feedback &feedback)
{
    return db.executeOrReport(feedback, QStringLiteral("update Images set CheckMark='' where (CheckMark != '');"),
                              kCannotSet);
}

bool selectMarkedImages(CatalogueDb &db, Feedback &feedback)
{
    return db.executeOrReport(feedback, QStringLiteral("select Folder,File,CheckMark from Images where (CheckMark != '')"),
                              kCannotGet);
}

QString keepOtherWritersOutStatement() { return QStringLiteral("lock table Images in exclusive mode;"); }

QString lastRowStatement() { return QStringLiteral("select ifnull(max(rowid), 0) from Images;"); }

QString userStateStatement(const QString &folder)
{
    return QStringLiteral("select Folder, File, CheckMark, LastRevisionDate, LastRevisionTime from Images "
                          "where (%1) and (CheckMark<>'' or LastRevisionDate<>'' or LastRevisionTime<>'');")
        .arg(rowsUnderFolder(folder));
}

QString removeOldRowsStatement(const QString &folder, const QString &lastOldRow, bool onlyReplaced)
{
    QString statement = QStringLiteral("delete from Images where rowid <= %1 and (%2)").arg(lastOldRow, rowsUnderFolder(folder));
    if (onlyReplaced)
        statement += QStringLiteral(" and exists (select 1 from Images as New where New.rowid > %1 and New.Folder = Images.Folder"
                                    " and New.File = Images.File)").arg(lastOldRow);
    return statement + u';';
}

QString countUnderFolderStatement(const QString &folder)
{
    return QStringLiteral("select count(*) from Images where(%1);").arg(rowsUnderFolder(folder));
}

QString removeUnderFolderStatement(const QString &folder)
{
    return QStringLiteral("delete from Images where (%1);").arg(rowsUnderFolder(folder));
}

// The paths stand first in the join so the engine looks each one up in the path index; the rows
// of one path then come back in catalogue order, as the one-image select gives them.
QString selectImagesStatement(const QStringList &columns, const std::vector<std::pair<QString, QString>> &paths)
{
    QString selected = QStringLiteral("Images.*");
    if (!columns.isEmpty())
        selected = QStringLiteral("Images.Folder,Images.File,Images.") + columns.join(QStringLiteral(",Images."));
    QStringList keys;
    keys.reserve(qsizetype(paths.size()));
    for (const auto &[folder, file] : paths)
        keys << u'(' + sqlText(folder) + u',' + sqlText(file) + u')';
    return QStringLiteral("select ") + selected + QStringLiteral(" from (values ") + keys.join(u',')
           + QStringLiteral(") as k cross join Images on Images.Folder = k.column1 and Images.File = k.column2;");
}

bool acceptsWrites(CatalogueDb &db, QString &engineText)
{
    // A transaction begins even on a file opened read-only; the first write is what it refuses.
    const bool takes = db.execute(QStringLiteral("begin immediate transaction;")) == 0
                       && db.execute(QStringLiteral("update Images set File=File where 0;")) == 0;
    engineText = db.errorText();
    db.execute(QStringLiteral("rollback transaction;"));
    return takes;
}

} // namespace zelvarion::imagesTable
