#pragma once

#include <QString>
#include <QStringList>

namespace zelvarion {

// Every statement on the keyword vocabulary: per list field (keywords, supplemental categories,
// by their catalogue index) each entry spelling with the number of images that hold it, and the
// queue of list values that images gained (+1) or lost (-1) since, filled by plain-SQL triggers on
// Images so that every writer of the catalogue, another program included, keeps it true.
namespace vocabularyTables {

QStringList creationStatements();
QStringList dropStatements();

// count(*) of the vocabulary's tables and triggers: 5 when it is in place.
QString countPartsStatement();
QString countPendingStatement();

// Rows of sign, Keywords, SupplementalCategory: what the queue holds, and every image's values
// as gains (a vocabulary made anew).
QString queuedChangesStatement();
QString imageValuesStatement();
QString unqueueStatement();

// Bound: field, entry, change of uses; adds to the entry's uses, creating it.
QString addUsesStatement();
// Entries no image holds any more.
QString removeUnusedStatement();
// Rows of entry and uses of the field.
QString entriesStatement(int field);

} // namespace vocabularyTables
} // namespace zelvarion
