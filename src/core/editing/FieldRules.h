#pragma once

#include "core/iptc/IptcText.h"

#include <QString>
#include <QStringList>
#include <optional>

// The value rules of the edit dialog and its helper dialogs that need no window.
namespace zelvarion::editing {

// A text over the limit it is held to with field-length control on: the lower of its dialog and
// write limits, counted in the bytes the writer will write in `charset`.
struct LengthExcess
{
    int limit;
    qsizetype bytes;
    bool utf8; // counted in UTF-8, where a character may take several bytes
};
// Nothing when the text is within its limit. Lists (Keywords, SupplementalCategory) are checked
// per entry by their entry boxes (entryExceedsLimit), not here.
std::optional<LengthExcess> exceededLimit(int fieldIndex, const QString &text,
                                          iptctext::Charset charset = iptctext::Charset::Windows1252);
std::optional<LengthExcess> entryExceedsLimit(int listIndex, const QString &entry,
                                              iptctext::Charset charset = iptctext::Charset::Windows1252);
// Message 15 with "#" replaced by the field's label and "%" by the limit.
QString tooLongMessage(const QString &message15, const QString &label, int limit);
// Message 15 when bytes are characters (Windows-1252), else message 51 with the bytes too.
QString tooLongMessage(const QString &message15, const QString &message51, const QString &label,
                       const LengthExcess &excess);

// A customized dataset number typed in the edit dialog (1 to 254, not a catalogue number) or in
// the customized names dialog (greater than 0, a 16-bit number, not a catalogue number), and
// whether another row already holds it (both trimmed).
enum class NumberVerdict { Valid, Invalid, Duplicate };
NumberVerdict checkCustomizedNumber(const QString &number, const QStringList &otherRows);
NumberVerdict checkNamedNumber(const QString &number, const QStringList &otherRows);

// The urgency list: entries 0..8 for "1".."9", 9 for none. Saving gives entry + 1, or empty.
int urgencyEntry(const QString &value);
QString urgencyValue(int entry);
// The object cycle list: "a", "p", "b", then none.
int cycleEntry(const QString &value);
QString cycleValue(int entry);

// A list's entries as stored: joined with "; " (an empty list stores the empty text).
QString joinedEntries(const QStringList &entries);
// True when an entry equals text without regard to case (the lists refuse such a twin).
bool hasEntryIgnoringCase(const QStringList &entries, const QString &text);

// "© " put in front of a copyright text unless it already starts with "©".
QString withCopyrightSign(const QString &text);

} // namespace zelvarion::editing
