#include "core/search/KeywordVocabulary.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/EngineStatements.h"
#include "core/catalogue/VocabularyTables.h"
#include "core/iptc/IptcField.h"
#include "platform/UnicodeFolding.h"

#include <algorithm>
#include <functional>
#include <string>

namespace zelvarion {
namespace {

// The catalogue's like folding, one character for one, so a prefix folds to a prefix.
std::string foldedUtf8(QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    std::string folded;
    folded.reserve(std::size_t(utf8.size()));
    appendSearchFolded({utf8.constData(), std::size_t(utf8.size())}, folded); // irregular letters fold all the same
    return folded;
}

// The least text above every text that begins with folded, in the order of UTF-8 bytes (that of
// the characters): its last character one higher, highest characters dropped first. Nothing when
// no text is above them all.
std::optional<std::string> pastBeginning(const std::string &folded)
{
    std::u32string points = QString::fromUtf8(folded.data(), qsizetype(folded.size())).toStdU32String();
    while (!points.empty()) {
        char32_t &last = points.back();
        if (last < 0x10FFFF) {
            last = last == 0xD7FF ? 0xE000 : last + 1; // surrogates are never characters of UTF-8
            return QString::fromStdU32String(points).toStdString();
        }
        points.pop_back();
    }
    return std::nullopt;
}

struct Group
{
    QString spelling;
    long long spellingUses = 0;
    long long uses = 0;
};

} // namespace

KeywordVocabulary::KeywordVocabulary(const QHash<QString, long long> &spellingUses, QStringView prefix)
{
    const std::string beginning = foldedUtf8(prefix);
    QHash<QByteArray, Group> groups;
    for (auto it = spellingUses.cbegin(); it != spellingUses.cend(); ++it) {
        if (it.value() <= 0)
            continue;
        const std::string folded = foldedUtf8(it.key());
        if (!folded.starts_with(beginning))
            continue;
        Group &group = groups[QByteArray(folded.data(), qsizetype(folded.size()))];
        group.uses += it.value();
        if (it.value() > group.spellingUses || (it.value() == group.spellingUses && it.key() < group.spelling)) {
            group.spelling = it.key();
            group.spellingUses = it.value();
        }
    }
    m_words.reserve(std::size_t(groups.size()));
    for (auto it = groups.cbegin(); it != groups.cend(); ++it)
        m_words.push_back({it.key().toStdString(), {it.value().spelling, it.value().uses}});
    std::sort(m_words.begin(), m_words.end(), [](const Word &a, const Word &b) {
        return a.word.uses != b.word.uses ? a.word.uses > b.word.uses : a.folded < b.folded;
    });
}

std::vector<VocabularyWord> KeywordVocabulary::complete(QStringView prefix, std::size_t limit) const
{
    const std::string folded = foldedUtf8(prefix);
    std::vector<VocabularyWord> found;
    for (const Word &word : m_words) {
        if (limit != 0 && found.size() == limit)
            break;
        if (word.folded.starts_with(folded))
            found.push_back(word.word);
    }
    return found;
}

namespace vocabulary {
namespace {

// Changes of uses per spelling, of each list field.
struct Changes
{
    QHash<QString, long long> keywords;
    QHash<QString, long long> categories;

    QHash<QString, long long> &of(int field) { return field == kKeywordsIndex ? keywords : categories; }
};

void addEntries(QHash<QString, long long> &changes, const QString &value, long long sign)
{
    const QStringList entries = splitList(value);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        // An image holds an entry once, however often and in whatever case its value repeats it.
        const auto earlier = entries.cbegin() + i;
        if (std::none_of(entries.cbegin(), earlier, [&](const QString &e) {
                return e.compare(*earlier, Qt::CaseInsensitive) == 0;
            }))
            changes[*earlier] += sign;
    }
}

// Rows of sign, keywords and categories added to changes.
bool addChanges(CatalogueDb &db, const QString &statement, Changes &changes)
{
    return db.forEachRow(statement, [&](const sqliteEngine::RowView &row) {
        const long long sign = row.text(0).toLongLong();
        addEntries(changes.keywords, row.text(1), sign);
        addEntries(changes.categories, row.text(2), sign);
        return sqliteEngine::RowAnswer::Next;
    }) == 0;
}

bool store(CatalogueDb &db, Changes &changes)
{
    std::vector<std::vector<std::string>> rows;
    for (const int field : {kKeywordsIndex, kSupplementalCategoryIndex}) {
        const QHash<QString, long long> &uses = changes.of(field);
        for (auto it = uses.cbegin(); it != uses.cend(); ++it) {
            if (it.value() != 0)
                rows.push_back({std::to_string(field), it.key().toStdString(), std::to_string(it.value()),
                                foldedUtf8(it.key())});
        }
    }
    return db.executeForEach(vocabularyTables::addUsesStatement(), rows) == 0
           && db.execute(vocabularyTables::removeUnusedStatement()) == 0;
}

// The entries of a table made before the folded spellings, as gains.
bool addKeptEntries(CatalogueDb &db, Changes &changes)
{
    return db.forEachRow(vocabularyTables::allEntriesStatement(), [&](const sqliteEngine::RowView &row) {
        const int field = row.text(0).toInt();
        if (field == kKeywordsIndex || field == kSupplementalCategoryIndex)
            changes.of(field)[row.text(1)] += row.text(2).toLongLong();
        return sqliteEngine::RowAnswer::Next;
    }) == 0;
}

long long countOf(CatalogueDb &db, const QString &statement)
{
    return db.execute(statement) == 0 && db.rowCount() > 0 ? db.cell(0, 1).toLongLong() : -1;
}

enum class Shape {
    Missing,  // no tables, or not all of them
    Unfolded, // the entries without their folded spellings: a table made before them
    Folded,   // entries beginning alike are a range of the folded index
};

Shape shapeOf(CatalogueDb &db)
{
    if (countOf(db, vocabularyTables::countPartsStatement()) != 5)
        return Shape::Missing;
    return countOf(db, vocabularyTables::countFoldedIndexStatement()) == 1 ? Shape::Folded : Shape::Unfolded;
}

bool runAll(CatalogueDb &db, const QStringList &statements)
{
    return std::all_of(statements.cbegin(), statements.cend(),
                       [&](const QString &statement) { return db.execute(statement) == 0; });
}

// Rows of entry and uses of the field handed to onRow: those whose folded spelling begins with
// the folded prefix, or all of them.
bool readEntries(CatalogueDb &db, int field, QStringView prefix, const sqliteEngine::RowHandler &onRow)
{
    const std::string beginning = foldedUtf8(prefix);
    // Beyond the index's order, a catalogue whose text is not UTF-8 is read whole.
    if (beginning.empty() || !textComparesAsUtf8(db))
        return db.forEachRow(vocabularyTables::entriesStatement(field), onRow) == 0;
    const std::optional<std::string> past = pastBeginning(beginning);
    std::vector<std::string> bounds{beginning};
    if (past)
        bounds.push_back(*past);
    return db.forEachRow(vocabularyTables::entriesBeginningStatement(field, past.has_value()), bounds, onRow) == 0;
}

} // namespace

bool update(CatalogueDb &db)
{
    const NoWaitForWriters noWait(db);
    const Shape shape = shapeOf(db);
    if (shape == Shape::Folded && countOf(db, vocabularyTables::countPendingStatement()) == 0)
        return true; // nothing to write: the file is left as it is
    return inWriteTransaction(db, [&] {
        Changes changes;
        switch (shape) {
        case Shape::Missing: // made anew, also over a part left from an older one
            return runAll(db, vocabularyTables::dropStatements()) && runAll(db, vocabularyTables::creationStatements())
                   && addChanges(db, vocabularyTables::imageValuesStatement(), changes) && store(db, changes);
        case Shape::Unfolded: // made again from its own entries, with what is queued
            if (!addKeptEntries(db, changes) || db.execute(vocabularyTables::dropEntriesStatement()) != 0
                || !runAll(db, vocabularyTables::entriesCreationStatements()))
                return false;
            break;
        case Shape::Folded:
            break;
        }
        return addChanges(db, vocabularyTables::queuedChangesStatement(), changes) && store(db, changes)
               && db.execute(vocabularyTables::unqueueStatement()) == 0;
    });
}

bool readsByPrefix(CatalogueDb &db) { return shapeOf(db) == Shape::Folded && textComparesAsUtf8(db); }

std::optional<KeywordVocabulary> read(CatalogueDb &db, int field, QStringView prefix)
{
    QHash<QString, long long> uses;
    const auto addEntry = [&](const sqliteEngine::RowView &row) {
        uses[row.text(0)] += row.text(1).toLongLong();
        return sqliteEngine::RowAnswer::Next;
    };
    Changes changes;
    const Shape shape = shapeOf(db);
    const bool ok = shape == Shape::Missing
                        ? addChanges(db, vocabularyTables::imageValuesStatement(), changes)
                        : readEntries(db, field, shape == Shape::Folded ? prefix : QStringView(), addEntry)
                              && addChanges(db, vocabularyTables::queuedChangesStatement(), changes);
    if (!ok)
        return std::nullopt;
    const QHash<QString, long long> &queued = changes.of(field);
    for (auto it = queued.cbegin(); it != queued.cend(); ++it)
        uses[it.key()] += it.value();
    return KeywordVocabulary(uses, prefix);
}

std::optional<KeywordVocabulary> updateAndRead(CatalogueDb &db, int field, QStringView prefix)
{
    update(db); // a catalogue that takes no writes is read with its queue
    return read(db, field, prefix);
}

std::vector<VocabularyWord> offers(CatalogueDb &db, int field, QStringView prefix, std::size_t limit)
{
    const bool opened = !db.isOpen();
    if (opened && !db.openReadOnly())
        return {};
    const std::optional<KeywordVocabulary> words = read(db, field, prefix);
    if (opened)
        db.close();
    return words ? words->complete(prefix, limit) : std::vector<VocabularyWord>{};
}

} // namespace vocabulary
} // namespace zelvarion
