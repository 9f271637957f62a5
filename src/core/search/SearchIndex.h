#pragma once

#include "core/catalogue/SearchRequest.h"

#include <QString>
#include <functional>
#include <optional>

namespace zelvarion {

class CatalogueDb;

// A substring index beside the catalogue's tables that lets a word search visit only the images
// that can match. The catalogue's own tables and statements stay as they are: triggers on Images
// (plain SQL, so they work for every program that writes the catalogue) queue each image whose
// text changes, and the queue is indexed before the next search, or searched with the index's
// candidates until then. All functions work on the open connection of db.
//
// The index is an FTS5 table with the trigram tokenizer (ZelvarionSearchText, detail none) holding
// per image the case-folded text of Folder, File and the 35 IPTC columns, folded as our like folds.
// A search never trusts it alone: searchIndexMatch derives the trigrams every matching row must
// hold, and the full statement's own condition runs on those candidates only, ordered as the full
// statement orders, so the rows and their order are the full statement's. Rows the index cannot
// vouch for (bytes that are not UTF-8, a character whose lower case folds otherwise) sit in
// ZelvarionSearchAlways and are always candidates, as are queued rows. A small queue is indexed
// at once; a larger one in batches of 2 000 rows with progress and Stop. A compaction that
// renumbers rowids (rowidFingerprint) drops the index, which is then made anew.
namespace searchIndex {

struct Status
{
    bool exists = false;   // tables and triggers are in place
    long long pending = 0; // images queued for indexing (all of them right after creation)
    bool ready() const { return exists && pending == 0; }
};
Status status(CatalogueDb &db);

// Creates the index's tables and triggers and queues every image; false with the engine's text in
// db.errorText() when the catalogue refuses (read-only, locked, an engine without the index).
bool create(CatalogueDb &db);

// Called between batches with the images indexed so far and the total; false stops.
using Progress = std::function<bool(long long done, long long total)>;

enum class CatchUp { Done, Stopped, Failed };
// Indexes the queued images in batches, each batch its own transaction, so a stop or a kill keeps
// what was done. Failed with db.errorText() set when the catalogue refuses a write or another
// command is writing it (never waited for).
CatchUp catchUp(CatalogueDb &db, const Progress &progress = {});

// Creates the index when missing and indexes what is queued: what a command runs before it
// searches or after it changed many rows.
CatchUp build(CatalogueDb &db, const Progress &progress = {});

// Removes the index, its queue and its triggers; the next build makes it anew.
bool drop(CatalogueDb &db);

// A summary of which image each rowid holds. The engine may renumber rowids when it compacts a
// catalogue; the index is keyed by them, so a compaction that changed this summary drops it.
QString rowidFingerprint(CatalogueDb &db);

// The statement that selects, through the index, exactly the rows of fullStatement, the search
// statement of request, in the same order; nothing when the index cannot serve the request (no
// index, too much queued, a request it cannot narrow, a plan whose order it cannot repeat).
std::optional<QString> indexedStatement(CatalogueDb &db, const SearchRequest &request,
                                        const QString &fullStatement);

} // namespace searchIndex
} // namespace zelvarion
