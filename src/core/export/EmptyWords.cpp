#include "core/export/EmptyWords.h"

#include "core/shell/TextRules.h"
#include "platform/IniFile.h"

#include <QList>
#include <algorithm>
#include <utility>

namespace zelvarion {
namespace {

const QString &section()
{
    static const QString name = QStringLiteral("EmptyWords");
    return name;
}

QString keyOf(int n) { return QString::number(n) + QStringLiteral("Word"); }

} // namespace

QStringList readEmptyWords(const IniFile &ini)
{
    QStringList words;
    for (int n = 0;; ++n) {
        const std::optional<QString> word = ini.read(section(), keyOf(n));
        if (!word)
            return words;
        words << *word;
    }
}

void writeEmptyWords(const IniFile &ini, const QStringList &words)
{
    QList<std::pair<QString, QString>> entries;
    for (int n = 0; n < words.size(); ++n)
        entries.append({keyOf(n), words[n]});
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
