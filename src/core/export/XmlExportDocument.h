#pragma once

#include "core/export/CatalogueRows.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>

namespace zelvarion::xmlExport {

// "Zelvarion.xml", the document every export writes and every rendering reads.
inline QString documentFileName() { return QStringLiteral("Zelvarion.xml"); }

// The XML declaration, the creator comment, the root element's start with the date and time of
// generation and, for a title that is not empty, the Title line. Each line ends with CR LF.
QByteArray documentStart(const QDateTime &generated, const QLocale &locale, const QString &trimmedTitle);

// The root element's end.
QByteArray documentEnd();

// One File block: its position in the result, names, the thumbnail (when one was made), the
// file columns that hold a value and, when any IPTC column holds one, the iptc element. The
// names are UTF-8, as the engine gives them.
struct FileBlock
{
    int id = 0;
    QByteArrayView folder;
    QByteArrayView file;
    QString thumbnailPath; // empty: no ThumbName line
    CatalogueRow row;
};
void appendFileBlock(QByteArray &out, const FileBlock &block);

// The entries of a Keywords or SupplementalCategory value, each written as its own element:
// split at ";" after trimming blanks, empty entries dropped, and one double quote taken off
// each end of an entry.
QStringList listEntries(const QString &value);

// The bytes after the last "." of the UTF-8 file name; empty when it has none.
QByteArrayView extensionOf(QByteArrayView utf8FileName);

// The file name with its extension replaced by "jpg"; the whole name when it has none.
QString thumbnailFileName(const QString &fileName);

// The thumbnail file names of one export, one per image. An image gets thumbnailFileName of its
// name unless an earlier image of the export took that name (compared without regard to case, as
// a file system may compare them): then "-" and its result position go before the extension, so
// a/img.jpg and b/img.jpg, or Pic.JPG and Pic.jpg, never share a thumbnail.
class ThumbnailNames
{
public:
    QString claim(const QString &fileName, int rank);

private:
    QSet<QString> m_taken; // case-folded
};

} // namespace zelvarion::xmlExport
