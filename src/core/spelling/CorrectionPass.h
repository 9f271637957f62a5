#pragma once

#include <QString>
#include <QStringList>

namespace zelvarion {

class Speller;

// Walks the unknown words of one text, the way the correction dialog shows them: next() moves
// to the next word the speller does not know, and the actions change the text or the speller.
class CorrectionPass
{
public:
    CorrectionPass(Speller &speller, QString text);

    // Moves past the current word to the next unknown one; false at the end of the text.
    bool next();

    const QString &text() const { return m_text; }
    qsizetype wordStart() const { return m_start; }
    qsizetype wordLength() const { return m_length; }
    QString word() const { return m_text.mid(m_start, m_length); }
    QStringList suggestions() const;

    // Replaces the current word.
    void change(const QString &replacement);
    // Replaces the current word and every later occurrence of it as a whole word in this text.
    void changeAll(const QString &replacement);
    void ignore() {}
    void ignoreAll();
    // False when the personal dictionary could not be saved (the word is still accepted).
    bool addToDictionary();

private:
    bool findWordFrom(qsizetype from);

    Speller &m_speller;
    QString m_text;
    qsizetype m_start = 0;
    qsizetype m_length = 0;
    qsizetype m_resume = 0; // where next() looks from
};

// The words of a text as the speller is asked about them: letters and digits, with apostrophes
// and hyphens between letters ("l'eau", "e-mail"); words of digits only are not asked about.
bool isSpellingWordCharacter(QChar c);

} // namespace zelvarion
