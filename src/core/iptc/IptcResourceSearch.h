#pragma once

#include "core/session/LanguageKeys.h"
#include "platform/ByteReader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace zelvarion {

class LanguagePack;

// Position j of the bytes 0xFF 0xED of an APP13 segment and the length L that follows them.
// For the writer the position may cover a run of such segments: length then counts the bytes
// of them all but the first marker's two.
struct JpegSegmentPosition
{
    qsizetype marker;
    qsizetype length;
};

// Where the first "8BIM" 0x0404 resource lies, and for JPEG files the segment it was found in.
struct IptcResourceLocation
{
    qsizetype resource; // position k of "8BIM"
    std::optional<JpegSegmentPosition> segment;
};

// The first 0x0404 resource. JPEG files are searched inside every 0xFF 0xED candidate, in file
// order, whether or not it lies on the segment chain; other files from position 4 on. The
// search only moves forward and gives up at the end of the bytes, so a resource found in the
// beginning of a file is the one the whole file gives; not finding it there says nothing.
std::optional<IptcResourceLocation> findIptcResource(QByteArrayView bytes, bool jpeg);

// The data of the resource, bounded by what holds it. In a JPEG file that is its APP13 segment
// and, for a resource longer than one segment, the "Photoshop 3.0" APP13 segments right after it,
// into which other programs split large IIM blocks; in other files the end of the bytes. What the
// declared size claims beyond them is a damaged resource, never data.
// What is damaged in a resource, as a message of the pack and its values, so the command or
// window that reports it words it in its own language (damageText).
struct IptcDamage
{
    Message message{}; // none when the resource is whole
    QStringList arguments;

    bool isEmpty() const { return message == Message{}; }
    friend bool operator==(const IptcDamage &, const IptcDamage &) = default;
};

// The damage in the words of language (English when none); empty when there is none.
QString damageText(const IptcDamage &damage, const LanguagePack *language = nullptr);

struct IptcResourceData
{
    QByteArray bytes;  // the data as far as the holders reach
    IptcDamage damage; // empty when the resource is whole
};
IptcResourceData boundedIptcData(const ByteReader &bytes, const IptcResourceLocation &location);

// Calls visit(number, value bytes) for every record-2 dataset in data, in order. A value ends at
// its first zero byte. False when a dataset's declared length runs past the end of data (its
// value is then cut there).
bool forEachRecord2Dataset(QByteArrayView data, const std::function<void(int number, QByteArrayView value)> &visit);

// True when the data carry the record-1 dataset 1:90 with ESC % G (the UTF-8 declaration).
bool declaresUtf8(QByteArrayView data);

} // namespace zelvarion
