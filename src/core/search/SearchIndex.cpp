#include "core/search/SearchIndex.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/catalogue/SqlText.h"
#include "core/iptc/IptcField.h"
#include "core/search/SearchIndexMatch.h"
#include "core/search/SearchQueryBuilder.h"
#include "platform/UnicodeFolding.h"

#include <QStringList>

namespace zelvarion::searchIndex {

namespace {

const QString kText = QStringLiteral("ZelvarionSearchText");       // trigrams of each image's folded text
const QString kPending = QStringLiteral("ZelvarionSearchPending"); // images whose text changed
const QString kAlways = QStringLiteral("ZelvarionSearchAlways");   // images the index cannot vouch for

constexpr int kBatchRows = 2000;
// Beyond this many queued images a search without the index is quicker than with them all as
// candidates.
constexpr long long kMostPendingCandidates = 20000;

// Folder, File and the 35 IPTC columns: what a search looks at.
QStringList indexedColumns()
{
    QStringList columns{imagesColumnName(ImagesColumn::Folder), imagesColumnName(ImagesColumn::File)};
    for (const IptcField &field : kIptcFields)
        columns << QLatin1String(field.column);
    return columns;
}

QStringList creationStatements()
{
    const QString queue = QStringLiteral("insert or ignore into %1 values(%2.rowid);").arg(kPending);
    return {
        QStringLiteral("create virtual table %1 using fts5(body, tokenize='trigram case_sensitive 1', detail=none);")
            .arg(kText),
        QStringLiteral("create table %1(id integer primary key);").arg(kPending),
        QStringLiteral("create table %1(id integer primary key);").arg(kAlways),
        QStringLiteral("create trigger %1Insert after insert on Images begin %2 end;")
            .arg(kPending, queue.arg(QStringLiteral("new"))),
        QStringLiteral("create trigger %1Update after update of %2 on Images begin %3 %4 end;")
            .arg(kPending, indexedColumns().join(u','), queue.arg(QStringLiteral("old")), queue.arg(QStringLiteral("new"))),
        QStringLiteral("create trigger %1Delete after delete on Images begin %2 end;")
            .arg(kPending, queue.arg(QStringLiteral("old"))),
        QStringLiteral("insert into %1 select rowid from Images;").arg(kPending),
    };
}

bool runAll(CatalogueDb &db, const QStringList &statements)
{
    for (const QString &statement : statements) {
        if (db.execute(statement) != 0)
            return false;
    }
    return true;
}

bool inTransaction(CatalogueDb &db, const std::function<bool()> &work)
{
    if (db.execute(QStringLiteral("begin immediate transaction;")) != 0)
        return false;
    if (work() && db.execute(QStringLiteral("commit transaction;")) == 0)
        return true;
    db.execute(QStringLiteral("rollback transaction;")); // the first error stays in errorText()
    return false;
}

long long countOf(CatalogueDb &db, const QString &statement)
{
    return db.execute(statement) == 0 && db.rowCount() > 0 ? db.cell(0, 1).toLongLong() : 0;
}

std::vector<long long> nextQueued(CatalogueDb &db)
{
    std::vector<long long> ids;
    db.forEachRow(QStringLiteral("select id from %1 order by id limit %2;").arg(kPending).arg(kBatchRows),
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
    const QString select = QStringLiteral("select rowid,%1 from Images where rowid in (%2);")
                               .arg(indexedColumns().join(u','), ids);
    return db.forEachRow(select, [&](const sqliteEngine::RowView &row) {
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
    return inTransaction(db, [&] {
        std::vector<std::vector<std::string>> texts;
        std::vector<std::vector<std::string>> always;
        return runAll(db, {QStringLiteral("delete from %1 where rowid in (%2);").arg(kText, ids),
                           QStringLiteral("delete from %1 where id in (%2);").arg(kAlways, ids)})
               && readTexts(db, ids, texts, always)
               && db.executeForEach(QStringLiteral("insert into %1(rowid, body) values(?, ?);").arg(kText), texts) == 0
               && db.executeForEach(QStringLiteral("insert into %1(id) values(?);").arg(kAlways), always) == 0
               && db.execute(QStringLiteral("delete from %1 where id in (%2);").arg(kPending, ids)) == 0;
    });
}

// How the full statement meets its rows, which decides the order of rows that tie on its sort.
struct PlanOrder
{
    bool sorted = false;  // the engine sorts the rows it found: ties keep the order met
    QString indexName;    // the rows are met in this index's order; empty: in rowid order
};

std::optional<PlanOrder> planOrder(CatalogueDb &db, const QString &fullStatement)
{
    PlanOrder order;
    bool understood = true;
    const int rc = db.forEachRow(QStringLiteral("explain query plan ") + fullStatement, [&](const sqliteEngine::RowView &row) {
        const QString detail = row.text(row.columnCount() - 1);
        static const QString kIndexScan = QStringLiteral("SCAN Images USING INDEX ");
        if (detail == QLatin1String("SCAN Images"))
            return sqliteEngine::RowAnswer::Next;
        if (detail == QLatin1String("USE TEMP B-TREE FOR ORDER BY"))
            order.sorted = true;
        else if (detail.startsWith(kIndexScan) && detail.indexOf(u' ', kIndexScan.size()) < 0)
            order.indexName = detail.mid(kIndexScan.size());
        else
            understood = false;
        return understood ? sqliteEngine::RowAnswer::Next : sqliteEngine::RowAnswer::Stop;
    });
    if (rc != 0 || !understood || (order.sorted && !order.indexName.isEmpty()))
        return std::nullopt;
    return order;
}

QStringList indexColumns(CatalogueDb &db, const QString &indexName)
{
    QStringList columns;
    db.forEachRow(QStringLiteral("select name from pragma_index_info(%1) order by seqno;").arg(sqlText(indexName)),
                  [&](const sqliteEngine::RowView &row) {
                      columns << row.text(0);
                      return sqliteEngine::RowAnswer::Next;
                  });
    return columns;
}

// The terms of " order by a asc,b asc" when every one is a plain column in one direction.
std::optional<std::pair<QStringList, QString>> plainOrderTerms(const QString &order)
{
    const QString prefix = QStringLiteral(" order by ");
    if (order.isEmpty())
        return std::pair{QStringList(), QStringLiteral(" asc")};
    if (!order.startsWith(prefix))
        return std::nullopt;
    QStringList columns;
    QString direction;
    for (const QString &term : order.mid(prefix.size()).split(u',')) {
        const QStringList words = term.trimmed().split(u' ');
        if (words.size() != 2 || (!direction.isEmpty() && direction != u' ' + words[1]))
            return std::nullopt;
        columns << words[0];
        direction = u' ' + words[1];
    }
    return std::pair{columns, direction};
}

// The order by that lists the rows exactly as the full statement does. Rows met in an index's
// order tie on its further columns, then on rowid, all in the scan's direction; rows the engine
// sorts or meets in the table keep rowid order among equals.
std::optional<QString> repeatedOrder(CatalogueDb &db, const QString &order, const QString &fullStatement)
{
    const std::optional<PlanOrder> plan = planOrder(db, fullStatement);
    if (!plan)
        return std::nullopt;
    if (plan->indexName.isEmpty())
        return (order.isEmpty() ? QStringLiteral(" order by ") : order + u',') + QStringLiteral("rowid");
    const auto terms = plainOrderTerms(order);
    const QStringList index = indexColumns(db, plan->indexName);
    if (!terms || index.isEmpty())
        return std::nullopt;
    const auto &[columns, direction] = *terms;
    QStringList ordered;
    for (const QString &column : columns + index) {
        if (!ordered.contains(column, Qt::CaseInsensitive))
            ordered << column + direction;
    }
    return QStringLiteral(" order by ") + ordered.join(u',') + u',' + QStringLiteral("rowid") + direction;
}

} // namespace

Status status(CatalogueDb &db)
{
    Status status;
    status.exists = countOf(db, QStringLiteral("select count(*) from sqlite_master where name in ('%1','%2','%3',"
                                               "'%2Insert','%2Update','%2Delete');")
                                    .arg(kText, kPending, kAlways))
                    == 6;
    if (status.exists)
        status.pending = countOf(db, QStringLiteral("select count(*) from %1;").arg(kPending));
    return status;
}

bool create(CatalogueDb &db)
{
    return inTransaction(db, [&] { return runAll(db, creationStatements()); });
}

bool drop(CatalogueDb &db)
{
    return inTransaction(db, [&] {
        return runAll(db, {QStringLiteral("drop trigger if exists %1Insert;").arg(kPending),
                           QStringLiteral("drop trigger if exists %1Update;").arg(kPending),
                           QStringLiteral("drop trigger if exists %1Delete;").arg(kPending),
                           QStringLiteral("drop table if exists %1;").arg(kText),
                           QStringLiteral("drop table if exists %1;").arg(kPending),
                           QStringLiteral("drop table if exists %1;").arg(kAlways)});
    });
}

QString rowidFingerprint(CatalogueDb &db)
{
    if (db.execute(QStringLiteral("select count(*), total(rowid * (length(Folder) + 7 * length(File))) from Images;")) != 0)
        return {};
    return db.cell(0, 1) + u'/' + db.cell(1, 1);
}

// Indexing never waits for another command's writes: it is done another time.
class NoWaitForWriters
{
public:
    explicit NoWaitForWriters(CatalogueDb &db) : m_db(db)
    {
        m_timeout = m_db.execute(QStringLiteral("PRAGMA busy_timeout;")) == 0 ? m_db.cell(0, 1) : QStringLiteral("0");
        m_db.execute(QStringLiteral("PRAGMA busy_timeout = 0;"));
    }
    ~NoWaitForWriters() { m_db.execute(QStringLiteral("PRAGMA busy_timeout = %1;").arg(m_timeout.toInt())); }
    NoWaitForWriters(const NoWaitForWriters &) = delete;
    NoWaitForWriters &operator=(const NoWaitForWriters &) = delete;

private:
    CatalogueDb &m_db;
    QString m_timeout;
};

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
    const std::optional<QString> order = repeatedOrder(db, parts->order, fullStatement);
    if (!order)
        return std::nullopt;
    QString candidates = QStringLiteral("select rowid from %1 where %1 match %2 union select id from %3")
                             .arg(kText, sqlText(*match), kAlways);
    if (state.pending > 0)
        candidates += QStringLiteral(" union select id from ") + kPending;
    // Not indexed: the rows are fetched by rowid and sorted, whatever the order asks.
    QString statement = searchSelect() + QStringLiteral(" not indexed where rowid in (") + candidates + u')';
    if (!parts->where.isEmpty())
        statement += QStringLiteral(" and (") + parts->where + u')';
    return statement + *order + u';';
}

} // namespace zelvarion::searchIndex
