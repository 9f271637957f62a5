// Browsing a result: paging over ten cells, file sizes, the detail panel's text and highlighting.
#include "core/search/FileSizeText.h"
#include "core/search/ImageDetail.h"
#include "core/search/ResultPaging.h"
#include "core/session/LanguagePack.h"

#include <gtest/gtest.h>

using namespace zelvarion;

namespace {

QString q(const char *text) { return QString::fromUtf8(text); }

// Ranks shown after each step, as "first..last".
QString shown(const ResultPaging &paging)
{
    const int last = std::min(paging.firstRank() + 9, paging.count());
    return QString::number(paging.firstRank()) + QStringLiteral("..") + QString::number(last) + u' '
           + QString::number(paging.page()) + u'/' + QString::number(paging.pageCount());
}

LanguagePack englishLabels()
{
    LanguagePack pack;
    pack.parse(q("[Interface]\n68=File\n84=Revised\n107=Created\n108=Modified\n109=Size\n110=bytes\n111=KB\n"
                 "112=MB\n113=GB\n115=Not an image file\n116=Read from the XMP\n129=Read after the image\n142=Width\n143=Height\n192=Not a JPEG file\n"
                 "32=Edit status\n38=Release date\n44=Date created\n51=City\n63=Caption\n37=Keywords\n65=Others\n"));
    return pack;
}

QStringList imageRow()
{
    QStringList row;
    for (int i = 0; i < 48; ++i)
        row << QString();
    row[0] = q("/photos/paris/");
    row[1] = q("eiffel.jpg");
    row[37] = q("2024/05/01");
    row[38] = q("10:00:00");
    row[39] = q("2024/05/02");
    row[40] = q("11:00:00");
    row[41] = q("1536");
    row[44] = q("1");
    row[45] = q("640");
    row[46] = q("480");
    return row;
}

std::vector<QString> highlighted(const std::vector<DetailPiece> &pieces, const HighlightRequest &request)
{
    const QString text = detailText(pieces);
    std::vector<QString> words;
    for (const TextRange &range : highlightRanges(pieces, request))
        words.push_back(text.mid(range.start, range.length));
    return words;
}

} // namespace

TEST(ResultPaging, twentyOneResultsGiveThreePagesAndEndShowsTheLastAlone)
{
    ResultPaging paging;
    paging.reset(21);
    EXPECT_TRUE(paging.navigationEnabled());
    EXPECT_EQ(shown(paging), q("1..10 1/3"));
    EXPECT_TRUE(paging.forward());
    EXPECT_EQ(shown(paging), q("11..20 2/3"));
    EXPECT_TRUE(paging.toLast());
    EXPECT_EQ(shown(paging), q("21..21 3/3"));
    EXPECT_FALSE(paging.forward());
    EXPECT_TRUE(paging.back());
    EXPECT_EQ(shown(paging), q("11..20 2/3"));
}

TEST(ResultPaging, tenResultsStayOnOnePageWithNavigationOff)
{
    ResultPaging paging;
    paging.reset(10);
    EXPECT_FALSE(paging.navigationEnabled());
    EXPECT_FALSE(paging.forward());
    EXPECT_FALSE(paging.back());
    EXPECT_TRUE(paging.toLast()); // redisplays the single page
    EXPECT_EQ(shown(paging), q("1..10 1/1"));
}

TEST(ResultPaging, elevenResultsEndShowsRankElevenAndHomeReturns)
{
    ResultPaging paging;
    paging.reset(11);
    EXPECT_TRUE(paging.navigationEnabled());
    EXPECT_TRUE(paging.toLast());
    EXPECT_EQ(paging.firstRank(), 11);
    EXPECT_TRUE(paging.toFirst());
    EXPECT_EQ(paging.firstRank(), 1);
}

TEST(ResultPaging, emptyResultEndDoesNothing)
{
    ResultPaging paging;
    paging.reset(0);
    EXPECT_FALSE(paging.toLast());
    EXPECT_EQ(paging.pageCount(), 0);
}

TEST(FormatFileSize, unitsAndDecimalsFollowTheSizeBands)
{
    const SizeUnits units{q("bytes"), q("KB"), q("MB"), q("GB")};
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const std::pair<qint64, const char *> cases[] = {
        {500, "500 bytes"},
        {1023, "1,023 bytes"},
        {1536, "1.50 KB (1,536 bytes)"},
        {15 * 1024, "15.0 KB (15,360 bytes)"},
        {150 * 1024, "150 KB (153,600 bytes)"},
        {1048576, "1.00 MB (1,048,576 bytes)"},
        {50LL * 1048576, "50.0 MB (52,428,800 bytes)"},
        {500LL * 1048576, "500 MB (524,288,000 bytes)"},
        {2147483647, "2.00 GB (2,147,483,647 bytes)"},
        {5LL * 1073741824, "5.00 GB (5,368,709,120 bytes)"},
    };
    for (const auto &[bytes, expected] : cases)
        EXPECT_EQ(formatFileSize(bytes, units, english), q(expected)) << bytes;
}

TEST(FormatFileSize, followsTheLocaleSeparators)
{
    const SizeUnits units{q("octets"), q("Ko"), q("Mo"), q("Go")};
    const QString french = formatFileSize(1536, units, QLocale(QLocale::French, QLocale::France));
    EXPECT_TRUE(french.startsWith(q("1,50 Ko (1"))) << french.toStdString();
}

TEST(ImageDetail, composesPathDatesSizeAndNonEmptyFieldsWithTheirLabels)
{
    QStringList row = imageRow();
    row[2 + 20] = q("  Paris  ");       // City, blanks trimmed
    row[2 + 6] = q("tower; night\r\n"); // Keywords, the trailing line break dropped
    const QString text = detailText(composeImageDetail({row}, englishLabels(), QString(),
                                                       QLocale(QLocale::English, QLocale::UnitedStates)));
    EXPECT_EQ(text, q(" File: /photos/paris/eiffel.jpg\n Created: 5/1/2024 10:00:00 Modified: 5/2/2024 11:00:00"
                      "\n Size: 1.50 KB (1,536 bytes) Width: 640 Height: 480"
                      "\n Keywords: tower; night\n City: Paris"));
}

TEST(ImageDetail, warningsRevisionAndNonNumericSize)
{
    QStringList row = imageRow();
    row[41] = q("?");
    row[42] = q("2025/01/01");
    row[43] = q("12:00:00");
    row[44] = q("0");
    row[45].clear();
    row[46].clear();
    const auto pieces = composeImageDetail({row}, englishLabels(), QString(), QLocale(QLocale::English, QLocale::UnitedStates));
    const QString text = detailText(pieces);
    EXPECT_TRUE(text.contains(q("Size: ?\n Revised: 1/1/2025 12:00:00\n Not an image file")));
    EXPECT_FALSE(text.contains(q("Width")));
    EXPECT_EQ(pieces.back().style, DetailStyle::Warning);
    row[44] = q("2");
    EXPECT_TRUE(detailText(composeImageDetail({row}, englishLabels(), QString())).endsWith(q("Not a JPEG file")));
}

// The scan, the revision stamp and the IPTC fields each store dates their own way; the panel
// shows them all in the locale's short form, and a text that is no date as it is.
TEST(ImageDetail, everyDateIsShownInTheLocaleShortForm)
{
    QStringList row = imageRow();
    row[39] = q("2026/12/09");
    row[42] = q("2026 12 09"); // revised where the date separator is a blank
    row[43] = q("08:15:00");
    row[2 + 7] = q("20261214");
    row[2 + 13] = q("2026-12-1");
    const QStringList stored = row;
    const QString french = detailText(composeImageDetail({row}, englishLabels(), QString(), QLocale(QLocale::French, QLocale::France)));
    EXPECT_TRUE(french.contains(q("Created: 01/05/2024 10:00:00 Modified: 09/12/2026 11:00:00"))) << french.toStdString();
    EXPECT_TRUE(french.contains(q("Revised: 09/12/2026 08:15:00")));
    EXPECT_TRUE(french.contains(q("Release date: 14/12/2026")));
    EXPECT_TRUE(french.contains(q("Date created: 01/12/2026")));
    const QString english = detailText(composeImageDetail({row}, englishLabels(), QString(), QLocale(QLocale::English, QLocale::UnitedStates)));
    EXPECT_TRUE(english.contains(q("Modified: 12/9/2026 11:00:00")));
    EXPECT_TRUE(english.contains(q("Release date: 12/14/2026")));
    EXPECT_EQ(row, stored);
}

TEST(ImageDetail, aDateThatCannotBeReadIsShownAsStored)
{
    const QLocale french(QLocale::French, QLocale::France);
    for (const char *stored : {"2026/13/09", "20260230", "spring 2026", "", "2026/12", "120261214"})
        EXPECT_EQ(detailDate(q(stored), french), q(stored)) << stored;
    // An older stamp in the user's own short form, two-digit year included, is read back too.
    EXPECT_EQ(detailDate(q("10.12.26"), QLocale(QLocale::German, QLocale::Germany)), q("10.12.2026"));
    EXPECT_EQ(detailDate(q(" 20261209 "), french), q("09/12/2026"));
}

TEST(ImageDetail, theSearchedFieldLabelIsMarkedAndARowTwiceIsShownTwice)
{
    QStringList row = imageRow();
    row[2 + 20] = q("Paris");
    const auto pieces = composeImageDetail({row, row}, englishLabels(), q("City"));
    int searched = 0;
    for (const DetailPiece &piece : pieces)
        searched += piece.style == DetailStyle::SearchedLabel;
    EXPECT_EQ(searched, 2);
}

TEST(Highlighting, wordsOfAnOrSearchAreLitInValuesButNotInLabels)
{
    QStringList row = imageRow();
    row[2 + 30] = q("A red car near the city");
    row[2 + 20] = q("Lyon");
    HighlightRequest request;
    request.lastSearchText = q("city car");
    request.lastSearchWords = {q("city"), q("car")};
    request.exactExpression = false;
    const auto words = highlighted(composeImageDetail({row}, englishLabels(), QString()), request);
    EXPECT_EQ(words, (std::vector<QString>{q("city"), q("car")})); // not the label "City"
}

TEST(Highlighting, wholeWordFindsTheWordAfterAnApostropheButNotInsideAWord)
{
    QStringList row = imageRow();
    row[2 + 30] = q("l'eau du bureau");
    HighlightRequest request;
    request.lastSearchText = q("eau");
    request.lastSearchWords = {q("eau")};
    request.wholeWord = true;
    request.searchBoxText = q("eau");
    const auto pieces = composeImageDetail({row}, englishLabels(), QString());
    const QString text = detailText(pieces);
    const auto ranges = highlightRanges(pieces, request);
    ASSERT_FALSE(ranges.empty());
    for (const TextRange &range : ranges) {
        EXPECT_EQ(text.mid(range.start, range.length), q("eau"));
        EXPECT_EQ(text.mid(range.start - 2, 2), q("l'")) << "only the eau of l'eau, never bur-eau";
    }
}

TEST(Highlighting, exactExpressionAndTranslationIgnoreCase)
{
    QStringList row = imageRow();
    row[2 + 30] = q("The EIFFEL Tower, la tour Eiffel");
    HighlightRequest request;
    request.lastSearchText = q("eiffel tower");
    request.lastSearchWords = {q("eiffel"), q("tower")};
    request.translation = q("tour");
    const auto words = highlighted(composeImageDetail({row}, englishLabels(), QString()), request);
    EXPECT_EQ(words, (std::vector<QString>{q("EIFFEL Tower"), q("tour")}));
}

TEST(Highlighting, apostrophesDoubledBySplittingAreSearchedSingle)
{
    QStringList row = imageRow();
    row[2 + 30] = q("Rue de l'Arc");
    HighlightRequest request;
    request.lastSearchText = q("l'arc rue");
    request.lastSearchWords = {q("l''arc"), q("rue")};
    request.exactExpression = false;
    const auto words = highlighted(composeImageDetail({row}, englishLabels(), QString()), request);
    EXPECT_EQ(words, (std::vector<QString>{q("l'Arc"), q("Rue")}));
}

TEST(ImageDetail, aSourceOtherThanTheImageResourceIsNamedBeforeTheFields)
{
    QStringList row = imageRow();
    row[2 + 20] = q("Brest");
    const auto plain = composeImageDetail({row}, englishLabels(), QString());
    const auto fromXmp = composeImageDetail({row}, englishLabels(), QString(), QLocale(), IptcSource::Xmp);
    const auto fromTrailer = composeImageDetail({row}, englishLabels(), QString(), QLocale(), IptcSource::JpegTrailer);
    const QString xmpNote = englishLabels().text(InterfaceText::IptcFromXmpNote);
    EXPECT_FALSE(detailText(plain).contains(xmpNote));
    const QString text = detailText(fromXmp);
    EXPECT_TRUE(text.contains(QStringLiteral("\n ") + xmpNote + QStringLiteral("\n ")));
    EXPECT_LT(text.indexOf(xmpNote), text.indexOf(QStringLiteral("City: Brest")));
    EXPECT_TRUE(detailText(fromTrailer).contains(englishLabels().text(InterfaceText::IptcFromTrailerNote)));
    EXPECT_EQ(fromXmp.size(), plain.size() + 1);
}

TEST(Highlighting, crLfCaptionsGiveOnePositionPerLineBreakSoEveryMatchLandsOnItsWord)
{
    QStringList row = imageRow();
    row[2 + 30] = q("eau\r\nde l'eau\r\nune eau claire eau");
    HighlightRequest request;
    request.lastSearchText = q("eau");
    request.lastSearchWords = {q("eau")};
    const auto pieces = withDocumentLineEnds(composeImageDetail({row}, englishLabels(), QString()));
    const QString text = detailText(pieces);
    EXPECT_FALSE(text.contains(u'\r'));
    EXPECT_TRUE(text.contains(q("eau\nde l'eau\nune eau claire eau")));
    const auto ranges = highlightRanges(pieces, request);
    ASSERT_EQ(ranges.size(), 4u);
    for (const TextRange &range : ranges)
        EXPECT_EQ(text.mid(range.start, range.length), q("eau"));
    EXPECT_EQ(ranges.back().start + ranges.back().length, int(text.lastIndexOf(q("eau")) + 3))
        << "the last match ends where the text's last eau ends";
}
