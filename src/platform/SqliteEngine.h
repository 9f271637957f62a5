#pragma once

#include "platform/CatalogueEngine.h"

#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace zelvarion {

// The four operations over the sqlite3 C API, and a row stream for results too large to hold.
// Connections read pages rather than mapping the file and share a soft heap limit of 48 MB, so a
// search or a full read of a large catalogue takes the memory of its result, not of the catalogue.
namespace sqliteEngine {

struct Connection; // opaque

// The shared shapes under their old names.
using zelvarion::BoundValue;
using zelvarion::Blob;
using zelvarion::FirstStatementRun;
using zelvarion::OpenMode;
using zelvarion::RowAnswer;
using zelvarion::RowHandler;
using zelvarion::RowView;

// Opens, and creates when missing, the database file (an existing file only when read-only).
// Nothing and the engine's text on failure.
Connection *open(const QString &path, QString &errorText, OpenMode mode = OpenMode::ReadWrite);

// Runs one statement; 0 on success, the engine's code otherwise, with its text.
int execute(Connection *connection, const QString &statement, ResultTable &result, QString &errorText);

// Runs every statement of the text as execute does, handing each row to onRow as the engine
// steps to it; nothing is kept, so memory stays flat however many rows come. An answer Stop ends
// the run there (0; the rest of the text is not run). 0 on success, the engine's code otherwise,
// with its text; rows handed out before a failure were handed out all the same.
int forEachRow(Connection *connection, const QString &statement, const RowHandler &onRow, QString &errorText);
// The same for one statement with values bound in order to its "?" (or "?N") as text.
int forEachRow(Connection *connection, const QString &statement, const std::vector<std::string> &values,
               const RowHandler &onRow, QString &errorText);

// Runs only the first statement of the text and keeps at most maxRows data rows; the rest of the
// text is handed back, never run. 0 on success, the engine's code otherwise, with its text.
int executeFirst(Connection *connection, const QString &statement, int maxRows, ResultTable &result,
                 QString &errorText, FirstStatementRun &run);

// Runs one statement once for every set of values, each bound in order to its "?" as text.
// Stops at the first failure: 0 on success, the engine's code otherwise, with its text.
int executeForEach(Connection *connection, const QString &statement,
                   const std::vector<std::vector<std::string>> &valueSets, QString &errorText);

// Runs one statement with values bound in order to its "?"; rows go into result as execute's do.
// 0 on success, the engine's code otherwise, with its text.
int executeBound(Connection *connection, const QString &statement, const std::vector<BoundValue> &values,
                 ResultTable &result, QString &errorText);
// Never reports an error.
void close(Connection *connection);

// The same connection behind the engine seam: what CatalogueDb opens for a file.
std::unique_ptr<EngineConnection> openConnection(const QString &path, QString &errorText, OpenMode mode);

// The engine's version text, for the About box.
QString version();

} // namespace sqliteEngine
} // namespace zelvarion
