#pragma once

#include <QString>

namespace zelvarion::serverDialect {

// The catalogue's statements are written for the file engine; this turns a text of them into
// the database server's dialect, statement by statement, at the one door to the catalogue:
//
// - transactions: "begin immediate transaction", "begin/end transaction NAME" become begin and
//   commit;
// - PRAGMAs: the settings are dropped, the questions the catalogue asks (encoding, journal mode,
//   busy timeout) get the answer under which the code takes its plain path;
// - like matches case-insensitively for every letter (ilike under the database's own character
//   type, no escape character unless one is given); lower() lowers every letter; glob becomes
//   an anchored regular expression;
// - "insert or replace/ignore": the catalogue's tables have no unique keys, so both are a plain
//   insert ("or ignore" also ignores a conflict);
// - ifnull, "cast(x as integer)", "where 0", X'..' blobs and "?"/"?N" placeholders;
// - the catalogue's tables and columns are quoted in their own spelling, so results name their
//   columns as the file engine does; a new table's columns are text compared byte by byte, and
//   Images keeps a rowid of its own, left out of "select *";
// - the index of every IPTC column is not made: the server's indexes take at most 32 columns
//   and a third of a page per row, which a long caption exceeds.
//
// Empty when nothing is left to run (a dropped setting).
QString translate(const QString &statements);

// The regular expression that matches what a glob pattern matches, anchored at both ends.
QString globToRegex(const QString &pattern);

} // namespace zelvarion::serverDialect
