#include "core/catalogue/ServerWordIndexes.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/iptc/IptcField.h"

#include <optional>

namespace zelvarion::serverWordIndexes {

namespace {

QString indexName(const QString &column) { return QStringLiteral("IndexWords") + column; }

// Whether Images exists, and how many of the indexes it has. Asked on every open that may write,
// so it reads the bare catalogue table, half the cost of the index view on a fresh connection.
struct Present
{
    bool images = false;
    int indexes = 0;
};

std::optional<Present> present(CatalogueDb &db)
{
    QStringList names;
    for (const QString &column : indexedColumns())
        names << u'\'' + indexName(column) + u'\'';
    const QString question =
        QStringLiteral("select to_regclass('\"Images\"') is not null, (select count(*) from pg_class "
                       "where relkind = 'i' and relnamespace = current_schema()::regnamespace and relname in (%1));")
            .arg(names.join(u','));
    if (db.execute(question) != 0 || db.rowCount() != 1)
        return std::nullopt;
    return Present{db.cell(0, 1) == u"1", db.cell(1, 1).toInt()};
}

} // namespace

QStringList indexedColumns()
{
    return QStringList{imagesColumnName(ImagesColumn::Folder), imagesColumnName(ImagesColumn::File)}
           + iptcColumnNames();
}

QStringList creationStatements()
{
    QStringList statements{QStringLiteral("create extension if not exists pg_trgm;")};
    // The translated like reads `"Col" ilike '%...%' collate "default"`: an index on the bare
    // column, whose collation is "C", would not match it.
    for (const QString &column : indexedColumns())
        statements << QStringLiteral("create index if not exists \"%1\" on \"Images\" using gin "
                                     "(\"%2\" collate \"default\" gin_trgm_ops);")
                          .arg(indexName(column), column);
    // Fresh indexes on a full table: the planner needs the table's figures to choose them.
    statements << QStringLiteral("analyze \"Images\";");
    return statements;
}

bool ensure(CatalogueDb &db)
{
    if (!db.isServer())
        return true;
    const std::optional<Present> before = present(db);
    if (!before || !before->images)
        return false;
    if (before->indexes == int(indexedColumns().size()))
        return true;
    for (const QString &statement : creationStatements()) {
        if (db.execute(statement) != 0)
            return false; // no right to the extension or the table: searches read every row
    }
    const std::optional<Present> after = present(db);
    return after && after->indexes == int(indexedColumns().size());
}

} // namespace zelvarion::serverWordIndexes
