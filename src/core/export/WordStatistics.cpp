#include "core/export/WordStatistics.h"

#include <algorithm>

namespace zelvarion {

int wordGroup(QStringView upperCaseWord)
{
    if (upperCaseWord.isEmpty())
        return kWordGroups - 1;
    const int offset = int(upperCaseWord[0].unicode()) - 65;
    return offset >= 0 && offset < 26 ? offset : kWordGroups - 1;
}

bool readsAsNumber(QStringView word, const QLocale &locale)
{
    // Words start with a letter far more often than not: only those that could be a number go
    // to the locale's parser.
    const QChar first = word.isEmpty() ? QChar() : word[0];
    if (!first.isDigit() && first != u'-' && first != u'+' && first != locale.decimalPoint().front()
        && first != locale.negativeSign().front() && first != locale.positiveSign().front())
        return false;
    if (std::none_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); }))
        return false;
    bool ok = false;
    locale.toDouble(word, &ok);
    return ok;
}

EmptyWordTable::EmptyWordTable(const QStringList &words)
{
    for (const QString &word : words)
        if (!word.isEmpty())
            m_words.insert(word.toUpper());
}

WordCounter::WordCounter(const EmptyWordTable *ignored, QLocale locale)
    : m_ignored(ignored && !ignored->isEmpty() ? ignored : nullptr), m_locale(std::move(locale))
{
}

namespace {

// Upper case into a reused buffer; ASCII, nearly every word, without the general case mapping.
void toUpperInto(QStringView word, QString &out)
{
    const bool ascii = std::all_of(word.begin(), word.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii) {
        out = word.toString().toUpper();
        return;
    }
    out.resize(word.size());
    QChar *data = out.data();
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t c = word[i].unicode();
        data[i] = QChar(c >= u'a' && c <= u'z' ? char16_t(c - 32) : c);
    }
}

} // namespace

WordCounter::Added WordCounter::add(QStringView word)
{
    toUpperInto(word, m_upper);
    if (m_ignored && m_ignored->contains(m_upper))
        return Added::Ignored;
    const auto found = m_byUpperCase.constFind(m_upper);
    if (found != m_byUpperCase.cend()) {
        ++m_entries[std::size_t(*found)].word.count;
        return Added::Counted;
    }
    const int group = wordGroup(m_upper);
    if (m_groupSizes[std::size_t(group)] >= kGroupLimit)
        return Added::GroupFull;
    ++m_groupSizes[std::size_t(group)];
    m_byUpperCase.insert(QString(m_upper.constData(), m_upper.size()), int(m_entries.size()));
    m_entries.push_back({{word.toString(), 1}, group});
    return Added::Counted;
}

bool WordCounter::addText(QStringView text)
{
    bool full = false;
    forEachWord(text, m_locale, [&](QStringView word) {
        if (!full && add(word) == Added::GroupFull)
            full = true;
    });
    return !full;
}

std::vector<WordCount> WordCounter::words() const
{
    const WordOrder order(m_locale);
    std::vector<const Entry *> sorted;
    sorted.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        sorted.push_back(&entry);
    std::sort(sorted.begin(), sorted.end(), [&](const Entry *a, const Entry *b) {
        if (a->group != b->group)
            return a->group < b->group;
        return order.less(a->word.word, b->word.word);
    });
    std::vector<WordCount> words;
    words.reserve(sorted.size());
    for (const Entry *entry : sorted)
        words.push_back(entry->word);
    return words;
}

WordOrder::WordOrder(const QLocale &locale) : m_collator(locale)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

bool WordOrder::less(const QString &a, const QString &b) const
{
    const int byCollation = m_collator.compare(a, b);
    if (byCollation != 0)
        return byCollation < 0;
    const int byFolding = a.compare(b, Qt::CaseInsensitive);
    return byFolding != 0 ? byFolding < 0 : a < b;
}

void sortWords(std::vector<WordCount> &words, WordSortKey key, bool ascending, const WordOrder &order)
{
    std::stable_sort(words.begin(), words.end(), [&](const WordCount &a, const WordCount &b) {
        if (key == WordSortKey::Count)
            return ascending ? a.count < b.count : a.count > b.count;
        return ascending ? order.less(a.word, b.word) : order.less(b.word, a.word);
    });
}

} // namespace zelvarion
