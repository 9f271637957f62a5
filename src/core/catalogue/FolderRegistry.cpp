#include "core/catalogue/FolderRegistry.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/ImagesTable.h"
#include "core/session/AppSettings.h"
#include "platform/FileNames.h"

#include <QDir>

namespace zelvarion {

std::optional<std::vector<FolderRow>> selectFolders(CatalogueDb &db, Feedback &feedback, Message failure)
{
    if (!db.executeOrReport(feedback, QStringLiteral("select * from Folders;"), failure))
        return std::nullopt;
    std::vector<FolderRow> rows;
    rows.reserve(std::size_t(db.rowCount()));
    for (int r = 1; r <= db.rowCount(); ++r)
        rows.push_back({db.cell(0, r), db.cell(1, r), db.cell(2, r)});
    return rows;
}

long long totalFiles(const std::vector<FolderRow> &rows)
{
    long long total = 0;
    for (const FolderRow &row : rows)
        total += settingValue::wholeNumber(row.files);
    return total;
}

QString registryFolderPath(const QString &chosen)
{
    // Chosen through this machine's mount, kept as every machine's rows name it.
    QString folder = filenames::storedPath(QDir::cleanPath(QDir(chosen).absolutePath()));
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

bool isRefusedFolder(const QString &folderWithoutSeparator)
{
    if (folderWithoutSeparator.isEmpty() || folderWithoutSeparator == u"/")
        return true;
    for (const char *virtualFolder : {"/proc", "/sys", "/dev", "/run"}) {
        const QLatin1String refused(virtualFolder);
        if (folderWithoutSeparator == refused || folderWithoutSeparator.startsWith(refused + u'/'))
            return true;
    }
    return false;
}

AddFolderCheck checkNewFolder(const QString &chosen, const QStringList &listedRows)
{
    const QString folder = registryFolderPath(chosen);
    const QString bare = folder.chopped(1);
    if (isRefusedFolder(bare))
        return {AddFolderCheck::Verdict::Refused, folder.size() > 1 ? folder : QStringLiteral("/")};
    const QString upperBare = bare.toUpper();
    for (int i = 0; i < listedRows.size(); ++i) {
        const QString upperRow = listedRows[i].toUpper();
        if (upperRow.contains(upperBare))
            return {AddFolderCheck::Verdict::Overlaps, folder, i};
        if (upperBare.contains(upperRow))
            return {AddFolderCheck::Verdict::Subfolder, folder, i};
    }
    return {AddFolderCheck::Verdict::Register, folder};
}

QString rowsUnderFolder(const QString &folder)
{
    const QString text = sqlText(folder);
    return QStringLiteral("substr(Folder, 1, length(%1)) = %1").arg(text);
}

bool registerFolder(CatalogueDb &db, Feedback &feedback, const QString &folder)
{
    return db.executeOrReport(feedback, QStringLiteral("insert into Folders values(%1, '','');").arg(sqlText(folder)),
                              Message::CannotAddData);
}

bool removeFolder(CatalogueDb &db, Feedback &feedback, const QString &folder)
{
    constexpr Message what = Message::CannotRemoveData;
    return db.executeOrReport(feedback, QStringLiteral("delete from Folders where Folder=%1;").arg(sqlText(folder)), what)
           && db.executeOrReport(feedback, imagesTable::removeUnderFolderStatement(folder), what);
}

QString scannedFolderStatement(const QString &folder, const QString &count, const QString &lastScan)
{
    return QStringLiteral("update Folders set Files=%1, LastScan=%2 where (Folder=%3);")
        .arg(sqlText(count), sqlText(lastScan), sqlText(folder));
}

bool setFolderFileCount(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &count)
{
    return db.executeOrReport(feedback,
                              QStringLiteral("Update Folders set Files=") + sqlText(count) + QStringLiteral(" where (Folder=")
                                  + sqlText(folder) + QStringLiteral(");"),
                              Message::CannotSetData);
}

bool recountFoldersHolding(CatalogueDb &db, Feedback &feedback, const QString &folder)
{
    const std::optional<std::vector<FolderRow>> rows = selectFolders(db, feedback, Message::CannotGetData);
    if (!rows)
        return false;
    bool counted = true;
    for (const FolderRow &row : *rows) {
        if (!folder.startsWith(row.folder))
            continue;
        if (!db.executeOrReport(feedback, imagesTable::countUnderFolderStatement(row.folder),
                                Message::CannotCountData)) {
            counted = false;
            continue;
        }
        counted = setFolderFileCount(db, feedback, row.folder, db.cell(0, 1)) && counted;
    }
    return counted;
}

} // namespace zelvarion
