#pragma once

// The texts zelvarion-cli prints besides the core's: counted texts of the language pack, names a
// line-based reader can split, and dates scripts can read.
#include "core/session/LanguagePack.h"
#include "core/session/PackText.h"

#include <QDate>
#include <QString>

#include <initializer_list>
#include <utility>

namespace zelvarion::cli {

// A text of the command line's own in the pack's words (English when the pack has none).
inline QString textOf(const LanguagePack &pack, const NamedText &text) { return pack.commandLineText(text); }

// Counted texts ("one|other") are composed as the windows compose them.
using zelvarion::counted;

// The text with each placeholder character ("#", "%", "$") replaced by its value in one pass, so a
// value holding such a character (a file named "100%.jpg") is inserted as it is.
QString filled(const QString &text, std::initializer_list<std::pair<QChar, QString>> values);

// A message of the pack with the given line after it: "Text: path" on one line.
QString withSubject(const LanguagePack &pack, Message key, const QString &subject);

// A name on a line of plain output: backslash, line feed, carriage return and tab as \\, \n, \r
// and \t, so a reader splitting on tabs and lines gets every name whole.
QString escapedName(QString name);

// A date as ISO 8601 (yyyy-MM-dd) from the short form of the locale the window writes marks in;
// the text itself when it is not such a date (a mark written by hand, or in another locale).
QString isoDateFromMark(const QString &mark);

// "yyyy-MM-ddThh:mm:ss" from a stamp of the edit dialog's date and time forms of the locale
// (a template's last saving); the text itself when it is not one.
QString isoFromRevisionStamp(const QString &stamp);

} // namespace zelvarion::cli
