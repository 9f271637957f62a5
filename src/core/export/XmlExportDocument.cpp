#include "core/export/XmlExportDocument.h"

#include "core/export/XmlEscaping.h"
#include "core/session/AppInfo.h"
#include "core/session/TextRules.h"

#include <cstring>

namespace zelvarion::xmlExport {
namespace {

constexpr char kLineEnd[] = "\r\n";

// The start and end tags of an element, each made in one piece: a large export writes some
// fifty elements per image.
class Tags
{
public:
    explicit Tags(const char *name)
    {
        const qsizetype length = qstrlen(name);
        Q_ASSERT(length <= kLongestName);
        m_text[0] = '<';
        std::memcpy(m_text + 1, name, std::size_t(length));
        m_text[length + 1] = '>';
        m_text[length + 2] = '<';
        m_text[length + 3] = '/';
        std::memcpy(m_text + length + 4, name, std::size_t(length));
        std::memcpy(m_text + 2 * length + 4, ">\r\n", 3);
        m_startLength = length + 2;
        m_endLength = length + 5;
    }
    QByteArrayView start() const { return {m_text, m_startLength}; }
    QByteArrayView end() const { return {m_text + m_startLength, m_endLength}; }

private:
    static constexpr qsizetype kLongestName = 64; // names are column names, at most 29 letters
    char m_text[2 * kLongestName + 8];
    qsizetype m_startLength = 0;
    qsizetype m_endLength = 0;
};

void appendElement(QByteArray &out, const char *name, QStringView text)
{
    const Tags tags(name);
    out.append(tags.start());
    appendEscapedXmlText(out, text);
    out.append(tags.end());
}

void appendUtf8Element(QByteArray &out, const char *name, QByteArrayView utf8)
{
    const Tags tags(name);
    out.append(tags.start());
    appendEscapedXmlUtf8(out, utf8);
    out.append(tags.end());
}

QString withoutLineBreaks(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

QString withoutOuterQuotes(QString entry)
{
    if (entry.startsWith(u'"'))
        entry.remove(0, 1);
    if (entry.endsWith(u'"'))
        entry.chop(1);
    return entry;
}

bool hasIptcValue(const CatalogueRow &row)
{
    for (const IptcField &field : kIptcFields)
        if (!row.utf8(field.index).isEmpty())
            return true;
    return false;
}

// An IPTC value on one line: line breaks dropped, then escaped.
void appendOneLineElement(QByteArray &out, const char *name, QByteArrayView utf8)
{
    if (utf8.contains('\r') || utf8.contains('\n'))
        appendElement(out, name, withoutLineBreaks(QString::fromUtf8(utf8)));
    else
        appendUtf8Element(out, name, utf8);
}

void appendIptc(QByteArray &out, const CatalogueRow &row)
{
    out.append("<iptc>").append(kLineEnd);
    for (const IptcField &field : kIptcFields) {
        const QByteArrayView value = row.utf8(field.index);
        if (value.isEmpty())
            continue;
        if (field.index == kKeywordsIndex || field.index == kSupplementalCategoryIndex) {
            const char *element = field.index == kKeywordsIndex ? "Keyword" : "SupplementalCategory";
            for (const QString &entry : listEntries(QString::fromUtf8(value)))
                appendElement(out, element, entry);
        } else {
            appendOneLineElement(out, field.column, value);
        }
    }
    out.append("</iptc>").append(kLineEnd);
}

} // namespace

QByteArray documentStart(const QDateTime &generated, const QLocale &locale, const QString &trimmedTitle)
{
    QByteArray out("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n");
    out.append("<!-- Created with Zelvarion version ");
    appendEscapedXmlText(out, versionText());
    out.append(" [Marlowen] -->").append(kLineEnd);
    out.append("<IPTCtoXML dategeneration=\"");
    // The long date of some locales holds letters beyond ISO-8859-1: escaped like every text.
    appendEscapedXmlText(out, locale.toString(generated.date(), QLocale::LongFormat) + u' '
                                  + generated.time().toString(QStringLiteral("HH:mm")));
    out.append("\">").append(kLineEnd);
    if (!trimmedTitle.isEmpty())
        appendElement(out, "Title", trimmedTitle);
    return out;
}

QByteArray documentEnd() { return QByteArray("</IPTCtoXML>") + kLineEnd; }

void appendFileBlock(QByteArray &out, const FileBlock &block)
{
    out.append("<File>").append(kLineEnd);
    out.append("<id>").append(QByteArray::number(block.id)).append("</id>").append(kLineEnd);
    // The extension is written as it is: a name's extension holds no markup characters in
    // practice, and any it did hold would be escaped, so the document stays well formed.
    appendUtf8Element(out, "extension", extensionOf(block.file));
    appendUtf8Element(out, "Name", block.file);
    appendUtf8Element(out, "Dir", block.folder);
    // Escaped one character at a time, so the two parts escaped one after the other are the
    // whole name escaped, without joining them first.
    const Tags fullName("FullName");
    out.append(fullName.start());
    appendEscapedXmlUtf8(out, block.folder);
    appendEscapedXmlUtf8(out, block.file);
    out.append(fullName.end());
    if (!block.thumbnailPath.isEmpty())
        appendElement(out, "ThumbName", block.thumbnailPath);
    for (std::size_t i = 0; i < kExportFileColumns.size(); ++i) {
        const QByteArrayView value = block.row.utf8(kFirstFileColumnId + int(i));
        if (!value.isEmpty())
            appendUtf8Element(out, kExportFileColumns[i], value);
    }
    if (hasIptcValue(block.row))
        appendIptc(out, block.row);
    out.append("</File>").append(kLineEnd);
}

QStringList listEntries(const QString &value)
{
    QStringList entries;
    QString rest = trimBlanks(value);
    qsizetype separator;
    while ((separator = rest.indexOf(u';')) >= 0) {
        const QString entry = rest.left(separator);
        if (!entry.isEmpty())
            entries << withoutOuterQuotes(entry);
        rest = trimBlanks(QStringView(rest).mid(separator + 1));
    }
    if (!rest.isEmpty())
        entries << withoutOuterQuotes(rest);
    return entries;
}

// A "." is one byte of its own in UTF-8 and ends whatever a stray byte before it began, so the
// bytes after it decode to the text after it in the decoded name.
QByteArrayView extensionOf(QByteArrayView utf8FileName)
{
    const qsizetype dot = utf8FileName.lastIndexOf('.');
    return dot < 0 ? QByteArrayView() : utf8FileName.sliced(dot + 1);
}

QString thumbnailFileName(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot + 1) + QStringLiteral("jpg");
}

QString ThumbnailNames::claim(const QString &fileName, int rank)
{
    const QString natural = thumbnailFileName(fileName);
    const qsizetype dot = natural.lastIndexOf(u'.');
    const QString stem = dot < 0 ? natural : natural.left(dot);
    const QString extension = dot < 0 ? QString() : natural.mid(dot);
    QString name = natural;
    for (int tries = 1; m_taken.contains(name.toCaseFolded()); ++tries)
        name = stem + u'-' + QString::number(rank) + (tries > 1 ? u'-' + QString::number(tries) : QString()) + extension;
    m_taken.insert(name.toCaseFolded());
    return name;
}

} // namespace zelvarion::xmlExport
