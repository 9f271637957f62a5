#include "core/words/EmptyWords.h"

#include "core/session/TextRules.h"
#include "platform/IniFile.h"

#include <QList>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace zelvarion {
namespace {

const QString &section()
{
    static const QString name = QStringLiteral("EmptyWords");
    return name;
}

QString keyOf(int n) { return QString::number(n) + QStringLiteral("Word"); }

// The number n of a key "nWord"; nothing for any other key.
std::optional<int> wordKeyNumber(const QString &key)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})Word$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(key);
    return match.hasMatch() ? std::optional<int>(match.captured(1).toInt()) : std::nullopt;
}

} // namespace

QStringList readEmptyWords(const IniFile &ini)
{
    std::map<int, QString> numbered;
    for (const QString &key : ini.keys(section())) {
        const std::optional<int> n = wordKeyNumber(key);
        if (!n || numbered.contains(*n))
            continue;
        const QString word = ini.read(section(), key).value_or(QString()).trimmed();
        if (!word.isEmpty())
            numbered.emplace(*n, word);
    }
    QStringList words;
    for (const auto &entry : numbered)
        words << entry.second;
    return words;
}

void writeEmptyWords(const IniFile &ini, const QStringList &words)
{
    QList<std::pair<QString, QString>> entries;
    for (const QString &word : words)
        if (!word.trimmed().isEmpty())
            entries.append({keyOf(int(entries.size())), word});
    ini.replaceSection(section(), entries);
}

EmptyWordsList::EmptyWordsList(QStringList words) : m_words(std::move(words))
{
    std::stable_sort(m_words.begin(), m_words.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

bool EmptyWordsList::containsIgnoringCase(const QString &word) const
{
    return m_words.contains(word, Qt::CaseInsensitive);
}

EmptyWordsList::Refusal EmptyWordsList::add(const QString &typed, int *position)
{
    const QString word = trimBlanks(typed);
    if (word.isEmpty())
        return Refusal::None;
    if (containsIgnoringCase(word))
        return Refusal::AlreadyInList;
    const auto at = std::upper_bound(m_words.begin(), m_words.end(), word, [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    const int index = int(at - m_words.begin());
    m_words.insert(index, word);
    if (position)
        *position = index;
    return Refusal::None;
}

EmptyWordsList::Refusal EmptyWordsList::replace(int selected, const QString &word)
{
    if (selected < 0 || selected >= count())
        return Refusal::NoEntrySelected;
    if (word.trimmed().isEmpty()) // blanks, tabs: nothing a text could match
        return Refusal::BlankWord;
    if (containsIgnoringCase(word))
        return Refusal::AlreadyInList;
    m_words[selected] = word;
    return Refusal::None;
}

EmptyWordsList::Refusal EmptyWordsList::remove(int selected, int *newSelection)
{
    if (selected < 0 || selected >= count())
        return Refusal::NoEntrySelected;
    m_words.removeAt(selected);
    if (newSelection)
        *newSelection = std::min(selected, count() - 1);
    return Refusal::None;
}

} // namespace zelvarion
