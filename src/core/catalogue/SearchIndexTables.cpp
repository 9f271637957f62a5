#include "core/catalogue/SearchIndexTables.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/iptc/IptcField.h"

namespace zelvarion::searchIndexTables {
namespace {

const QString kText = QStringLiteral("ZelvarionSearchText");       // trigrams of each image's folded text
const QString kPending = QStringLiteral("ZelvarionSearchPending"); // images whose text changed
const QString kAlways = QStringLiteral("ZelvarionSearchAlways");   // images the index cannot vouch for

} // namespace

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

QStringList dropStatements()
{
    return {QStringLiteral("drop trigger if exists %1Insert;").arg(kPending),
            QStringLiteral("drop trigger if exists %1Update;").arg(kPending),
            QStringLiteral("drop trigger if exists %1Delete;").arg(kPending),
            QStringLiteral("drop table if exists %1;").arg(kText),
            QStringLiteral("drop table if exists %1;").arg(kPending),
            QStringLiteral("drop table if exists %1;").arg(kAlways)};
}

QString countPartsStatement()
{
    return QStringLiteral("select count(*) from sqlite_master where name in ('%1','%2','%3',"
                          "'%2Insert','%2Update','%2Delete');")
        .arg(kText, kPending, kAlways);
}

QString countPendingStatement() { return QStringLiteral("select count(*) from %1;").arg(kPending); }

QString nextQueuedStatement(int rows) { return QStringLiteral("select id from %1 order by id limit %2;").arg(kPending).arg(rows); }

QString selectTextsStatement(const QString &ids)
{
    return QStringLiteral("select rowid,%1 from Images where rowid in (%2);").arg(indexedColumns().join(u','), ids);
}

QStringList forgetStatements(const QString &ids)
{
    return {QStringLiteral("delete from %1 where rowid in (%2);").arg(kText, ids),
            QStringLiteral("delete from %1 where id in (%2);").arg(kAlways, ids)};
}

QString insertTextStatement() { return QStringLiteral("insert into %1(rowid, body) values(?, ?);").arg(kText); }
QString insertAlwaysStatement() { return QStringLiteral("insert into %1(id) values(?);").arg(kAlways); }
QString unqueueStatement(const QString &ids) { return QStringLiteral("delete from %1 where id in (%2);").arg(kPending, ids); }

QString rowidFingerprintStatement()
{
    return QStringLiteral("select count(*), total(rowid * (length(Folder) + 7 * length(File))) from Images;");
}

QString candidatesStatement(const QString &match, bool pending)
{
    QString candidates = QStringLiteral("select rowid from %1 where %1 match %2 union select id from %3")
                             .arg(kText, sqlText(match), kAlways);
    if (pending)
        candidates += QStringLiteral(" union select id from ") + kPending;
    return candidates;
}

QString candidatesSelect(const QString &select, const QString &candidates, const QString &where, const QString &order)
{
    QString statement = select + QStringLiteral(" not indexed where rowid in (") + candidates + u')';
    if (!where.isEmpty())
        statement += QStringLiteral(" and (") + where + u')';
    return statement + order + u';';
}

namespace {

// How a statement meets its rows, read from the engine's plan: sorted (ties keep the order met),
// or in indexName's order (empty: in rowid order). Nothing when the plan is not understood.
struct PlanOrder
{
    bool sorted = false;
    QString indexName;
};

std::optional<PlanOrder> planOrder(CatalogueDb &db, const QString &statement)
{
    PlanOrder order;
    bool understood = true;
    const int rc = db.forEachRow(QStringLiteral("explain query plan ") + statement, [&](const sqliteEngine::RowView &row) {
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

} // namespace

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

} // namespace zelvarion::searchIndexTables
