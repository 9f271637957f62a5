#include "core/catalogue/CatalogueCopy.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"

#include <QStringList>

namespace zelvarion::catalogueCopy {
namespace {

constexpr char kTransaction[] = "CATALOGUECOPY";
// Rows bound per batch: large enough that the server's round trips do not dominate, small
// enough that progress comes often and the widest table (53 columns) stays under the engines'
// limits of bound values.
constexpr std::size_t kBatchRows = 250;

struct Table
{
    QString name;
    QStringList columns;
};

// The columns named rather than "*": the server's Images holds a rowid of its own besides them.
const std::vector<Table> &tables()
{
    static const std::vector<Table> all = {
        {QStringLiteral("Folders"), {QStringLiteral("Folder"), QStringLiteral("Files"), QStringLiteral("LastScan")}},
        {QStringLiteral("Images"), imagesColumnNames()},
        {QStringLiteral("Templates"), templatesColumnNames()},
        {QStringLiteral("Selections"),
         {QStringLiteral("Name"), QStringLiteral("Folder"), QStringLiteral("File"), QStringLiteral("CheckMark")}},
        {QStringLiteral("Translations"), {QStringLiteral("word1"), QStringLiteral("word2")}},
    };
    return all;
}

Result<long long> countRows(CatalogueDb &db, const QString &table)
{
    if (db.execute(QStringLiteral("select count(*) from %1;").arg(table)) != 0)
        return db.failure(Message::CannotCountData);
    return db.cell(0, 1).toLongLong();
}

// One multi-row insert per batch: the values bound, NULL kept as NULL.
Result<void> insertBatch(CatalogueDb &target, const Table &table, const std::vector<BoundValue> &values)
{
    const std::size_t columns = std::size_t(table.columns.size());
    const QString row = u'(' + QStringList(qsizetype(columns), QStringLiteral("?")).join(u',') + u')';
    const QString statement = QStringLiteral("insert into %1(%2) values%3;")
                                  .arg(table.name, table.columns.join(u','),
                                       QStringList(qsizetype(values.size() / columns), row).join(u','));
    if (target.executeBound(statement, values) != 0)
        return target.failure(Message::CannotInsertData);
    return {};
}

Result<long long> copyTable(CatalogueDb &source, CatalogueDb &target, const Table &table,
                            const ProgressHandler &progress)
{
    const Result<long long> total = countRows(source, table.name);
    if (!total)
        return total.failure();
    if (target.execute(QStringLiteral("delete from %1;").arg(table.name)) != 0)
        return target.failure(Message::CannotDeleteData);
    std::vector<BoundValue> batch;
    long long copied = 0;
    std::optional<Failure> failed;
    const auto flush = [&]() -> bool {
        if (batch.empty())
            return true;
        const Result<void> inserted = insertBatch(target, table, batch);
        if (!inserted) {
            failed = inserted.failure();
            return false;
        }
        copied += qint64(batch.size()) / table.columns.size();
        batch.clear();
        if (progress)
            progress(table.name, copied, *total);
        return true;
    };
    const QString select = QStringLiteral("select %1 from %2;").arg(table.columns.join(u','), table.name);
    const int read = source.forEachRow(select, [&](const RowView &row) {
        for (int column = 0; column < int(table.columns.size()); ++column)
            batch.push_back(row.isNull(column) ? BoundValue() : BoundValue(row.text(column)));
        if (batch.size() < kBatchRows * std::size_t(table.columns.size()))
            return RowAnswer::Next;
        return flush() ? RowAnswer::Next : RowAnswer::Stop;
    });
    if (failed)
        return *failed;
    if (read != 0)
        return source.failure(Message::CannotGetData);
    if (!flush())
        return *failed;
    return copied;
}

} // namespace

std::vector<QString> tableNames()
{
    std::vector<QString> names;
    for (const Table &table : tables())
        names.push_back(table.name);
    return names;
}

Result<long long> rowsOfUsersWork(CatalogueDb &db)
{
    long long rows = 0;
    for (const Table &table : tables()) {
        if (table.name == u"Translations")
            continue;
        const Result<long long> counted = countRows(db, table.name);
        if (!counted)
            return counted.failure();
        rows += *counted;
    }
    return rows;
}

Result<std::vector<TableCount>> copyTables(CatalogueDb &source, CatalogueDb &target, const ProgressHandler &progress)
{
    const QString transaction = QLatin1String(kTransaction);
    if (target.execute(QStringLiteral("begin transaction %1;").arg(transaction)) != 0)
        return target.failure(Message::CannotBeginTransaction, {transaction, target.path});
    std::vector<TableCount> counts;
    for (const Table &table : tables()) {
        const Result<long long> copied = copyTable(source, target, table, progress);
        if (!copied) {
            target.execute(QStringLiteral("rollback transaction %1;").arg(transaction));
            return copied.failure();
        }
        counts.push_back({table.name, *copied});
    }
    if (target.execute(QStringLiteral("end transaction %1;").arg(transaction)) != 0) {
        const Failure failure = target.failure(Message::CannotEndTransaction, {transaction, target.path});
        target.execute(QStringLiteral("rollback transaction %1;").arg(transaction));
        return failure;
    }
    return counts;
}

} // namespace zelvarion::catalogueCopy
