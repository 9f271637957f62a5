#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zelvarion {

class CatalogueDb;

// Every statement on the substring index of word searches: an FTS5 table of the folded text of
// each image (trigram tokenizer), the queue of images whose text changed, filled by plain-SQL
// triggers on Images, and the images the index cannot vouch for. All of it is this engine's own;
// another engine gives its own index here or none.
namespace searchIndexTables {

// Folder, File and the 35 IPTC columns: what a search looks at.
QStringList indexedColumns();

QStringList creationStatements();
QStringList dropStatements();

// count(*) of the index's tables and triggers: 6 when it is in place.
QString countPartsStatement();
QString countPendingStatement();

// The next queued rowids, at most rows of them.
QString nextQueuedStatement(int rows);
// rowid and the indexed columns of the images of ids ("1,2,3") still in Images.
QString selectTextsStatement(const QString &ids);
// Forgets what the index holds of ids, before their text is stored again.
QStringList forgetStatements(const QString &ids);
// Bound: the rowid and the folded text; the rowid of an image the index cannot vouch for.
QString insertTextStatement();
QString insertAlwaysStatement();
QString unqueueStatement(const QString &ids);

// count and a sum over rowid, Folder and File of every image: which image each rowid holds.
QString rowidFingerprintStatement();

// The rowids of every image that may match the index query match: those the query finds, those
// the index cannot vouch for and, with pending, those queued.
QString candidatesStatement(const QString &match, bool pending);
// The search's select over the candidates alone, fetched by rowid whatever the order asks.
QString candidatesSelect(const QString &select, const QString &candidates, const QString &where, const QString &order);

// The " order by" that lists the rows of the candidates' select exactly as fullStatement, whose
// order is order, lists them: rows met in an index's order tie on its further columns, then on
// rowid; rows the engine sorts or meets in the table keep rowid order among equals. Nothing when
// the engine's plan of fullStatement is not understood.
std::optional<QString> repeatedOrder(CatalogueDb &db, const QString &order, const QString &fullStatement);

} // namespace searchIndexTables
} // namespace zelvarion
