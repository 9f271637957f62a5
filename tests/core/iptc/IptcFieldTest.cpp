#include "core/iptc/IptcField.h"
#include "core/iptc/IptcText.h"
#include "core/iptc/IptcValueCheck.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using iptctext::Charset;

TEST(IptcCatalogue, columnsFollowIndexOrderWithContactBeforeSource)
{
    const QStringList columns = iptcColumnNames();
    ASSERT_EQ(columns.size(), kIptcFieldCount);
    EXPECT_EQ(columns.first(), u"ObjectName");
    EXPECT_EQ(columns.mid(27, 3), (QStringList{QStringLiteral("Contact"), QStringLiteral("Source"), QStringLiteral("Copyright")}));
    EXPECT_EQ(columns.last(), u"Customized");
}

TEST(IptcCatalogue, lookupByDatasetNumber)
{
    struct Case { int number; DatasetLookup::Kind kind; int index; };
    const Case cases[] = {
        {0, DatasetLookup::Kind::Ignored, -1},    {1, DatasetLookup::Kind::Customized, -1},
        {5, DatasetLookup::Kind::Field, 0},       {118, DatasetLookup::Kind::Field, 27},
        {115, DatasetLookup::Kind::Field, 28},    {121, DatasetLookup::Kind::Field, 31},
        {130, DatasetLookup::Kind::Field, 33},    {92, DatasetLookup::Kind::Customized, -1},
        {255, DatasetLookup::Kind::Customized, -1},
    };
    for (const Case &c : cases) {
        const DatasetLookup lookup = lookupDataset(c.number);
        EXPECT_EQ(lookup.kind, c.kind) << c.number;
        EXPECT_EQ(lookup.index, c.index) << c.number;
    }
}

TEST(IptcCatalogue, joinedFieldsAreTheListsAndJoinedTexts)
{
    QList<int> joined;
    for (int i = 0; i < kIptcFieldCount; ++i)
        if (isJoinedField(i))
            joined << i;
    EXPECT_EQ(joined, (QList<int>{4, 6, 10, 11, 12, 18, 19, 32}));
}

// The columns of the fields that have a property, for comparing whole sets at once.
QStringList columnsWhere(bool (*property)(int))
{
    QStringList columns;
    for (int i = 0; i < kIptcFieldCount; ++i)
        if (property(i))
            columns << QLatin1String(iptcField(i).column);
    return columns;
}

TEST(IptcCatalogue, fieldPropertiesNameTheDatesTimesListsChoicesAndLongTexts)
{
    EXPECT_EQ(columnsWhere(isDateField), (QStringList{"ReleaseDate", "ReferenceDate", "CreatedDate"}));
    EXPECT_EQ(columnsWhere(isTimeField), (QStringList{"ReleaseTime", "CreatedTime"}));
    EXPECT_EQ(columnsWhere(isDateOrTimeField),
              (QStringList{"ReleaseDate", "ReleaseTime", "ReferenceDate", "CreatedDate", "CreatedTime"}));
    // The reference date keeps its stored form: it is joined with its service and number.
    EXPECT_EQ(columnsWhere(isShownInUserFormat), (QStringList{"ReleaseDate", "ReleaseTime", "CreatedDate", "CreatedTime"}));
    EXPECT_EQ(columnsWhere(isListField), (QStringList{"SupplementalCategory", "Keywords"}));
    EXPECT_EQ(columnsWhere(isChoiceField), (QStringList{"Urgency", "ObjectCycle"}));
    EXPECT_EQ(columnsWhere(isMultiLineField), (QStringList{"SpecialInstructions", "Caption", "LocalCaption", "Customized"}));
}

TEST(IptcCatalogue, namedFieldsAndDateTimePairsPointAtTheirColumns)
{
    const std::pair<int, const char *> named[] = {
        {kUrgencyIndex, "Urgency"},           {kObjectCycleIndex, "ObjectCycle"},
        {kCopyrightIndex, "Copyright"},       {kReferenceDateIndex, "ReferenceDate"},
        {kReleaseDateTime.date, "ReleaseDate"}, {kReleaseDateTime.time, "ReleaseTime"},
        {kCreatedDateTime.date, "CreatedDate"}, {kCreatedDateTime.time, "CreatedTime"},
        {iptcIndex("Contact"), "Contact"},    {iptcIndex("Customized"), "Customized"},
    };
    for (const auto &[index, column] : named)
        EXPECT_STREQ(iptcField(index).column, column);
}

TEST(IptcFieldSetValues, clearEmptiesValuesAndSlots)
{
    IptcFieldSet set;
    set.values[3] = QStringLiteral("x");
    set.slots[2] = {200, QStringLiteral("y")};
    set.clear();
    EXPECT_EQ(set, IptcFieldSet{});
    EXPECT_EQ(set.slots[2].number, -1);
}

TEST(IptcFieldSetValues, joinTrimsEveryOccurrence)
{
    QString joined;
    for (const char *occurrence : {"a", " b ", "c"})
        joined = joinOccurrence(joined, QString::fromLatin1(occurrence));
    EXPECT_EQ(joined, u"a; b; c");
    EXPECT_EQ(splitList(joined), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}

TEST(IptcFieldSetValues, splitDropsEmptyEntries)
{
    EXPECT_EQ(splitList(QStringLiteral("a;;b; ")), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_TRUE(splitList(QStringLiteral(" ; ;")).isEmpty());
}

TEST(IptcFieldSetValues, customizedLineForm)
{
    EXPECT_EQ(customizedLine(QStringLiteral("Field"), 200, QStringLiteral("abc")), u"Field 200: abc");
}

TEST(IptcTextCharset, recognisesOnlyWellFormedMultiByteUtf8)
{
    struct Case { QByteArray bytes; bool utf8; };
    const Case cases[] = {
        {"plain ascii", false},
        {"caf\xc3\xa9", true},
        {"caf\xe9", false},            // Latin-1 e acute
        {"\xc0\x80", false},           // overlong zero
        {"\xed\xa0\x80", false},       // surrogate
        {"\xf4\x90\x80\x80", false},   // above U+10FFFF
        {"\xf0\x9f\x98\x80", true},    // emoji
        {"\xe6\x97", false},           // cut short
        {"\xc3\xa9\x92", false},       // valid then a stray 8-bit byte
    };
    for (const Case &c : cases)
        EXPECT_EQ(iptctext::isNonAsciiUtf8(c.bytes), c.utf8) << c.bytes.toHex().constData();
}

TEST(IptcTextCharset, writerKeepsWindows1252UnlessTextWouldBeLostOrMisread)
{
    EXPECT_EQ(iptctext::chooseCharset({QString::fromUtf8("Café €"), QStringLiteral("plain")}), Charset::Windows1252);
    EXPECT_EQ(iptctext::chooseCharset({QString::fromUtf8("日本")}), Charset::Utf8);
    // "Ã©" in Windows-1252 is the UTF-8 form of "é": it would come back as "é".
    EXPECT_EQ(iptctext::chooseCharset({QString::fromUtf8("Ã©")}), Charset::Utf8);
}

TEST(IptcTextCharset, sizesAreTheBytesWritten)
{
    const QString text = QString::fromUtf8("ééé");
    EXPECT_EQ(encodedSize(text, Charset::Utf8), 6);
    EXPECT_EQ(encodedSize(text, Charset::Windows1252), 3);
    EXPECT_EQ(encodedSize(QString::fromUtf8("a😀"), Charset::Utf8), 5);
}
