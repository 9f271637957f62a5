#pragma once

#include <QHash>
#include <QString>
#include <QStringView>
#include <optional>
#include <string>
#include <vector>

namespace zelvarion {

class CatalogueDb;

struct VocabularyWord
{
    QString text;
    long long uses = 0; // images holding it, in any spelling that folds alike
};

// The entries of one list field (keywords or supplemental categories) in the catalogue. Spellings
// that differ only in case, as the catalogue's like folds it, are one word shown in the spelling
// most images hold; the words most used come first.
class KeywordVocabulary
{
public:
    KeywordVocabulary() = default;
    // From the images holding each spelling; spellings no image holds are left out, and so are
    // those whose folded text does not begin with the folded prefix.
    explicit KeywordVocabulary(const QHash<QString, long long> &spellingUses, QStringView prefix = {});

    // The words whose folded text begins with the folded prefix, most used first, at most limit
    // of them (0: all). An empty prefix gives every word.
    std::vector<VocabularyWord> complete(QStringView prefix, std::size_t limit = 0) const;
    std::size_t size() const { return m_words.size(); }
    bool isEmpty() const { return m_words.empty(); }

private:
    struct Word
    {
        std::string folded;
        VocabularyWord word;
    };
    std::vector<Word> m_words;
};

// The vocabulary is kept in tables of its own beside the catalogue's (core/catalogue
// VocabularyTables): plain-SQL triggers on Images queue the list values each image gains or loses,
// whoever writes, and the queue is added up before the vocabulary is read. Each entry keeps its
// folded spelling under an index, so the words beginning with a typed text are read alone. All
// functions work on the open connection of db, offers excepted.
namespace vocabulary {

// Makes the tables when they are missing (from every image's values), makes again a table of
// entries kept without their folded spellings (from its own entries) and adds up the queue, in
// one transaction. False with db.errorText() when the catalogue takes no writes now (read-only,
// another command writing it: never waited for); reading still gives the true vocabulary.
bool update(CatalogueDb &db);

// Whether a prefix is read through the folded index, the cost of its own words only; otherwise
// every entry, or every image, is read for each.
bool readsByPrefix(CatalogueDb &db);

// The words of the field (its catalogue index) beginning with the prefix, whatever its case (all
// of them for an empty one), as the images hold them now: the tables with what is still queued,
// or every image's values when there are no tables. Nothing when a statement failed.
std::optional<KeywordVocabulary> read(CatalogueDb &db, int field, QStringView prefix = {});

// update when the catalogue takes it, then read: what the command line asks.
std::optional<KeywordVocabulary> updateAndRead(CatalogueDb &db, int field, QStringView prefix = {});

// What an entry box offers for a typed prefix: the first limit words of read. A closed db is
// opened for reading only and closed again. None when the catalogue could not be read.
std::vector<VocabularyWord> offers(CatalogueDb &db, int field, QStringView prefix, std::size_t limit);

} // namespace vocabulary
} // namespace zelvarion
