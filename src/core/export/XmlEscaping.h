#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zelvarion {

// Turns a catalogue text into the character data of the export document, as ISO-8859-1 bytes:
// controls below U+0009 become blanks; & " ' < > become entities; the other controls become
// blanks or "-"; the characters Windows-1252 keeps at 0x80 to 0x9F are replaced as the export
// has always written them (the euro sign by the element <euro/>). A character ISO-8859-1 cannot
// hold is written as a numeric character reference, so the document stays well formed and
// nothing of a UTF-8 caption is lost.
void appendEscapedXmlText(QByteArray &out, QStringView text);

// The same for the engine's UTF-8 bytes (bytes that are no UTF-8 read as QString::fromUtf8 reads
// them). ASCII, nearly every catalogue value, is escaped straight from the bytes.
void appendEscapedXmlUtf8(QByteArray &out, QByteArrayView utf8);

// The same as text, for tests and small callers.
QString escapeXmlText(QStringView text);

} // namespace zelvarion
