#include "core/iptc/IptcWriter.h"

#include "core/iptc/IptcText.h"
#include "core/iptc/JpegSegments.h"
#include "core/shell/AppSettings.h"
#include "platform/AtomicFile.h"
#include "platform/ByteReader.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelvarion {
namespace {

using iptctext::Charset;

// One dataset to write: a field or slot text cut in place, or a list entry cut as a copy.
struct PendingDataset
{
    int number;
    QString text;
    int limit;
    QString *cutInPlace = nullptr;
};

void addField(std::vector<PendingDataset> &pending, IptcFieldSet &values, int index)
{
    const IptcField &field = iptcField(index);
    QString &value = values.values[std::size_t(index)];
    pending.push_back({field.dataset, value, field.writeLimit, &value});
}

void addList(std::vector<PendingDataset> &pending, int index, const QStringList &entries)
{
    const IptcField &field = iptcField(index);
    for (const QString &entry : entries)
        pending.push_back({field.dataset, entry, field.writeLimit, nullptr});
}

// The datasets in file order: numeric order, with the lists in place of their joined texts.
std::vector<PendingDataset> datasetsInFileOrder(IptcFieldSet &values, const QStringList &keywords,
                                                const QStringList &supplementalCategories,
                                                std::span<const CustomizedDataset> moreCustomized)
{
    std::vector<PendingDataset> pending;
    for (int index : {0, 1, 2, 3})
        addField(pending, values, index);
    addList(pending, kSupplementalCategoryIndex, supplementalCategories);
    addField(pending, values, 5);
    addList(pending, kKeywordsIndex, keywords);
    for (int index = 7; index <= 26; ++index)
        addField(pending, values, index);
    for (int index : {28, 29, 27, 30, 31, 32, 33})
        addField(pending, values, index);
    for (CustomizedDataset &slot : values.slots)
        if (slot.number >= 1 && slot.number <= 255)
            pending.push_back({slot.number, slot.value, iptcField(kCustomizedIndex).writeLimit, &slot.value});
    for (const CustomizedDataset &more : moreCustomized)
        if (more.number >= 1 && more.number <= 255)
            pending.push_back({more.number, more.value, iptcField(kCustomizedIndex).writeLimit, nullptr});
    return pending;
}

// Cuts every text for the charset; Windows-1252 is kept when every cut text fits it.
Charset cutForCharset(std::vector<PendingDataset> &pending)
{
    QStringList cut;
    for (PendingDataset &dataset : pending) {
        dataset.text = iptctext::cutToLimit(dataset.text, dataset.limit, Charset::Windows1252);
        cut << dataset.text;
    }
    if (iptctext::chooseCharset(cut) == Charset::Windows1252)
        return Charset::Windows1252;
    for (PendingDataset &dataset : pending) {
        const QString original = dataset.cutInPlace ? *dataset.cutInPlace : dataset.text;
        dataset.text = iptctext::cutToLimit(original, dataset.limit, Charset::Utf8);
    }
    return Charset::Utf8;
}

void appendDataset(QByteArray &data, int record, int number, QByteArrayView value)
{
    data += char(0x1C);
    data += char(record);
    data += char(number);
    appendUint16(data, quint16(value.size()));
    data += value;
}

QByteArray encodeDatasets(const std::vector<PendingDataset> &pending, Charset charset)
{
    QByteArray data;
    for (const PendingDataset &dataset : pending)
        if (!dataset.text.isEmpty())
            appendDataset(data, 2, dataset.number, iptctext::encodeValue(dataset.text, charset));
    if (!data.isEmpty() && charset == Charset::Utf8)
        data.prepend([] {
            QByteArray declaration;
            appendDataset(declaration, 1, 90, iptctext::utf8Declaration());
            return declaration;
        }());
    return data;
}

QByteArray iptcResourceBlock(const QByteArray &data, bool padToEven)
{
    QByteArray block("8BIM\x04\x04\x00\x00", 8);
    appendUint16(block, 0);
    appendUint16(block, quint16(data.size()));
    block += data;
    if (padToEven && data.size() % 2 != 0)
        block += '\0';
    return block;
}

} // namespace

IptcSegment buildIptcSegment(IptcFieldSet &values, const QStringList &keywords,
                             const QStringList &supplementalCategories, QByteArrayView otherResources,
                             std::span<const CustomizedDataset> moreCustomized)
{
    std::vector<PendingDataset> pending = datasetsInFileOrder(values, keywords, supplementalCategories, moreCustomized);
    const Charset charset = cutForCharset(pending);
    for (const PendingDataset &dataset : pending)
        if (dataset.cutInPlace)
            *dataset.cutInPlace = dataset.text;

    IptcSegment segment;
    segment.utf8 = charset == Charset::Utf8;
    const QByteArray data = encodeDatasets(pending, charset);
    segment.iimData = data;
    if (data.isEmpty() && otherResources.isEmpty())
        return segment;
    QByteArray resources = data.isEmpty() ? QByteArray() : iptcResourceBlock(data, !otherResources.isEmpty());
    resources += otherResources;
    const qsizetype length = 2 + 14 + resources.size();
    if (length > kMaxSegmentLength) {
        segment.tooLong = true;
        return segment;
    }
    segment.bytes = QByteArray("\xFF\xED", 2);
    appendUint16(segment.bytes, quint16(length));
    segment.bytes += QByteArrayView("Photoshop 3.0\0", 14);
    segment.bytes += resources;
    return segment;
}

QByteArray composeJpegContent(QByteArrayView content, std::optional<JpegSegmentPosition> oldSegment,
                              const IptcSegment &newSegment, SegmentPlacement placement)
{
    QByteArray rest = content.toByteArray();
    const bool oldIsValid =
        oldSegment && oldSegment->marker >= 2 && oldSegment->marker + 2 + oldSegment->length <= rest.size();
    if (oldIsValid)
        rest.remove(oldSegment->marker, oldSegment->length + 2);
    if (newSegment.isEmpty())
        return rest;
    if (oldIsValid && placement == SegmentPlacement::InPlaceOfOld)
        return rest.insert(oldSegment->marker, newSegment.bytes);
    QByteArray composed;
    composed.reserve(rest.size() + newSegment.bytes.size());
    composed += QByteArrayView("\xFF\xD8", 2);
    composed += newSegment.bytes;
    composed += QByteArrayView(rest).sliced(std::min<qsizetype>(2, rest.size()));
    return composed;
}

bool rewriteJpegFile(const QString &path, QByteArrayView content, std::optional<JpegSegmentPosition> oldSegment,
                     const IptcSegment &newSegment, QString *error, SegmentPlacement placement)
{
    const atomicfile::Result result =
        atomicfile::replaceFileContent(path, composeJpegContent(content, oldSegment, newSegment, placement));
    if (!result.ok && error)
        *error = result.error;
    return result.ok;
}

bool restoreModificationTime(const QString &path, const QDateTime &modificationTime)
{
    if (!modificationTime.isValid())
        return false;
    return filenames::setLastWrite(path, modificationTime);
}

IptcWriteOptions iptcWriteOptionsFrom(const AppSettings &settings)
{
    return {settings.saveOriginalFile, settings.saveFirstVersion, settings.saveFolder, settings.keepCreationDate};
}

BackupResult backupOriginalContent(const QString &path, QByteArrayView content, const QString &backupName,
                                   const IptcWriteOptions &options)
{
    if (!options.saveOriginalFile)
        return {};
    if (options.saveFolder.isEmpty())
        return {false, QStringLiteral("no backup folder is set")};
    if (!QFileInfo(options.saveFolder).isDir())
        return {false, QStringLiteral("the backup folder '%1' does not exist").arg(options.saveFolder)};
    // The folder is stored ending with a separator; a hand-edited one without it still names the
    // folder, not a prefix of the file name.
    const QString backupPath = QDir(options.saveFolder).filePath(backupName);
    // A backup folder that is the image's own folder would "back up" the file onto itself.
    if (QFileInfo::exists(backupPath) && QFileInfo(backupPath).canonicalFilePath() == QFileInfo(path).canonicalFilePath())
        return {false, QStringLiteral("the backup would replace the image itself")};
    if (options.saveFirstVersion && QFileInfo::exists(backupPath))
        return {};
    // An earlier backup stays whole when the new copy fails.
    const atomicfile::Result copied = atomicfile::replaceFileContent(backupPath, content);
    if (!copied.ok)
        return {false, QStringLiteral("no backup could be made: ") + copied.error};
    return {};
}

BackupResult backupOriginalFile(const QString &path, const QString &backupName, const IptcWriteOptions &options)
{
    if (!options.saveOriginalFile)
        return {};
    QFile original(path);
    if (!original.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("the file cannot be read for its backup")};
    const QByteArray bytes = original.readAll();
    if (bytes.size() != original.size())
        return {false, QStringLiteral("the file cannot be read for its backup")};
    return backupOriginalContent(path, bytes, backupName, options);
}

} // namespace zelvarion
