#include "core/search/SearchIndex.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/EngineStatements.h"
#include "core/catalogue/ImagesSearchStatement.h"
#include "core/catalogue/SearchIndexTables.h"
#include "core/search/SearchIndexMatch.h"
#include "platform/UnicodeFolding.h"

#include <QStringList>

namespace zelvarion::searchIndex {

namespace {

constexpr int kBatchRows = 2000;
// Beyond this many queued images a search without the index is quicker than with them all as
// candidates.
constexpr long long kMostPendingCandidates = 20000;

bool runAll(CatalogueDb &db, const QStringList &statements)
{
    for (const QString &statement : statements) {
        if (db.execute(statement) != 0)
            return false;
    }
    return true;
}

long long countOf(CatalogueDb &db, const QString &statement)
{
    return db.execute(statement) == 0 && db.rowCount() > 0 ? db.cell(0, 1).toLongLong() : 0;
}

std::vector<long long> nextQueued(CatalogueDb &db)
{
    std::vector<long long> ids;
    db.forEachRow(searchIndexTables::nextQueuedStatement(kBatchRows),
                  [&](const sqliteEngine::RowView &row) {
                      ids.push_back(row.text(0).toLongLong());
                      return sqliteEngine::RowAnswer::Next;
                  });
    return ids;
}

QString idList(const std::vector<long long> &ids)
{
    QStringList numbers;
    numbers.reserve(qsizetype(ids.size()));
    for (const long long id : ids)
        numbers << QString::number(id);
    return numbers.join(u',');
}

// The index's text of the rows of ids still in Images; rows it cannot vouch for go to always.
bool readTexts(CatalogueDb &db, const QString &ids, std::vector<std::vector<std::string>> &texts,
               std::vector<std::vector<std::string>> &always)
{
    return db.forEachRow(searchIndexTables::selectTextsStatement(ids), [&](const sqliteEngine::RowView &row) {
        std::string body;
        bool regular = true;
        for (int i = 1; i < row.columnCount(); ++i) {
            const QByteArrayView cell = row.utf8(i);
            regular = appendSearchFolded({cell.data(), std::size_t(cell.size())}, body) && regular;
            body.push_back('\n');
        }
        std::string rowid = row.utf8(0).toByteArray().toStdString();
        if (regular)
            texts.push_back({std::move(rowid), std::move(body)});
        else
            always.push_back({std::move(rowid)});
        return sqliteEngine::RowAnswer::Next;
    }) == 0;
}

bool indexBatch(CatalogueDb &db, const std::vector<long long> &batch)
{
    const QString ids = idList(batch);
    return inWriteTransaction(db, [&] {
        std::vector<std::vector<std::string>> texts;
        std::vector<std::vector<std::string>> always;
        using namespace searchIndexTables;
        return runAll(db, forgetStatements(ids)) && readTexts(db, ids, texts, always)
               && db.executeForEach(insertTextStatement(), texts) == 0
               && db.executeForEach(insertAlwaysStatement(), always) == 0 && db.execute(unqueueStatement(ids)) == 0;
    });
}

} // namespace

Status status(CatalogueDb &db)
{
    Status status;
    status.exists = countOf(db, searchIndexTables::countPartsStatement()) == 6;
    if (status.exists)
        status.pending = countOf(db, searchIndexTables::countPendingStatement());
    return status;
}

bool create(CatalogueDb &db)
{
    return inWriteTransaction(db, [&] { return runAll(db, searchIndexTables::creationStatements()); });
}

bool drop(CatalogueDb &db)
{
    return inWriteTransaction(db, [&] {
        return runAll(db, searchIndexTables::dropStatements());
    });
}

QString rowidFingerprint(CatalogueDb &db)
{
    if (db.execute(searchIndexTables::rowidFingerprintStatement()) != 0)
        return {};
    return db.cell(0, 1) + u'/' + db.cell(1, 1);
}

CatchUp catchUp(CatalogueDb &db, const Progress &progress)
{
    const NoWaitForWriters noWait(db);
    const long long total = status(db).pending;
    long long done = 0;
    for (;;) {
        const std::vector<long long> batch = nextQueued(db);
        if (batch.empty())
            return CatchUp::Done;
        if (!indexBatch(db, batch))
            return CatchUp::Failed;
        done += qsizetype(batch.size());
        if (progress && !progress(done, std::max(total, done)))
            return CatchUp::Stopped;
    }
}

CatchUp build(CatalogueDb &db, const Progress &progress)
{
    const NoWaitForWriters noWait(db);
    if (!status(db).exists && !create(db))
        return CatchUp::Failed;
    return catchUp(db, progress);
}

std::optional<QString> indexedStatement(CatalogueDb &db, const SearchRequest &request, const QString &fullStatement)
{
    const std::optional<SearchStatementParts> parts = searchStatementParts(request);
    const std::optional<QString> match = searchIndexMatch(request);
    if (!parts || !match)
        return std::nullopt;
    const Status state = status(db);
    if (!state.exists || state.pending > kMostPendingCandidates)
        return std::nullopt;
    const std::optional<QString> order = searchIndexTables::repeatedOrder(db, parts->order, fullStatement);
    if (!order)
        return std::nullopt;
    const QString candidates = searchIndexTables::candidatesStatement(*match, state.pending > 0);
    return searchIndexTables::candidatesSelect(searchSelect(), candidates, parts->where, *order);
}

} // namespace zelvarion::searchIndex
