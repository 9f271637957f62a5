#pragma once

// Texts composed from a language pack the same way by the windows and the command line: counted
// words in the form their number takes, a label before its value, and the locale that dates,
// times and numbers follow.
#include "core/session/LanguagePack.h"

#include <QLocale>
#include <QString>

#include <initializer_list>
#include <utility>

namespace zelvarion {

// A counted text "one|other" of the pack with "#" replaced by count: the first form for the
// counts the pack's PluralOneCounts lists, else the second; a text of one form is used as it is.
QString counted(const LanguagePack &pack, Message key, long long count);

// A text of several counts: each group "{one|other}" takes the form of the count whose
// placeholder stands nearest before it (the first count when none does), then every
// placeholder of a count is replaced by its number. Other placeholders stay for the caller.
QString countedText(const LanguagePack &pack, const QString &text,
                    std::initializer_list<std::pair<QChar, long long>> counts);

// "Label: " as the pack's language writes it ("Label : " in French), ready for the value.
QString withColon(const LanguagePack &pack, const QString &label);

// The locale of the pack: the one it names, else the language its file is named after (in English
// or in that language: "German.lng", "Deutsch.lng"), else the system's; the system's too when it
// speaks that language, for the conventions of the user's country. Dates, times and numbers follow it, and the toolkit's own texts its language.
QLocale packLocale(const LanguagePack &pack);

} // namespace zelvarion
