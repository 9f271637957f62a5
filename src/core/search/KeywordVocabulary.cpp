#include "core/search/KeywordVocabulary.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/EngineStatements.h"
#include "core/catalogue/VocabularyTables.h"
#include "core/iptc/IptcField.h"
#include "platform/UnicodeFolding.h"

#include <algorithm>
#include <functional>

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

struct Group
{
    QString spelling;
    long long spellingUses = 0;
    long long uses = 0;
};

} // namespace

KeywordVocabulary::KeywordVocabulary(const QHash<QString, long long> &spellingUses)
{
    QHash<QByteArray, Group> groups;
    for (auto it = spellingUses.cbegin(); it != spellingUses.cend(); ++it) {
        if (it.value() <= 0)
            continue;
        const std::string folded = foldedUtf8(it.key());
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
                rows.push_back({std::to_string(field), it.key().toStdString(), std::to_string(it.value())});
        }
    }
    return db.executeForEach(vocabularyTables::addUsesStatement(), rows) == 0
           && db.execute(vocabularyTables::removeUnusedStatement()) == 0;
}

long long countOf(CatalogueDb &db, const QString &statement)
{
    return db.execute(statement) == 0 && db.rowCount() > 0 ? db.cell(0, 1).toLongLong() : -1;
}

bool tablesInPlace(CatalogueDb &db) { return countOf(db, vocabularyTables::countPartsStatement()) == 5; }

bool runAll(CatalogueDb &db, const QStringList &statements)
{
    return std::all_of(statements.cbegin(), statements.cend(),
                       [&](const QString &statement) { return db.execute(statement) == 0; });
}

} // namespace

bool update(CatalogueDb &db)
{
    const NoWaitForWriters noWait(db);
    const bool inPlace = tablesInPlace(db);
    if (inPlace && countOf(db, vocabularyTables::countPendingStatement()) == 0)
        return true; // nothing to write: the file is left as it is
    return inWriteTransaction(db, [&] {
        Changes changes;
        if (!inPlace) // made anew, also over a part left from an older one
            return runAll(db, vocabularyTables::dropStatements()) && runAll(db, vocabularyTables::creationStatements())
                   && addChanges(db, vocabularyTables::imageValuesStatement(), changes) && store(db, changes);
        return addChanges(db, vocabularyTables::queuedChangesStatement(), changes) && store(db, changes)
               && db.execute(vocabularyTables::unqueueStatement()) == 0;
    });
}

std::optional<KeywordVocabulary> read(CatalogueDb &db, int field)
{
    QHash<QString, long long> uses;
    Changes changes;
    bool ok = true;
    if (tablesInPlace(db)) {
        ok = db.forEachRow(vocabularyTables::entriesStatement(field), [&](const sqliteEngine::RowView &row) {
            uses[row.text(0)] += row.text(1).toLongLong();
            return sqliteEngine::RowAnswer::Next;
        }) == 0;
        ok = ok && addChanges(db, vocabularyTables::queuedChangesStatement(), changes);
    } else {
        ok = addChanges(db, vocabularyTables::imageValuesStatement(), changes);
    }
    if (!ok)
        return std::nullopt;
    const QHash<QString, long long> &queued = changes.of(field);
    for (auto it = queued.cbegin(); it != queued.cend(); ++it)
        uses[it.key()] += it.value();
    return KeywordVocabulary(uses);
}

std::optional<KeywordVocabulary> updateAndRead(CatalogueDb &db, int field)
{
    update(db); // a catalogue that takes no writes is read with its queue
    return read(db, field);
}

} // namespace vocabulary
} // namespace zelvarion
