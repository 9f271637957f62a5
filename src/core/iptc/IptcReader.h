#pragma once

#include "core/iptc/IptcField.h"
#include "core/iptc/IptcResourceSearch.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zelvarion {

class Feedback;

// What a file's first bytes and name say about where its IPTC may lie.
enum class IptcFileKind {
    NotSearched, // neither of the others: the file is not searched for IPTC
    Jpeg,        // the first byte is 0xFF or the second 0xD8
    ByExtension, // not a JPEG by its first bytes, but named .jpeg, .jpg, .tif, .tiff or .psd
};

// The kind as the SupportIPTC column of Images stores it: "0", "1" or "2"; and back (nothing for
// any other text).
QString supportIptcCode(IptcFileKind kind);
std::optional<IptcFileKind> fileKindFromSupportIptc(QStringView code);

// Where the values of a file were found. The image resource 0x0404 is always looked for first;
// the others only count in a file without it.
enum class IptcSource {
    None,          // no IPTC found
    ImageResource, // an 8BIM 0x0404 resource
    TiffTag,       // TIFF tag 33723 of a TIFF file
    ExifTag,       // tag 33723 in a JPEG file's Exif data
    JpegTrailer,   // an IIM block after a JPEG file's end-of-image marker
    Xmp,           // the XMP properties that mirror the IIM fields
};

struct IptcReadResult
{
    IptcFieldSet fields;
    std::vector<CustomizedDataset> moreCustomized; // customized datasets past the 16 slots, in file order
    QStringList keywordEntries;                    // one trimmed entry per 2:25 dataset, in file order
    QStringList supplementalCategoryEntries;       // one per 2:20 dataset
    IptcFileKind fileKind = IptcFileKind::NotSearched;
    bool iptcCapable = false;
    std::optional<JpegSegmentPosition> segment; // JPEG only, where the 0x0404 resource was found
    bool shortRead = false;
    IptcSource source = IptcSource::None;
    // Why the 0x0404 resource is damaged (its size claims more than the segments holding it, or
    // a dataset runs past its end); empty when whole. Its datasets are read as far as they lie
    // within it, and the file must not be rewritten: that would make the damage lasting.
    IptcDamage damage;
};

// Reads the record-2 datasets of one image file: its first 128 KiB, and the rest only when they
// do not settle the result (readIptcFromHead). A file that cannot be opened or is empty gives
// NotSearched and the empty set; a short read is reported through feedback and still searched.
// customizedLabel is interface string 133, the label of the lines of the Customized value.
IptcReadResult readImageIptc(const QString &path, const QString &customizedLabel, Feedback *feedback = nullptr);

// The same on bytes already in memory; path only gives the name extension.
IptcReadResult readIptcFromBytes(QByteArrayView bytes, const QString &path, const QString &customizedLabel);

// The result from the first bytes of a file alone, when they settle it: exactly what the whole
// file gives. They settle it when the resource is found in them and its datasets are read
// without reaching their end (a file that cannot hold IPTC is settled by its first two bytes);
// nothing otherwise, and only the whole file can tell.
std::optional<IptcReadResult> readIptcFromHead(QByteArrayView head, const QString &path, const QString &customizedLabel);

// The kind of a file from its first bytes and its name.
IptcFileKind iptcFileKind(QByteArrayView firstBytes, const QString &path);

} // namespace zelvarion
