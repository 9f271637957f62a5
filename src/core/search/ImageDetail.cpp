#include "core/search/ImageDetail.h"

#include "core/catalogue/CatalogueTables.h"
#include "core/editing/EditDates.h"
#include "core/iptc/IptcField.h"
#include "core/iptc/IptcReader.h"
#include "core/search/FileSizeText.h"
#include "core/session/LanguagePack.h"
#include "core/session/PackText.h"

#include <QRegularExpression>

namespace zelvarion {
namespace {

// The columns of Images the panel shows.
constexpr ImagesColumn kFolder = ImagesColumn::Folder, kFile = ImagesColumn::File,
                       kCreationDate = ImagesColumn::FileCreationDate, kCreationTime = ImagesColumn::FileCreationTime,
                       kWriteDate = ImagesColumn::FileLastWriteDate, kWriteTime = ImagesColumn::FileLastWriteTime,
                       kFileSize = ImagesColumn::FileSize, kRevisionDate = ImagesColumn::LastRevisionDate,
                       kRevisionTime = ImagesColumn::LastRevisionTime, kSupportIptc = ImagesColumn::SupportIPTC,
                       kWidth = ImagesColumn::Width, kHeight = ImagesColumn::Height;

class Composer
{
public:
    void add(const QString &label, DetailStyle labelStyle, const QString &value = {})
    {
        pieces.push_back({label, labelStyle});
        if (!value.isEmpty())
            pieces.push_back({value, DetailStyle::Value});
    }
    std::vector<DetailPiece> pieces;
};

bool isWholeNumber(const QString &text)
{
    bool ok = false;
    text.toLongLong(&ok);
    return ok;
}

// Leading and trailing blanks removed, then any line ends left at the end.
QString fieldValueShown(const QString &value)
{
    QString shown = value.trimmed();
    while (shown.endsWith(u'\r') || shown.endsWith(u'\n'))
        shown.chop(1);
    return shown;
}

// The note naming where the values were read, for the places other than the image resource.
std::optional<InterfaceText> sourceNote(IptcSource source)
{
    switch (source) {
    case IptcSource::TiffTag: return InterfaceText::IptcFromTiffTagNote;
    case IptcSource::ExifTag: return InterfaceText::IptcFromExifTagNote;
    case IptcSource::JpegTrailer: return InterfaceText::IptcFromTrailerNote;
    case IptcSource::Xmp: return InterfaceText::IptcFromXmpNote;
    case IptcSource::None:
    case IptcSource::ImageResource: break;
    }
    return std::nullopt;
}

void composeRow(Composer &out, const QStringList &cells, const LanguagePack &pack, const QString &searchedLabel,
                const QLocale &locale, IptcSource source)
{
    using enum InterfaceText;
    const ImagesRow row(cells);
    auto cell = [&row](ImagesColumn column) { return row[column]; };
    const std::optional<IptcFileKind> fileKind = fileKindFromSupportIptc(row[kSupportIptc]);
    const SizeUnits units{pack.text(UnitBytes), pack.text(UnitKilobytes), pack.text(UnitMegabytes),
                          pack.text(UnitGigabytes)};
    out.add(withColon(pack, pack.text(DetailPathLabel)), DetailStyle::BoldLabel, cell(kFolder) + cell(kFile));
    out.add(QStringLiteral("\n ") + withColon(pack, pack.text(DetailCreatedLabel)), DetailStyle::Label,
            detailDate(cell(kCreationDate), locale) + u' ' + cell(kCreationTime));
    out.add(u' ' + withColon(pack, pack.text(DetailModifiedLabel)), DetailStyle::Label,
            detailDate(cell(kWriteDate), locale) + u' ' + cell(kWriteTime));
    const QString size = cell(kFileSize);
    out.add(QStringLiteral("\n ") + withColon(pack, pack.text(DetailSizeLabel)), DetailStyle::Label,
            isWholeNumber(size) ? formatFileSize(size.toLongLong(), units, locale) : size);
    if (!cell(kWidth).isEmpty())
        out.add(u' ' + withColon(pack, pack.text(SortWidth)), DetailStyle::Label, cell(kWidth));
    if (!cell(kHeight).isEmpty())
        out.add(u' ' + withColon(pack, pack.text(SortHeight)), DetailStyle::Label, cell(kHeight));
    if (!cell(kRevisionDate).isEmpty())
        out.add(QStringLiteral("\n ") + withColon(pack, pack.text(DetailLastRevisionLabel)), DetailStyle::BoldLabel,
                detailDate(cell(kRevisionDate), locale) + u' ' + cell(kRevisionTime));
    if (fileKind == IptcFileKind::NotSearched)
        out.add(QStringLiteral("\n ") + pack.text(IptcNotReadWarning), DetailStyle::Warning);
    if (fileKind == IptcFileKind::ByExtension)
        out.add(QStringLiteral("\n ") + pack.text(NotJpegWarning), DetailStyle::Warning);
    if (const std::optional<InterfaceText> note = sourceNote(source))
        out.add(QStringLiteral("\n ") + pack.text(*note), DetailStyle::Label);
    for (int i = 0; i < kIptcFieldCount; ++i) {
        const QString value = cell(imagesColumnOfField(i));
        if (value.isEmpty())
            continue;
        const QString name = pack.text(fieldLabel(i));
        const bool searched = !searchedLabel.isEmpty() && name == searchedLabel;
        const QString shown = fieldValueShown(value);
        out.add(QStringLiteral("\n ") + withColon(pack, name),
                searched ? DetailStyle::SearchedLabel : DetailStyle::Label,
                isDateField(i) ? detailDate(shown, locale) : shown);
    }
}

bool isLabel(DetailStyle style)
{
    return style == DetailStyle::Label || style == DetailStyle::BoldLabel;
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

bool isWholeWordAt(const QString &text, qsizetype at, qsizetype length)
{
    const bool startsWord = at == 0 || !isWordCharacter(text[at - 1]);
    const bool endsWord = at + length >= text.size() || !isWordCharacter(text[at + length]);
    return startsWord && endsWord;
}

// One pass: every occurrence of `needle` outside the labels; the highlighted part is `offset`
// characters into the occurrence and `length` long.
void highlightPass(const QString &text, const std::vector<bool> &grey, const QString &needle, bool wholeWord,
                   int offset, int length, std::vector<TextRange> &ranges)
{
    if (needle.isEmpty())
        return;
    for (qsizetype at = text.indexOf(needle, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(needle, at + 1, Qt::CaseInsensitive)) {
        if (grey[std::size_t(at)] || (wholeWord && !isWholeWordAt(text, at, needle.size())))
            continue;
        ranges.push_back({int(at) + offset, length});
    }
}

} // namespace

QString detailDate(const QString &stored, const QLocale &locale)
{
    const QString text = stored.trimmed();
    // Year first, with or without one separator of any kind: the forms the catalogue holds.
    static const QRegularExpression yearFirst(QStringLiteral("^(\\d{4})(?:(\\d{2})(\\d{2})|\\D(\\d{1,2})\\D(\\d{1,2}))$"));
    const QRegularExpressionMatch match = yearFirst.match(text);
    std::optional<QDate> date;
    if (match.hasMatch()) {
        const bool joined = match.capturedLength(2) > 0;
        const QDate read(match.captured(1).toInt(), match.captured(joined ? 2 : 4).toInt(),
                         match.captured(joined ? 3 : 5).toInt());
        if (read.isValid())
            date = read;
    } else {
        date = editing::parseDate(text, locale); // a revision stamped in the user's own form
    }
    return date ? editing::dateText(*date, locale) : stored;
}

std::vector<DetailPiece> composeImageDetail(const std::vector<QStringList> &rows, const LanguagePack &pack,
                                            const QString &searchedLabel, const QLocale &locale, IptcSource source)
{
    Composer out;
    out.pieces.push_back({QStringLiteral(" "), DetailStyle::Value});
    for (const QStringList &row : rows)
        composeRow(out, row, pack, searchedLabel, locale, source);
    return out.pieces;
}

QString detailText(const std::vector<DetailPiece> &pieces)
{
    QString text;
    for (const DetailPiece &piece : pieces)
        text += piece.text;
    return text;
}

std::vector<DetailPiece> withDocumentLineEnds(std::vector<DetailPiece> pieces)
{
    for (DetailPiece &piece : pieces)
        piece.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return pieces;
}

std::vector<TextRange> highlightRanges(const std::vector<DetailPiece> &pieces, const HighlightRequest &request)
{
    const QString text = detailText(pieces);
    std::vector<bool> grey;
    grey.reserve(std::size_t(text.size()));
    for (const DetailPiece &piece : pieces)
        grey.insert(grey.end(), std::size_t(piece.text.size()), isLabel(piece.style));

    std::vector<TextRange> ranges;
    auto pass = [&](const QString &needle, bool wholeWord) {
        highlightPass(text, grey, needle, wholeWord, 0, int(needle.size()), ranges);
    };
    if (!request.lastSearchText.isEmpty()) {
        if (request.exactExpression) {
            pass(request.lastSearchText, request.wholeWord);
        } else {
            for (const QString &word : request.lastSearchWords)
                pass(QString(word).replace(QStringLiteral("''"), QStringLiteral("'")), request.wholeWord);
        }
    }
    if (!request.translation.isEmpty())
        pass(request.translation, request.wholeWord);
    if (request.wholeWord) {
        // A word glued to an apostrophe (l'eau) is still the word searched for.
        for (const QString &word : {request.searchBoxText, request.translation}) {
            if (word.isEmpty())
                continue;
            const int length = int(word.size());
            highlightPass(text, grey, u'\'' + word, false, 1, length, ranges);
            highlightPass(text, grey, word + u'\'', false, 0, length, ranges);
        }
    }
    return ranges;
}

} // namespace zelvarion
