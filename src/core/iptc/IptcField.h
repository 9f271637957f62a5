#pragma once

#include "core/session/TextRules.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelvarion {

enum class ValueForm { Text, JoinedText, List, Date, Time, Urgency, Cycle, Customized };

// What a field's value is beyond its form: texts of several lines, a joined text that holds a
// date (the reference date, repeated with its service and number), and codes rather than words
// (a country code, a category, an image type, a transmission reference).
enum FieldTrait : unsigned { kNoTrait = 0, kMultiLine = 1, kDateText = 2, kCode = 4 };

// One entry of the fixed catalogue of the 34 record-2 fields and the catch-all Customized.
struct IptcField
{
    int index;          // 0..34: position in a field set, column order, dialog control index
    const char *column; // column name in the catalogue tables
    int dataset;        // record-2 dataset number; -1 for Customized
    const char *label;  // English default label
    int dialogLimit;    // characters the edit dialog accepts (0: no limit); per entry for lists
    int writeLimit;     // characters written to a file; per entry for lists
    ValueForm form;
    unsigned traits = kNoTrait; // FieldTrait flags
};

constexpr int kIptcFieldCount = 35;
constexpr int kCustomizedIndex = 34;
constexpr int kSupplementalCategoryIndex = 4;
constexpr int kKeywordsIndex = 6;
constexpr int kBylineIndex = 18;
constexpr int kCityIndex = 20;
constexpr int kCountryIndex = 23;
constexpr int kHeadlineIndex = 25;
constexpr int kCreditIndex = 26;
constexpr int kCaptionIndex = 30;
constexpr int kCustomizedSlotCount = 16;

// Ordered by dataset number except Contact (2:118), which stands before Source and Copyright.
inline constexpr std::array<IptcField, kIptcFieldCount> kIptcFields = {{
    {0, "ObjectName", 5, "Object Name", 64, 255, ValueForm::Text},
    {1, "EditStatus", 7, "Edit status", 64, 255, ValueForm::Text},
    {2, "Urgency", 10, "Urgency", 1, 255, ValueForm::Urgency},
    {3, "Category", 15, "Category", 3, 255, ValueForm::Text, kCode},
    {4, "SupplementalCategory", 20, "Supplemental category", 32, 255, ValueForm::List},
    {5, "FixtureIdentifier", 22, "Fixture identifier", 32, 255, ValueForm::Text},
    {6, "Keywords", 25, "Keywords", 64, 255, ValueForm::List},
    {7, "ReleaseDate", 30, "Release date", 10, 255, ValueForm::Date},
    {8, "ReleaseTime", 35, "Release time", 11, 255, ValueForm::Time},
    {9, "SpecialInstructions", 40, "Special instructions", 256, 255, ValueForm::Text, kMultiLine},
    {10, "ReferenceService", 45, "Reference service", 10, 255, ValueForm::JoinedText},
    {11, "ReferenceDate", 47, "Reference date", 10, 255, ValueForm::JoinedText, kDateText},
    {12, "ReferenceNumber", 50, "Reference number", 10, 255, ValueForm::JoinedText},
    {13, "CreatedDate", 55, "Date created", 10, 255, ValueForm::Date},
    {14, "CreatedTime", 60, "Time created", 11, 255, ValueForm::Time},
    {15, "OriginatingProgram", 65, "Originating Program", 32, 255, ValueForm::Text},
    {16, "ProgramVersion", 70, "Program version", 10, 255, ValueForm::Text},
    {17, "ObjectCycle", 75, "Object cycle", 1, 255, ValueForm::Cycle},
    {18, "Byline", 80, "Byline", 32, 255, ValueForm::JoinedText},
    {19, "BylineTitle", 85, "Byline Title", 32, 255, ValueForm::JoinedText},
    {20, "City", 90, "City", 32, 255, ValueForm::Text},
    {21, "ProvinceState", 95, "Province/State", 32, 255, ValueForm::Text},
    {22, "CountryCode", 100, "Country code", 3, 255, ValueForm::Text, kCode},
    {23, "Country", 101, "Country", 64, 255, ValueForm::Text},
    {24, "OriginalTransmissionReference", 103, "Original Transmission Ref.", 32, 255, ValueForm::Text, kCode},
    {25, "Headline", 105, "Headline", 256, 255, ValueForm::Text},
    {26, "Credit", 110, "Credit", 32, 255, ValueForm::Text},
    {27, "Contact", 118, "Contact", 128, 255, ValueForm::Text},
    {28, "Source", 115, "Source", 32, 255, ValueForm::Text},
    {29, "Copyright", 116, "Copyright", 128, 255, ValueForm::Text},
    {30, "Caption", 120, "Caption", 2000, 2000, ValueForm::Text, kMultiLine},
    {31, "LocalCaption", 121, "Local Caption", 2000, 512, ValueForm::Text, kMultiLine},
    {32, "CaptionWriter", 122, "Caption Writer", 32, 255, ValueForm::JoinedText},
    {33, "ImageType", 130, "Image type", 2, 255, ValueForm::Text, kCode},
    {34, "Customized", -1, "Others", 0, 255, ValueForm::Customized, kMultiLine},
}};

// The named indexes point at the fields they name.
constexpr bool fieldIsNamed(int index, std::string_view column) { return kIptcFields[std::size_t(index)].column == column; }
static_assert(fieldIsNamed(kSupplementalCategoryIndex, "SupplementalCategory") && fieldIsNamed(kKeywordsIndex, "Keywords")
              && fieldIsNamed(kBylineIndex, "Byline") && fieldIsNamed(kCityIndex, "City")
              && fieldIsNamed(kCountryIndex, "Country") && fieldIsNamed(kHeadlineIndex, "Headline")
              && fieldIsNamed(kCreditIndex, "Credit") && fieldIsNamed(kCaptionIndex, "Caption")
              && fieldIsNamed(kCustomizedIndex, "Customized"));

inline const IptcField &iptcField(int index) { return kIptcFields.at(std::size_t(index)); }

// The index of a column name where the program names one field: a misspelt name does not compile.
consteval int iptcIndex(std::string_view column)
{
    for (const IptcField &field : kIptcFields)
        if (column == field.column)
            return field.index;
    throw "not a column of the field catalogue";
}

constexpr int kUrgencyIndex = iptcIndex("Urgency");
constexpr int kObjectCycleIndex = iptcIndex("ObjectCycle");
constexpr int kCopyrightIndex = iptcIndex("Copyright");
constexpr int kReferenceDateIndex = iptcIndex("ReferenceDate");

// A date with its time: the release and the creation.
struct DateTimeFields
{
    int date;
    int time;
};
constexpr DateTimeFields kReleaseDateTime{iptcIndex("ReleaseDate"), iptcIndex("ReleaseTime")};
constexpr DateTimeFields kCreatedDateTime{iptcIndex("CreatedDate"), iptcIndex("CreatedTime")};

// The properties of a field the edit dialog and the template edits follow. A date field holds a
// date (stored yyyymmdd), a time field a time (hhnnss); both are checked as such. Those of the
// release and creation are shown in the user's formats. A list holds entries, a choice field one
// of a few values picked from a list; a multi-line field takes several lines.
constexpr bool isDateField(int index)
{
    const IptcField &field = kIptcFields[std::size_t(index)];
    return field.form == ValueForm::Date || (field.traits & kDateText) != 0;
}
constexpr bool isTimeField(int index) { return kIptcFields[std::size_t(index)].form == ValueForm::Time; }
constexpr bool isDateOrTimeField(int index) { return isDateField(index) || isTimeField(index); }
constexpr bool isShownInUserFormat(int index)
{
    const ValueForm form = kIptcFields[std::size_t(index)].form;
    return form == ValueForm::Date || form == ValueForm::Time;
}
constexpr bool isListField(int index) { return kIptcFields[std::size_t(index)].form == ValueForm::List; }
constexpr bool isChoiceField(int index)
{
    const ValueForm form = kIptcFields[std::size_t(index)].form;
    return form == ValueForm::Urgency || form == ValueForm::Cycle;
}
// Words a speller can judge: neither a date, a time nor a code.
constexpr bool isWordsField(int index)
{
    return !isDateOrTimeField(index) && (kIptcFields[std::size_t(index)].traits & kCode) == 0;
}
constexpr bool isMultiLineField(int index) { return (kIptcFields[std::size_t(index)].traits & kMultiLine) != 0; }

// The 35 column names in index order.
QStringList iptcColumnNames();

// The catalogue index of a column name, compared without regard to case; nothing for a name
// outside the catalogue.
std::optional<int> iptcFieldIndexOfColumn(QStringView column);

// What a record-2 dataset number means to the reader.
struct DatasetLookup
{
    enum class Kind { Field, Ignored, Customized } kind;
    int index; // catalogue index for Field, else -1
};
DatasetLookup lookupDataset(int number);

// True for the fields whose repeated datasets are joined with "; " (lists and joined texts).
bool isJoinedField(int index);

struct CustomizedDataset
{
    std::int16_t number = -1; // -1: empty slot
    QString value;
};

// The values of one image or template: 35 texts (empty = absent) and 16 customized slots.
struct IptcFieldSet
{
    std::array<QString, kIptcFieldCount> values;
    std::array<CustomizedDataset, kCustomizedSlotCount> slots;

    void clear();
    bool operator==(const IptcFieldSet &other) const;
};

// The English default of interface string 133, the label of customized lines.
inline QString defaultCustomizedLabel() { return QStringLiteral("Field"); }

// Appends one more occurrence: the first gives the trimmed text, later ones "; " + trimmed text.
QString joinOccurrence(const QString &joined, const QString &occurrence);

// Splits a list value at every ";", trims each entry and drops the empty ones.
QStringList splitList(const QString &value);

// label + " " + number + ": " + text (no line end).
QString customizedLine(const QString &label, int number, const QString &text);

} // namespace zelvarion
