#pragma once

#include <QString>
#include <QStringList>

namespace zelvarion {

// Every statement on the keyword vocabulary: per list field (keywords, supplemental categories,
// by their catalogue index) each entry spelling with the number of images that hold it and its
// folded spelling (indexed, so the entries beginning with a typed text are a range), and the
// queue of list values that images gained (+1) or lost (-1) since, filled by plain-SQL triggers on
// Images so that every writer of the catalogue, another program included, keeps it true.
namespace vocabularyTables {

QStringList creationStatements();
QStringList dropStatements();
// The entries' table with its index of folded spellings, made again over one made before them.
QString dropEntriesStatement();
QStringList entriesCreationStatements();

// count(*) of the vocabulary's tables and triggers: 5 when it is in place.
QString countPartsStatement();
// 1 when the entries' table has its folded spellings and their index, 0 when it was made before them.
QString countFoldedIndexStatement();
QString countPendingStatement();

// Rows of sign, Keywords, SupplementalCategory: what the queue holds, and every image's values
// as gains (a vocabulary made anew).
QString queuedChangesStatement();
QString imageValuesStatement();
QString unqueueStatement();

// Bound: field, entry, change of uses, folded entry; adds to the entry's uses, creating it.
QString addUsesStatement();
// Entries no image holds any more.
QString removeUnusedStatement();
// Rows of entry and uses of the field.
QString entriesStatement(int field);
// Rows of field, entry and uses of both fields.
QString allEntriesStatement();
// Rows of entry and uses of the field whose folded spelling lies from the bound ?1 up to, when
// bounded, the bound ?2 (excluded).
QString entriesBeginningStatement(int field, bool bounded);

} // namespace vocabularyTables
} // namespace zelvarion
