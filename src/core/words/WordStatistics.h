#pragma once

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

namespace zelvarion {

// Words are filed by their first letter in upper case: A to Z give groups 0 to 25, every other
// first character (digits, accented letters) group 26, so those words follow the ones of Z.
constexpr int kWordGroups = 27;
int wordGroup(QStringView upperCaseWord);

// True when the word reads as a number in the locale (sign, digits, decimal separator,
// exponent): "2005" does, "2005a" does not.
bool readsAsNumber(QStringView word, const QLocale &locale);

// The characters a number of the locale can start with besides digits, asked of the locale once:
// the locale answers slowly, and nearly every word starts with a letter.
struct NumberStart
{
    explicit NumberStart(const QLocale &locale);
    bool couldStartNumber(QChar c) const;
    // The locale's number syntax: a sign, digits (with group separators between them), a decimal
    // part, an exponent.
    bool readsAsNumber(QStringView word) const;
    QChar decimalPoint, negativeSign, positiveSign, groupSeparator, exponential;
};

// Calls take(word) for every word of the text: the text is cut at blanks, line breaks, tabs and
// the characters _ , ; : . ? ! ' " ( ) [ ] { } / \, and words shorter than two characters or
// reading as numbers are dropped. "-" and "&" stay inside words ("e-mail" is one word).
template <typename Take>
void forEachWord(QStringView text, const QLocale &locale, Take &&take);
struct NumberStart;
template <typename Take>
void forEachWord(QStringView text, const QLocale &locale, const NumberStart &numberStart, Take &&take);

// The empty words, upper-cased: words not worth counting.
class EmptyWordTable
{
public:
    EmptyWordTable() = default;
    explicit EmptyWordTable(const QStringList &words);
    bool isEmpty() const { return m_words.isEmpty(); }
    bool contains(const QString &upperCaseWord) const { return m_words.contains(upperCaseWord); }

private:
    QSet<QString> m_words;
};

struct WordCount
{
    QString word;        // spelled as it was first met
    std::uint32_t count = 0;
};

// Counts words without regard to case: Paris, paris and PARIS are one entry spelled Paris.
// Each group holds at most 32 000 entries; a new word beyond that is refused.
class WordCounter
{
public:
    static constexpr int kGroupLimit = 32000;
    enum class Added { Counted, Ignored, GroupFull };

    // ignored: the empty words to leave out; null counts every word.
    explicit WordCounter(const EmptyWordTable *ignored = nullptr, QLocale locale = QLocale());

    Added add(QStringView word);
    // Every word of text; false when a group was full (the words before it are counted).
    bool addText(QStringView text);

    int distinctWords() const { return int(m_entries.size()); }
    // Groups 0 to 26 in order, each in alphabetical order without regard to case.
    std::vector<WordCount> words() const;

private:
    struct Entry
    {
        WordCount word;
        int group;
    };
    const EmptyWordTable *m_ignored;
    QLocale m_locale;
    QHash<QString, int> m_byUpperCase; // index into m_entries
    std::vector<Entry> m_entries;
    std::array<int, kWordGroups> m_groupSizes{};
    QString m_upper; // reused for every word
    NumberStart m_numberStart;
};

// Alphabetical order without regard to case, in the user's language.
class WordOrder
{
public:
    explicit WordOrder(const QLocale &locale = QLocale());
    bool less(const QString &a, const QString &b) const;

private:
    QCollator m_collator;
};

enum class WordSortKey { Word, Count };

// Sorts the words in place; equal keys keep their order.
void sortWords(std::vector<WordCount> &words, WordSortKey key, bool ascending, const WordOrder &order);

// ---------------------------------------------------------------------------------------------

inline bool isWordSeparator(char16_t c)
{
    switch (c) {
    case u' ': case u'\r': case u'\n': case u'\t': case u'_': case u',': case u';': case u':':
    case u'.': case u'?': case u'!': case u'\'': case u'"': case u'(': case u')': case u'[':
    case u']': case u'{': case u'}': case u'/': case u'\\':
        return true;
    default:
        return false;
    }
}

template <typename Take>
void forEachWord(QStringView text, const QLocale &locale, Take &&take)
{
    forEachWord(text, locale, NumberStart(locale), take);
}

template <typename Take>
void forEachWord(QStringView text, const QLocale &, const NumberStart &numberStart, Take &&take)
{
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool separator = i == text.size() || isWordSeparator(text[i].unicode());
        if (!separator) {
            if (start < 0)
                start = i;
            continue;
        }
        if (start >= 0 && i - start >= 2) {
            const QStringView word = text.sliced(start, i - start);
            if (!numberStart.couldStartNumber(word[0]) || !numberStart.readsAsNumber(word))
                take(word);
        }
        start = -1;
    }
}

} // namespace zelvarion
