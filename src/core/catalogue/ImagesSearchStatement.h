#pragma once

#include "core/catalogue/SearchRequest.h"
#include "core/catalogue/SqlText.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace zelvarion {

// The search's statements: the one select on Images of a search request, and the look-up of its
// text in Translations.

// Why a search runs no statement; the caller shows the matching information message.
enum class SearchRefusal {
    None,
    NothingToSearch, // empty text, no presence or field box, no checked-only or single-image list
    NoFieldChosen,   // field search without a column chosen in lstFields
};

SearchRefusal searchRefusal(const SearchRequest &request);

// The one select on Images for the request, ";" included; empty when searchRefusal() refuses.
// Matching is left to the engine: like for substrings, glob over lower() for whole words. The
// text matches as typed: its like wildcards are escaped (with an escape clause on the terms that
// need one) and its glob wildcards bracketed, the translation found likewise.
QString buildSearchStatement(const SearchRequest &request);

// The statement's pieces, for a statement that must select exactly the same rows in the same
// order by another way in: the condition after " where " (empty for all images) and the
// " order by ..." clause (empty when none). Nothing for a refused request or a single image.
struct SearchStatementParts
{
    QString where;
    QString order;
};
std::optional<SearchStatementParts> searchStatementParts(const SearchRequest &request);
// "select <result columns> from Images"
QString searchSelect();

// A search statement (buildSearchStatement's, or the substring index's for it) that gives more of
// each row: the result's columns followed by columns, the rows and their order unchanged.
QString withMoreColumns(const QString &searchStatement, const QStringList &columns);

// The text cut at every single space; two spaces in a row give an empty word.
QStringList searchWords(const QString &text);

// LastSearchWords: the words of the text with its apostrophes doubled, as the statement uses
// them (the detail panel undoes the doubling when it highlights).
QStringList lastSearchWords(const QString &typedText);

// The statements that look a search text up in Translations. The fallback, run only when the
// first finds nothing, compares with "=" and so must match the stored word exactly.
struct TranslationLookup
{
    QString first;
    std::optional<QString> fallback;
};
TranslationLookup translationLookup(const QString &typedText, TranslationDirection direction);

// " order by <column> asc|desc" for lstSortedBy index 1..40; empty for 0 and anything out of
// range. FileSize, Width and Height hold numbers as text and are ordered by their number, the
// values that are not numbers ("?") after all numbers in either direction.
QString sortClause(int sortIndex, bool ascending);

} // namespace zelvarion
