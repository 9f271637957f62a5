#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace zelvarion::iptctext {

// The character set a block of datasets is written in. Windows-1252 is the 8-bit form every
// older reader expects; UTF-8 is announced by the record-1 dataset 1:90 = ESC % G.
enum class Charset { Windows1252, Utf8 };

// The value of 1:90 that declares UTF-8.
inline QByteArrayView utf8Declaration() { return QByteArrayView("\x1b%G", 3); }

// True when the bytes are well-formed UTF-8 and hold at least one multi-byte sequence: pure
// ASCII decodes the same either way, and 8-bit text almost never forms valid sequences.
bool isNonAsciiUtf8(QByteArrayView bytes);

// A value's text: UTF-8 when the block declares it or the bytes are UTF-8, else Windows-1252.
QString decodeValue(QByteArrayView bytes, bool utf8Declared);

// Bytes of a text in the charset; callers choose Windows-1252 only for texts that fit it.
QByteArray encodeValue(QStringView text, Charset charset);

// Windows-1252 when every text fits it and reads back as itself; otherwise UTF-8, so nothing
// typed is lost and no 8-bit value is mistaken for UTF-8 on the way back.
Charset chooseCharset(const QStringList &texts);

} // namespace zelvarion::iptctext
