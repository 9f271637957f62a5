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

struct IptcReadResult
{
    IptcFieldSet fields;
    std::vector<CustomizedDataset> moreCustomized; // customized datasets past the 16 slots, in file order
    QStringList keywordEntries;                    // one trimmed entry per 2:25 dataset, in file order
    QStringList supplementalCategoryEntries;       // one per 2:20 dataset
    QString fileKind = QStringLiteral("0"); // "0", "1", "2" (the SupportIPTC column)
    bool iptcCapable = false;
    std::optional<JpegSegmentPosition> segment; // JPEG only, where the 0x0404 resource was found
    bool shortRead = false;
};

// Reads the record-2 datasets of one image file. A file that cannot be opened or is empty gives
// code "0" and the empty set; a short read is reported through feedback and still searched.
// customizedLabel is interface string 133, the label of the lines of the Customized value.
IptcReadResult readImageIptc(const QString &path, const QString &customizedLabel, Feedback *feedback = nullptr);

// The same on bytes already in memory; path only gives the name extension.
IptcReadResult readIptcFromBytes(QByteArrayView bytes, const QString &path, const QString &customizedLabel);

// The file-kind code of a file from its first bytes and its name: "1" JPEG, "2" another kind
// that may hold IPTC, "0" neither.
QString iptcFileKind(QByteArrayView firstBytes, const QString &path);

} // namespace zelvarion
