#pragma once

#include "core/session/Result.h"

#include <QString>
#include <functional>
#include <vector>

namespace zelvarion {

class CatalogueDb;

// Copies every table of one catalogue into another, whatever engine each is on (a file into a
// server and back). The target's own index and vocabulary tables follow through their triggers;
// the server keeps none.
namespace catalogueCopy {

struct TableCount
{
    QString table;
    long long rows = 0;
};

// How far a table is: rows copied of its total; called after every batch.
using ProgressHandler = std::function<void(const QString &table, long long copied, long long total)>;

// The tables a copy carries, in the order it copies them.
std::vector<QString> tableNames();

// The rows of every table of the open catalogue that a copy would replace (Folders, Images,
// Templates, Selections: the work of its users; the translations come with every new catalogue).
Result<long long> rowsOfUsersWork(CatalogueDb &db);

// Copies every table of the open source into the open target in one transaction of the target:
// the target's rows of those tables are removed first, so the target is either the source's copy
// or as it was, never half of each. The rows copied per table.
Result<std::vector<TableCount>> copyTables(CatalogueDb &source, CatalogueDb &target, const ProgressHandler &progress);

} // namespace catalogueCopy
} // namespace zelvarion
