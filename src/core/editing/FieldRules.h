#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The value rules of the edit dialog and its helper dialogs that need no window.
namespace zelvarion::editing {

// The dialog limit a text passes with field-length control on; nothing when it is within it.
// Lists (Keywords, SupplementalCategory) are checked per entry by their entry boxes, not here.
std::optional<int> exceededLimit(int fieldIndex, const QString &text);
// Message 15 with "#" replaced by the field's label and "%" by the limit.
QString tooLongMessage(const QString &message15, const QString &label, int limit);

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
