#include "core/iptc/IptcText.h"

#include "platform/Windows1252.h"

namespace zelvarion::iptctext {
namespace {

// Length of the well-formed UTF-8 sequence starting at bytes[i], or 0 when it is malformed
// (overlong forms, surrogates and code points above U+10FFFF included).
int sequenceLength(QByteArrayView bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    return length;
}

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

bool isNonAsciiUtf8(QByteArrayView bytes)
{
    bool multiByte = false;
    for (qsizetype i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const int length = sequenceLength(bytes, i);
        if (length == 0)
            return false;
        multiByte = true;
        i += length;
    }
    return multiByte;
}

QString decodeValue(QByteArrayView bytes, bool utf8Declared)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (utf8Declared || isNonAsciiUtf8(bytes))
        return QString::fromUtf8(bytes);
    return windows1252::decode(bytes);
}

QByteArray encodeValue(QStringView text, Charset charset)
{
    return charset == Charset::Utf8 ? text.toUtf8() : windows1252::encode(text);
}

Charset chooseCharset(const QStringList &texts)
{
    for (const QString &text : texts) {
        if (!windows1252::canEncode(text))
            return Charset::Utf8;
        if (isNonAsciiUtf8(windows1252::encode(text)))
            return Charset::Utf8;
    }
    return Charset::Windows1252;
}

} // namespace zelvarion::iptctext
