#include "core/catalogue/CatalogueSchema.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/ServerWordIndexes.h"
#include "core/session/Feedback.h"

#include <vector>

namespace zelvarion {

const char *const kCreateFoldersTable = "create table Folders(Folder,Files,LastScan);";
const char *const kCreateSelectionsTable = "create table Selections(Name,Folder,File,CheckMark);";
const char *const kCreateTranslationsTable = "create table Translations(word1,word2);";

namespace {

struct IndexStatement
{
    const char *name;
    QString sql;
};

struct TableStatement
{
    const char *name;
    QString sql;
    std::vector<IndexStatement> indexes; // skipped when the table cannot be created
};

const std::vector<TableStatement> &schemaStatements()
{
    static const std::vector<TableStatement> statements = {
        {"Folders", QLatin1String(kCreateFoldersTable), {}},
        {"Images",
         createImagesTableStatement(),
         {{"IndexImagesPath", QStringLiteral("create index IndexImagesPath on Images(Folder ASC,File ASC);")},
          {"IndexImagesAllIPTC", createImagesAllIptcIndexStatement()},
          {"IndexCheckMark", QStringLiteral("create index IndexCheckMark on Images(CheckMark ASC);")}}},
        {"Templates",
         createTemplatesTableStatement(),
         {{"IndexTemplates", QStringLiteral("create index IndexTemplates on Templates(Name ASC);")}}},
        {"Selections",
         QLatin1String(kCreateSelectionsTable),
         {{"SelectionsIndex", QStringLiteral("create index SelectionsIndex on Selections(Name ASC);")}}},
        {"Translations",
         QLatin1String(kCreateTranslationsTable),
         {{"TranslationsIndex",
           QStringLiteral("create index TranslationsIndex on Translations(word1 ASC,word2 ASC);")}}},
    };
    return statements;
}

} // namespace

bool createCatalogueSchema(CatalogueDb &db, Feedback &feedback, const SchemaHooks &hooks)
{
    if (!db.openOrReport(feedback))
        return false;
    // One transaction for the twelve statements: each on its own would wait for the disk three
    // or four times. A statement that fails inside it (a table that already exists) leaves the
    // others in it; should the transaction not begin, they run one by one as before.
    const bool inTransaction = db.execute(QStringLiteral("begin transaction SCHEMA;")) == 0;
    // A table that already exists fails its "create"; that is reported and only its indexes
    // are skipped, so the routine also runs over an existing catalogue.
    for (const TableStatement &table : schemaStatements()) {
        if (!db.executeOrReport(feedback, table.sql, Message::CannotCreateTable, {QLatin1String(table.name)}))
            continue;
        for (const IndexStatement &index : table.indexes)
            db.executeOrReport(feedback, index.sql, Message::CannotCreateIndex, {QLatin1String(index.name)});
    }
    if (inTransaction)
        endTransaction(db, feedback, QStringLiteral("SCHEMA"));
    serverWordIndexes::ensure(db); // a new server database: Images did not exist when it opened
    if (hooks.loadTranslations)
        hooks.loadTranslations(db);
    db.close();
    if (hooks.rememberCatalogue)
        hooks.rememberCatalogue(db.path);
    return true;
}

bool runStartupTuning(CatalogueDb &db, Feedback &feedback)
{
    return db.executeOrReport(feedback, QStringLiteral("PRAGMA default_temp_store = MEMORY;"),
                              Message::CannotSetDefaultTempStore)
        && db.executeOrReport(feedback, QStringLiteral("PRAGMA default_cache_size = 100000;"),
                              Message::CannotSetDefaultCacheSize)
        && db.executeOrReport(feedback, QStringLiteral("PRAGMA default_synchronous = OFF;"),
                              Message::CannotSetDefaultSynchronous);
}

void runSearchTuning(CatalogueDb &db, Feedback &feedback)
{
    db.executeOrReport(feedback, QStringLiteral("PRAGMA temp_store = MEMORY;"),
                       Message::CannotSetTempStore);
    db.executeOrReport(feedback, QStringLiteral("PRAGMA cache_size = 100000;"),
                       Message::CannotSetCacheSize);
    db.executeOrReport(feedback, QStringLiteral("PRAGMA synchronous = OFF;"),
                       Message::CannotSetSynchronous);
}

std::optional<long long> countCatalogueImages(CatalogueDb &db, Feedback &feedback)
{
    const auto rows = selectFolders(db, feedback, Message::CannotGetFolders);
    if (!rows)
        return std::nullopt;
    return totalFiles(*rows);
}

bool beginTransaction(CatalogueDb &db, Feedback &feedback, const QString &name)
{
    return db.executeOrReport(feedback, QStringLiteral("begin transaction ") + name + u';',
                              Message::CannotBeginTransaction, {name, db.path});
}

bool endTransaction(CatalogueDb &db, Feedback &feedback, const QString &name)
{
    return db.executeOrReport(feedback, QStringLiteral("end transaction ") + name + u';',
                              Message::CannotEndTransaction, {name, db.path});
}

void endTransactionQuietly(CatalogueDb &db, const QString &name)
{
    db.execute(QStringLiteral("end transaction ") + name + u';');
}

} // namespace zelvarion
