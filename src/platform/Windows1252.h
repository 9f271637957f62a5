#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zelvarion::windows1252 {

// Every byte decodes to one character; the five unassigned bytes map to the C1 controls of the
// same value, as the platform's own ANSI code page does.
QString decode(QByteArrayView bytes);

// True when every character has a Windows-1252 byte.
bool canEncode(QStringView text);

// One byte per character; a character without a byte becomes '?'. Callers that must not lose
// text test canEncode first.
QByteArray encode(QStringView text);

} // namespace zelvarion::windows1252
