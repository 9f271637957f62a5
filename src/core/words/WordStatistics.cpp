#include "core/words/WordStatistics.h"

#include <algorithm>

namespace zelvarion {

int wordGroup(QStringView upperCaseWord)
{
    if (upperCaseWord.isEmpty())
        return kWordGroups - 1;
    const int offset = int(upperCaseWord[0].unicode()) - 65;
    return offset >= 0 && offset < 26 ? offset : kWordGroups - 1;
}

NumberStart::NumberStart(const QLocale &locale)
    : decimalPoint(locale.decimalPoint().front()), negativeSign(locale.negativeSign().front()),
      positiveSign(locale.positiveSign().front()), groupSeparator(locale.groupSeparator().front()),
      exponential(locale.exponential().front())
{
}

bool NumberStart::couldStartNumber(QChar c) const
{
    return c.isDigit() || c == u'-' || c == u'+' || c == decimalPoint || c == negativeSign || c == positiveSign;
}

namespace {

// Digits from i on, with group separators only between digits; the number of digits read.
int digitsAt(QStringView word, qsizetype &i, QChar groupSeparator)
{
    int digits = 0;
    while (i < word.size()) {
        if (word[i].isDigit()) {
            ++digits;
            ++i;
        } else if (word[i] == groupSeparator && digits > 0 && i + 1 < word.size() && word[i + 1].isDigit()) {
            ++i;
        } else {
            break;
        }
    }
    return digits;
}

} // namespace

bool NumberStart::readsAsNumber(QStringView word) const
{
    const auto isSign = [&](QChar c) { return c == u'-' || c == u'+' || c == negativeSign || c == positiveSign; };
    qsizetype i = 0;
    if (i < word.size() && isSign(word[i]))
        ++i;
    int digits = digitsAt(word, i, groupSeparator);
    if (i < word.size() && word[i] == decimalPoint) {
        ++i;
        digits += digitsAt(word, i, QChar());
    }
    if (digits == 0)
        return false;
    if (i < word.size() && (word[i] == exponential || word[i] == u'e' || word[i] == u'E')) {
        ++i;
        if (i < word.size() && isSign(word[i]))
            ++i;
        if (digitsAt(word, i, QChar()) == 0)
            return false;
    }
    return i == word.size();
}

bool readsAsNumber(QStringView word, const QLocale &locale) { return NumberStart(locale).readsAsNumber(word); }

EmptyWordTable::EmptyWordTable(const QStringList &words)
{
    for (const QString &word : words)
        if (!word.isEmpty())
            m_words.insert(word.toUpper());
}

WordCounter::WordCounter(const EmptyWordTable *ignored, QLocale locale)
    : m_ignored(ignored && !ignored->isEmpty() ? ignored : nullptr), m_locale(std::move(locale)),
      m_numberStart(m_locale)
{
    m_upper.reserve(64);
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
    forEachWord(text, m_locale, m_numberStart, [&](QStringView word) {
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
