#pragma once

#include "platform/CatalogueEngine.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace zelvarion::postgresEngine {

// Whether the text names a database server ("postgresql://..." or "postgres://...") rather than
// a file.
bool isServerAddress(const QString &text);

// Connects to the database the address names. The password, when one is needed, comes from
// ~/.pgpass or the PG* environment, never from the address the program keeps. ReadOnly makes
// the server refuse every write of the session. Refused, with a text the user can act on, when
// the database does not keep UTF-8 text or lowers only ASCII letters: its searches would then
// miss rows the file catalogue finds. Nothing and the text on failure.
std::unique_ptr<EngineConnection> openConnection(const QString &address, QString &errorText,
                                                 OpenMode mode = OpenMode::ReadWrite);

// The statements of a text in the server's dialect, split at the semicolons outside quotes and
// comments; blank pieces are dropped.
QStringList splitStatements(const QString &text);

// The client library's version, for the About box.
QString version();

} // namespace zelvarion::postgresEngine
