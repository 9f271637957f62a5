#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace zelvarion {

class CatalogueDb;
class Feedback;

// What schema creation hands back to its caller: the translations are loaded on the still open
// connection, and the path is remembered as "LastDB" once the catalogue is closed.
struct SchemaHooks
{
    std::function<void(CatalogueDb &)> loadTranslations;
    std::function<void(const QString &path)> rememberCatalogue;
};

// Creates the five tables and six indexes in the catalogue at db.path. A failed "create" is
// reported and never stops the run (only the indexes of that table are skipped). Returns false
// when the open failed; nothing else happens then.
bool createCatalogueSchema(CatalogueDb &db, Feedback &feedback, const SchemaHooks &hooks);

// The statements of the small tables; those of Images and Templates come from their column
// layouts (CatalogueTables.h).
extern const char *const kCreateFoldersTable;
extern const char *const kCreateSelectionsTable;
extern const char *const kCreateTranslationsTable;

// Stored defaults run at start-up on the open connection: each runs only if the one before
// succeeded; a failure is reported and ends the sequence. True when all three succeeded.
bool runStartupTuning(CatalogueDb &db, Feedback &feedback);

// Per-search settings: each runs whatever the one before did; failures are reported.
void runSearchTuning(CatalogueDb &db, Feedback &feedback);

// "select * from Folders;" and the sum of the Files column (leading-number parse); nothing when
// the statement failed (reported as CannotGetFolders).
std::optional<long long> countCatalogueImages(CatalogueDb &db, Feedback &feedback);

// "begin transaction NAME;" / "end transaction NAME;" with the reports
// CannotBeginTransaction and CannotEndTransaction (the name and the catalogue path).
bool beginTransaction(CatalogueDb &db, Feedback &feedback, const QString &name);
bool endTransaction(CatalogueDb &db, Feedback &feedback, const QString &name);
// "end transaction NAME;" unreported, for a command that already reported why it stops.
void endTransactionQuietly(CatalogueDb &db, const QString &name);

} // namespace zelvarion
