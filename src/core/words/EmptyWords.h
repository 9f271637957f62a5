#pragma once

#include <QString>
#include <QStringList>

namespace zelvarion {

class IniFile;

// Section "EmptyWords": keys "0Word", "1Word", … in the order of their numbers. A number left
// out or a blank value is skipped rather than ending the list: a hand-edited file or an older
// version may hold such gaps, and stopping there would lose every word after them at the next
// save.
QStringList readEmptyWords(const IniFile &ini);
// Deletes the section and writes the words that are not blank in their order, without gaps.
void writeEmptyWords(const IniFile &ini, const QStringList &words);

// The list of the empty words dialog, kept in alphabetical order without regard to case as
// words are added. Refusals are the messages the dialog shows.
class EmptyWordsList
{
public:
    enum class Refusal { None, AlreadyInList /* message 13 */, NoEntrySelected /* message 14 */, BlankWord };

    explicit EmptyWordsList(QStringList words = {});

    const QStringList &words() const { return m_words; }
    int count() const { return int(m_words.size()); }
    bool containsIgnoringCase(const QString &word) const;

    // Adds the trimmed word at its place; an empty word does nothing. position: where it went.
    Refusal add(const QString &word, int *position = nullptr);
    // The selected entry takes the word as typed, where it stands; the list is not re-sorted. A
    // blank word is refused: it would end the list when read by an older version.
    Refusal replace(int selected, const QString &word);
    // Removes the selected entry; newSelection: the entry now at its place, else the last one
    // (-1 when the list is empty).
    Refusal remove(int selected, int *newSelection = nullptr);

private:
    QStringList m_words;
};

} // namespace zelvarion
