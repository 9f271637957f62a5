#pragma once

#include "core/iptc/IptcReader.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <vector>

namespace zelvarion {

class LanguagePack;

// How a piece of the detail panel is drawn.
enum class DetailStyle {
    Value,         // black
    Label,         // grey
    BoldLabel,     // grey, bold
    Warning,       // dark red, bold
    SearchedLabel, // light red, bold: the label of the field being searched
};

struct DetailPiece
{
    QString text;
    DetailStyle style;
};

// The text of the detail panel for the catalogue rows of one image (each row all 48 columns of
// Images, in table order): path, dates, size, pixel size, revision, a warning for files that
// cannot hold IPTC, then every non-empty field with its label. Line breaks are "\n".
// searchedLabel: the field name chosen for a field search, or empty. source: where the file's
// values were read; a note before the fields names it when it is not the image resource.
std::vector<DetailPiece> composeImageDetail(const std::vector<QStringList> &rows, const LanguagePack &pack,
                                            const QString &searchedLabel, const QLocale &locale = QLocale(),
                                            IptcSource source = IptcSource::ImageResource);

// A date of the catalogue (file dates "yyyy/mm/dd", revision dates with the separator of the
// locale they were made in, IPTC dates "yyyymmdd", older stamps in the user's short form) shown
// in the locale's short form with a four-digit year; any other text as stored.
QString detailDate(const QString &stored, const QLocale &locale);

// What the highlighting looks for: the words of the last search and the translation shown.
struct HighlightRequest
{
    QString lastSearchText;     // as typed
    QStringList lastSearchWords; // with apostrophes doubled, as the search split them
    bool exactExpression = true;
    bool wholeWord = false;
    QString translation;        // as shown, empty when none
    QString searchBoxText;
};

struct TextRange
{
    int start;
    int length;
    bool operator==(const TextRange &other) const = default;
};

// The pieces with each CR LF made a single LF, as a text document holds a line end: one
// position per line break, so ranges found in them are the document's own positions.
std::vector<DetailPiece> withDocumentLineEnds(std::vector<DetailPiece> pieces);

// The ranges of the composed text to draw bold and light blue. Occurrences are found without
// regard to case; an occurrence that starts in a label (grey) is left alone.
std::vector<TextRange> highlightRanges(const std::vector<DetailPiece> &pieces, const HighlightRequest &request);

// The plain text of the pieces, in order.
QString detailText(const std::vector<DetailPiece> &pieces);

} // namespace zelvarion
