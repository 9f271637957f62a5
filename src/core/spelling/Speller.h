#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zelvarion {

// A dictionary opened for one spell-check command: it answers for single words, and what is
// ignored or added lasts until the command ends (added words also stay in the personal
// dictionary for later commands).
class Speller
{
public:
    virtual ~Speller() = default;
    virtual bool isCorrect(const QString &word) = 0;
    virtual QStringList suggestions(const QString &word) = 0;
    // "Ignore all": the word counts as correct for the rest of the command.
    virtual void ignoreAll(const QString &word) = 0;
    // "Add": the word goes into the personal dictionary; false when it could not be saved.
    virtual bool addToPersonalDictionary(const QString &word) = 0;
};

// The program-wide spelling service: opens a speller for each command, and is switched off for
// the rest of the run as soon as one cannot be opened, from any command (the edit dialog's
// buttons and the word statistics share the switch).
class SpellingService
{
public:
    using Opener = std::function<std::unique_ptr<Speller>()>;
    explicit SpellingService(Opener opener = {}) : m_opener(std::move(opener)) {}

    bool available() const { return m_available; }
    // The speller for one command; null, and the service off, when none can be opened.
    std::unique_ptr<Speller> start();
    void setOpener(Opener opener) { m_opener = std::move(opener); }

private:
    Opener m_opener;
    bool m_available = true;
};

// The answer of the interactive correction of one text.
struct Correction
{
    enum class Outcome { Finished, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    QString text; // the corrected text (with the corrections made before a Cancel)
};

// The interactive correction dialog: shows each unknown word of the text with its suggestions
// and returns the corrected text. The window program shows frmSpelling; tests script it.
class TextCorrector
{
public:
    virtual ~TextCorrector() = default;
    virtual Correction correct(Speller &speller, const QString &text) = 0;
};

} // namespace zelvarion
