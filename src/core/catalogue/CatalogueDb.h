#pragma once

#include "core/catalogue/SqlText.h"
#include "core/session/Result.h"
#include "platform/SqliteEngine.h"

#include <memory>

#include <QString>

namespace zelvarion {

class Feedback;
class LanguagePack;

// The catalogue in use and the one connection of the command in progress. Every command opens
// it, runs its statements and closes it again; nothing stays open between commands.
class CatalogueDb
{
public:
    CatalogueDb() = default;
    ~CatalogueDb();
    CatalogueDb(const CatalogueDb &) = delete;
    CatalogueDb &operator=(const CatalogueDb &) = delete;

    QString path; // empty when no catalogue is chosen; a file, or a server's address

    // Whether path names a database server (postgresql://user@host:port/dbname) rather than a
    // file: its statements then go through the server dialect.
    bool isServer() const { return isServerCatalogue(path); }
    static bool isServerCatalogue(const QString &path);

    // Opens path; false with errorText set on failure.
    bool open();
    // Opens an existing catalogue for reading only: the engine refuses every write.
    bool openReadOnly();
    // Runs one statement on the open connection; 0 on success.
    int execute(const QString &statement);
    // Runs only the first statement of the text, keeping at most maxRows data rows; what was left
    // out is described in run. 0 on success.
    int executeFirst(const QString &statement, int maxRows, sqliteEngine::FirstStatementRun &run);
    // Runs one statement once per set of values bound to its "?" as text.
    int executeForEach(const QString &statement, const std::vector<std::vector<std::string>> &valueSets);
    // Runs one statement with values bound in order to its "?": blobs go in as bytes. 0 on success.
    int executeBound(const QString &statement, const std::vector<sqliteEngine::BoundValue> &values);
    // Runs the statement handing each row to onRow as it comes, no table kept (result() stays
    // as it was); for results too large to hold. 0 on success, also when onRow stopped it.
    int forEachRow(const QString &statement, const sqliteEngine::RowHandler &onRow);
    // The same for one statement with values bound in order to its "?" as text.
    int forEachRow(const QString &statement, const std::vector<std::string> &values,
                   const sqliteEngine::RowHandler &onRow);
    // From here until close, the file is read through a page cache of the engine's own 2 MB
    // instead of the catalogue's large one: for commands that read every row once (export,
    // statistics, double names). Those that look rows up by name ask for room for the path
    // index's pages (kRowsByName). False when the engine refused.
    static constexpr int kEngineCacheKilobytes = 2000;
    static constexpr int kRowsByNameKilobytes = 16000;
    bool readThroughSmallCache(int kilobytes = kEngineCacheKilobytes);
    void close();
    bool isOpen() const { return m_connection != nullptr; }

    // Results of the last statement.
    int rowCount() const { return m_result.rowCount(); }
    int columnCount() const { return m_result.columnCount(); }
    QString cell(int column, int row) const { return m_result.cell(column, row); }
    const ResultTable &result() const { return m_result; }
    const QString &errorText() const { return m_errorText; }
    const QString &statement() const { return m_statement; }

    // What failed with the engine's text of the last failure.
    Failure failure(Message what, QStringList arguments = {}) const;
    // Report(what): what, a line break, the engine's text.
    void report(Feedback &feedback, Message what, QStringList arguments = {}) const;
    // CannotOpenCatalogue with the path, then the engine's text.
    Failure openFailure() const;
    void reportOpenFailure(Feedback &feedback) const;

    // Open with the open-failure report on failure.
    bool openOrReport(Feedback &feedback);
    bool openReadOnlyOrReport(Feedback &feedback);
    // Runs a statement and reports what on failure; true on success.
    bool executeOrReport(Feedback &feedback, const QString &statement, Message what, QStringList arguments = {});

    static QString engineVersion();

private:
    bool openWith(OpenMode mode);
    // The statement in the open engine's dialect; false when nothing is left to run.
    bool inDialect(const QString &statement, QString &translated);

    std::unique_ptr<EngineConnection> m_connection;
    bool m_server = false;
    ResultTable m_result;
    QString m_errorText;
    QString m_statement;
};

// What a file offered as the catalogue is. Opening any file "works" (the engine reads nothing
// until the first statement), so a file chosen by mistake, the undo journal beside the
// catalogue or a text file, would only fail later with the engine's raw words.
enum class CatalogueFileKind {
    Catalogue,     // a database holding the catalogue's tables Images and Folders
    Missing,       // no file there (opening would create an empty database)
    NotADatabase,  // some other kind of file
    NotACatalogue, // a database, but not a catalogue (no tables, or other tables)
    Unreadable,    // the engine could not tell: engineText says why
};
struct CatalogueFileCheck
{
    CatalogueFileKind kind = CatalogueFileKind::Missing;
    QString engineText;
    bool isCatalogue() const { return kind == CatalogueFileKind::Catalogue; }
};
// Looks at the file over a read-only connection of its own, which changes nothing; when that one
// cannot play back the journal a killed writer left, again over one that may, so the next command
// finds the catalogue as it was before the killed transaction. Every command and the window run it
// before opening a catalogue.
// A server catalogue is Missing while its database holds none of the catalogue's tables (the
// first open makes them).
CatalogueFileCheck checkCatalogueFile(const QString &path);

// Whether the catalogue is there: the file exists, or the server's database holds tables.
bool catalogueExists(const QString &path);

// What to tell the user about a file that is no catalogue: message 63 and the path, the missing
// file's message 1 and the path, or the open-failure report's text with the engine's words.
QString catalogueFileProblem(const CatalogueFileCheck &check, const QString &path, const LanguagePack &pack);

// Closes the catalogue on every way out of a command.
class ClosedOnExit
{
public:
    explicit ClosedOnExit(CatalogueDb &db) : m_db(db) {}
    ~ClosedOnExit() { m_db.close(); }
    ClosedOnExit(const ClosedOnExit &) = delete;
    ClosedOnExit &operator=(const ClosedOnExit &) = delete;

private:
    CatalogueDb &m_db;
};

// The "order by" terms that sort a column of numbers stored as text numerically: numbers first
// in numeric order, other values ("?", empty) after them. For Files, FileSize, Width, Height.
QString numericOrderTerm(const QString &column, bool descending = false);

} // namespace zelvarion
