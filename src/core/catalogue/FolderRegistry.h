#pragma once

#include <QString>
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
// "Cannot add data").
std::optional<std::vector<FolderRow>> selectFolders(CatalogueDb &db, Feedback &feedback);

// The sum of the Files column, each read with the leading-number parse.
long long totalFiles(const std::vector<FolderRow> &rows);

} // namespace zelvarion
