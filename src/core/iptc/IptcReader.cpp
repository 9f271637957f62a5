#include "core/iptc/IptcReader.h"

#include "core/iptc/IimElsewhere.h"
#include "core/iptc/IptcText.h"
#include "core/iptc/JpegSegments.h"
#include "core/iptc/XmpMirror.h"
#include "core/session/Feedback.h"
#include "core/session/Result.h"
#include "platform/FileNames.h"

#include <QFile>

namespace zelvarion {
namespace {

// What is read of a file before the rest; the segments before a JPEG's image data (Exif with
// its preview, XMP, colour profile, IPTC) nearly always fit in it.
constexpr qint64 kHeadBytes = 128 * 1024;

bool hasIptcCapableExtension(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(path).mid(dot + 1);
    for (const char *known : {"jpeg", "jpg", "tif", "tiff", "psd"})
        if (extension.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Stores one dataset by its number: joined fields grow, single fields take the last value,
// other numbers become customized datasets. The lists keep one entry per dataset.
class DatasetSink
{
public:
    DatasetSink(IptcReadResult &result, const QString &label) : m_result(result), m_label(label) {}

    void store(int number, const QString &value)
    {
        const DatasetLookup lookup = lookupDataset(number);
        if (lookup.kind == DatasetLookup::Kind::Ignored)
            return;
        IptcFieldSet &fields = m_result.fields;
        const QString trimmed = trimBlanks(value);
        if (lookup.kind == DatasetLookup::Kind::Field) {
            if (lookup.index == kKeywordsIndex)
                m_result.keywordEntries << trimmed;
            else if (lookup.index == kSupplementalCategoryIndex)
                m_result.supplementalCategoryEntries << trimmed;
            QString &field = fields.values[std::size_t(lookup.index)];
            field = isJoinedField(lookup.index) ? joinOccurrence(field, value) : trimmed;
            return;
        }
        if (m_customizedCount < kCustomizedSlotCount)
            fields.slots[std::size_t(m_customizedCount)] = {std::int16_t(number), trimmed};
        else
            m_result.moreCustomized.push_back({std::int16_t(number), trimmed});
        ++m_customizedCount;
        fields.values[kCustomizedIndex] += customizedLine(m_label, number, trimmed) + QStringLiteral("\r\n");
    }

private:
    IptcReadResult &m_result;
    const QString &m_label;
    int m_customizedCount = 0;
};

// False when a dataset ran past the end of the data.
bool readDatasets(QByteArrayView data, IptcReadResult &result, const QString &label)
{
    const bool utf8 = declaresUtf8(data);
    DatasetSink sink(result, label);
    return forEachRecord2Dataset(data, [&](int number, QByteArrayView value) {
        sink.store(number, iptctext::decodeValue(value, utf8));
    });
}

// The datasets of an IIM block kept outside an image resource.
void readIimBlock(QByteArrayView block, IptcReadResult &result, const QString &label)
{
    readDatasets(block, result, label);
}

// A file without the image resource: its IIM where other programs keep it, else its XMP.
void readElsewhere(QByteArrayView bytes, IptcReadResult &result, const QString &label)
{
    const bool jpeg = result.fileKind == IptcFileKind::Jpeg;
    const std::pair<std::optional<QByteArrayView> (*)(QByteArrayView), IptcSource> finders[] = {
        {jpeg ? &exifIimTag : &tiffIimTag, jpeg ? IptcSource::ExifTag : IptcSource::TiffTag},
        {jpeg ? &jpegTrailerIim : nullptr, IptcSource::JpegTrailer},
    };
    for (const auto &[find, source] : finders) {
        if (!find)
            continue;
        if (const std::optional<QByteArrayView> block = find(bytes)) {
            readIimBlock(*block, result, label);
            result.source = source;
            return;
        }
    }
    if (!jpeg)
        return;
    const std::optional<XmpSegment> xmp = findXmpSegment(bytes);
    if (!xmp)
        return;
    if (const std::optional<XmpDocument> document = XmpDocument::parse(xmp->packet))
        if (readIimFieldsFromXmp(*document, result))
            result.source = IptcSource::Xmp;
}

// The result of searching bytes, and whether it is final for the file they begin: the resource
// was found, and its datasets were read without reaching the end of the bytes.
struct Search
{
    IptcReadResult result;
    bool final = false;
};

Search searchBytes(QByteArrayView bytes, IptcFileKind fileKind, const QString &customizedLabel, bool headOnly = false)
{
    Search search;
    IptcReadResult &result = search.result;
    result.fileKind = fileKind;
    result.iptcCapable = fileKind != IptcFileKind::NotSearched;
    if (!result.iptcCapable)
        return {result, true};
    const std::optional<IptcResourceLocation> location = findIptcResource(bytes, fileKind == IptcFileKind::Jpeg);
    if (!location) {
        // Only the whole file can tell: a trailer lies at its end. The bytes are searched again
        // whole, so a head gives nothing here.
        if (!headOnly)
            readElsewhere(bytes, result, customizedLabel);
        return search;
    }
    result.segment = location->segment;
    result.source = IptcSource::ImageResource;
    const ByteReader reader(bytes);
    const IptcResourceData data = boundedIptcData(reader, *location);
    result.damage = data.damage;
    if (!readDatasets(data.bytes, result, customizedLabel) && result.damage.isEmpty())
        result.damage = {Message::DamageDatasetPastEnd, {}};
    search.final = !reader.ranOut();
    return search;
}

// Reads until count bytes are in, the file ends or a read fails; the number read.
qint64 readUpTo(QFile &file, char *into, qint64 count)
{
    qint64 total = 0;
    while (total < count) {
        const qint64 got = file.read(into + total, count - total);
        if (got <= 0)
            break;
        total += got;
    }
    return total;
}

IptcFileKind fileKindOf(QByteArrayView bytes, const QString &path)
{
    return iptcFileKind(bytes.first(std::min<qsizetype>(2, bytes.size())), path);
}

} // namespace

QString supportIptcCode(IptcFileKind kind)
{
    switch (kind) {
    case IptcFileKind::Jpeg: return QStringLiteral("1");
    case IptcFileKind::ByExtension: return QStringLiteral("2");
    case IptcFileKind::NotSearched: break;
    }
    return QStringLiteral("0");
}

std::optional<IptcFileKind> fileKindFromSupportIptc(QStringView code)
{
    for (IptcFileKind kind : {IptcFileKind::NotSearched, IptcFileKind::Jpeg, IptcFileKind::ByExtension})
        if (code == supportIptcCode(kind))
            return kind;
    return std::nullopt;
}

IptcFileKind iptcFileKind(QByteArrayView firstBytes, const QString &path)
{
    const ByteReader head(firstBytes);
    if (head.u8(0) == 0xFF || head.u8(1) == 0xD8)
        return IptcFileKind::Jpeg;
    if (!firstBytes.isEmpty() && hasIptcCapableExtension(path))
        return IptcFileKind::ByExtension;
    return IptcFileKind::NotSearched;
}

IptcReadResult readIptcFromBytes(QByteArrayView bytes, const QString &path, const QString &customizedLabel)
{
    return searchBytes(bytes, fileKindOf(bytes, path), customizedLabel).result;
}

std::optional<IptcReadResult> readIptcFromHead(QByteArrayView head, const QString &path, const QString &customizedLabel)
{
    if (head.size() < 2)
        return std::nullopt; // the kind depends on the first two bytes
    Search search = searchBytes(head, fileKindOf(head, path), customizedLabel, true);
    if (!search.final)
        return std::nullopt;
    return std::move(search.result);
}

IptcReadResult readImageIptc(const QString &path, const QString &customizedLabel, Feedback *feedback)
{
    QFile file;
    if (!filenames::openForReading(file, path))
        return {};
    const qint64 size = file.size();
    if (size < 1)
        return {};
    // Files that cannot hold IPTC are not read at all.
    const IptcFileKind fileKind = iptcFileKind(file.peek(2), path);
    if (fileKind == IptcFileKind::NotSearched)
        return {};
    // The beginning first: the resource of nearly every JPEG file lies in the segments before
    // the image data. The rest is read only when the beginning cannot tell, into the same
    // buffer, whose untouched part costs nothing until then.
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 got = readUpTo(file, bytes.data(), std::min(size, kHeadBytes));
    if (got == kHeadBytes && got < size) {
        if (std::optional<IptcReadResult> head = readIptcFromHead(bytes.first(got), path, customizedLabel))
            return std::move(*head);
    }
    if (got == std::min(size, kHeadBytes))
        got += readUpTo(file, bytes.data() + got, size - got);
    bytes.truncate(got);
    IptcReadResult result = searchBytes(bytes, fileKind, customizedLabel).result;
    if (got < size) {
        result.shortRead = true;
        if (feedback)
            feedback->showMessage(messageText(&feedback->language(), Message::ErrorReadingFile, {path}), MessageIcon::Critical);
    }
    return result;
}

} // namespace zelvarion
