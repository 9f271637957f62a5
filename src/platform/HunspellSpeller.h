#pragma once

#include "core/spelling/Speller.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace zelvarion {

// Where the dictionaries are looked for and which one is wanted.
struct DictionaryChoice
{
    QString name;           // "de_DE": the setting's choice; empty: the language pack's
    QString languagePack;   // "English", "French", … as in the Language setting
    QStringList folders;    // empty: $DICPATH, then the system's hunspell and myspell folders
    QString personalFolder; // where the personal dictionaries are kept; empty: the user's data folder
};

// The dictionary name for a language pack: "English" → "en_US", "French" → "fr_FR", otherwise the
// language's default country ("German" → "de_DE").
QString dictionaryNameFor(const QString &languagePack);

// The path of the ".dic" file for the choice (without extension) among the installed ones:
// the exact name, else the first of the same language ("fr_BE" when "fr_FR" is missing); empty
// when none is installed.
QString findDictionary(const DictionaryChoice &choice);

// Opens the chosen dictionary with the personal one of the same name; null when no dictionary is
// installed or it cannot be read.
std::unique_ptr<Speller> openHunspellSpeller(const DictionaryChoice &choice);

} // namespace zelvarion
