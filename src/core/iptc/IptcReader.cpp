#include "core/iptc/IptcReader.h"

#include "core/iptc/IptcText.h"
#include "core/shell/Feedback.h"

#include <QFile>

namespace zelvarion {
namespace {

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
// other numbers become customized datasets.
class DatasetSink
{
public:
    DatasetSink(IptcFieldSet &fields, const QString &label) : m_fields(fields), m_label(label) {}

    void store(int number, const QString &value)
    {
        const DatasetLookup lookup = lookupDataset(number);
        if (lookup.kind == DatasetLookup::Kind::Ignored)
            return;
        if (lookup.kind == DatasetLookup::Kind::Field) {
            QString &field = m_fields.values[std::size_t(lookup.index)];
            field = isJoinedField(lookup.index) ? joinOccurrence(field, value) : trimBlanks(value);
            return;
        }
        const QString trimmed = trimBlanks(value);
        if (m_customizedCount < kCustomizedSlotCount) {
            CustomizedDataset &slot = m_fields.slots[std::size_t(m_customizedCount)];
            slot.number = std::int16_t(number);
            slot.value = trimmed;
        }
        ++m_customizedCount;
        m_fields.values[kCustomizedIndex] += customizedLine(m_label, number, trimmed) + QStringLiteral("\r\n");
    }

private:
    IptcFieldSet &m_fields;
    const QString &m_label;
    int m_customizedCount = 0;
};

void readDatasets(QByteArrayView fileBytes, qsizetype resource, IptcFieldSet &fields, const QString &label)
{
    const ByteReader bytes(fileBytes);
    const std::optional<IptcDataSpan> span = iptcDataSpan(bytes, resource);
    if (!span)
        return;
    const bool utf8 = declaresUtf8(bytes, *span);
    DatasetSink sink(fields, label);
    forEachRecord2Dataset(bytes, *span, [&](int number, QByteArrayView value) {
        sink.store(number, iptctext::decodeValue(value, utf8));
    });
}

IptcReadResult searchFile(QByteArrayView bytes, IptcFileKind fileKind, const QString &customizedLabel)
{
    IptcReadResult result;
    result.fileKind = fileKind;
    result.iptcCapable = fileKind != IptcFileKind::NotSearched;
    if (!result.iptcCapable)
        return result;
    const std::optional<IptcResourceLocation> location = findIptcResource(bytes, fileKind == IptcFileKind::Jpeg);
    if (!location)
        return result;
    result.segment = location->segment;
    readDatasets(bytes, location->resource, result.fields, customizedLabel);
    return result;
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
    return searchFile(bytes, iptcFileKind(bytes.first(std::min<qsizetype>(2, bytes.size())), path), customizedLabel);
}

IptcReadResult readImageIptc(const QString &path, const QString &customizedLabel, Feedback *feedback)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    if (size < 1)
        return {};
    // Only files that may hold IPTC are read whole.
    const IptcFileKind fileKind = iptcFileKind(file.peek(2), path);
    if (fileKind == IptcFileKind::NotSearched)
        return {};
    const QByteArray bytes = file.read(size);
    IptcReadResult result = searchFile(bytes, fileKind, customizedLabel);
    if (bytes.size() < size) {
        result.shortRead = true;
        if (feedback)
            feedback->showMessage(QStringLiteral("Error reading file ") + path, MessageIcon::Critical);
    }
    return result;
}

} // namespace zelvarion
