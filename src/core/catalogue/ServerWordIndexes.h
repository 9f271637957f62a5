#pragma once

#include <QStringList>

namespace zelvarion {

class CatalogueDb;

namespace serverWordIndexes {

// A server catalogue keeps no substring index of its own; its word searches are served by the
// server's trigram indexes instead, one per column the search matches with like '%...%' (Folder,
// File and the 35 IPTC columns). Each is built on the column under the database's own collation,
// the very expression the translated like compares, or the planner would not use it. The index
// only narrows the rows the server reads: every row it offers is checked against the statement
// again, so results are the same with or without it.

// The columns indexed, in catalogue order.
QStringList indexedColumns();

// The statements that make the extension and every missing index, written in the server's
// dialect with names already quoted, so the translation at CatalogueDb's door leaves them as
// they are.
QStringList creationStatements();

// Makes what is missing on an open server catalogue whose Images table exists: one question when
// everything is there. When the server refuses the extension (no right to create it), the
// catalogue stays as it is and its searches read every row, as before; nothing is reported, since
// the results are the same, and the next open asks again. False when the indexes are not all there
// afterwards. A file catalogue is left alone (true).
bool ensure(CatalogueDb &db);

} // namespace serverWordIndexes
} // namespace zelvarion
