#pragma once

#include <QString>

namespace zelvarion {

class CatalogueDb;
class Feedback;

// Every statement on the Translations table (word1, word2): the pairs of the translations file.
namespace translationsTable {

// "delete from Translations;" (CannotEmptyTranslations).
bool clear(CatalogueDb &db, Feedback &feedback);
// "insert into Translations values('word1','word2');" (CannotAddToTranslations).
bool addPair(CatalogueDb &db, Feedback &feedback, const QString &word1, const QString &word2);

// The look-ups of a search word. likeOperand is what follows "like": the pattern between
// apostrophes and its escape clause, if any.
// "select word2 from Translations where (word1 like …);"
QString secondWordsLikeStatement(const QString &likeOperand);
// "select word1 from Translations where (word2 like …);"
QString firstWordsLikeStatement(const QString &likeOperand);
// "select word1 from Translations where (word2='…');"
QString firstWordsEqualStatement(const QString &word2);

} // namespace translationsTable
} // namespace zelvarion
