#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace zelvarion {

class IniFile;

// Reading rules of the configuration file, shared by every reader of a section.
namespace settingValue {
// The number at the start of text: blanks skipped, optional sign, digits, optional decimal part
// ("12abc" -> 12, "-3.5x" -> -3.5); 0 when there is none.
double leadingNumber(const QString &text);
bool switchDefaultOff(const std::optional<QString> &value); // on only for exactly "1"
bool switchDefaultOn(const std::optional<QString> &value);  // off only for exactly "0"
// Leading-number parse ("12abc" -> 12, "x" -> 0, " 3.6" -> 4), rounded to a whole number.
long long wholeNumber(const QString &text);
std::optional<long long> wholeNumber(const std::optional<QString> &value);
QString switchText(bool on); // "1" / "0"
} // namespace settingValue

struct CustomizedFieldName
{
    QString index; // dataset number as text, or empty
    QString name;
};

// Every setting of the sections "Configuration", "SearchOptions", "EditIPTCOptions" and
// "CustomizedFieldNames", with the kinds and defaults of the configuration file.
struct AppSettings
{
    // Configuration
    bool displayImage = false;
    bool stayOnTop = false;
    bool useThumbnails = true;
    bool createThumbnails = false;
    bool reCreateThumbnails = false;
    QString language = QStringLiteral("English");
    std::optional<QString> lastDB; // absent until a catalogue is chosen
    QString destinationFolder;
    int applyTemplateOption = 0;
    bool addKeywordsOption = false;
    bool removeKeywordsOption = false;

    // SearchOptions
    bool searchAllIPTC = true;
    bool searchKeywords = false;
    bool searchHeadline = false;
    bool searchCredit = false;
    bool searchCaption = false;
    bool searchByline = false;
    bool searchCity = false;
    bool searchCountry = false;
    bool searchFolderNames = true;
    bool searchFileNames = true;
    int translation = 0; // 0 to 2; anything else reads as 0
    bool fieldIPTC = false;
    int indexFieldIPTC = -1;
    bool wholeWord = false;
    bool useTranslation = false;

    // EditIPTCOptions
    bool readIPTC = true;
    bool editCustomizedFields = true; // forced off when readIPTC is off
    bool controlLengthFields = true;
    bool keepCreationDate = true;
    bool saveOriginalFile = false;
    bool saveFirstVersion = true;
    QString saveFolder;

    // CustomizedFieldNames, rows 0 to 15
    std::array<CustomizedFieldName, 16> customizedFieldNames;
};

// The lstFields position that IndexFieldIPTC selects among fieldCount entries; -1 (nothing) for
// a value outside the list.
int selectedFieldPosition(const AppSettings &settings, int fieldCount);

// Section readers; each gives the defaults for absent keys.
void readConfiguration(const IniFile &ini, AppSettings &settings);
void readSearchOptions(const IniFile &ini, AppSettings &settings);
void readEditIptcOptions(const IniFile &ini, AppSettings &settings);
void readCustomizedFieldNames(const IniFile &ini, AppSettings &settings);
AppSettings readAllSettings(const IniFile &ini);

// "Search" section: Contents1 to Contents10 in order, missing keys skipped.
QStringList readSearchHistory(const IniFile &ini);
// Deletes the section and writes Contents1..ContentsN for every entry.
void writeSearchHistory(const IniFile &ini, const QStringList &entries);

// Geometry of a window section ("MainWindow", "DisplayWindow") in twips; a missing key keeps
// the value of design.
QRect readWindowTwips(const IniFile &ini, const QString &section, const QRect &design);
void writeWindowTwips(const IniFile &ini, const QString &section, const QRect &twips);

// Writes one switch as "1"/"0".
void writeSwitch(const IniFile &ini, const QString &section, const QString &key, bool on);

// Lists kept in numbered keys: read from first..last, skipping absent keys.
QStringList readNumberedList(const IniFile &ini, const QString &section, const QString &prefix,
                             int first, int last);
// Read from prefix0 upwards until the first absent key (the empty-words list).
QStringList readListUntilGap(const IniFile &ini, const QString &section, const QString &prefix);
// Deletes the section and writes prefix+first.. for every entry.
void writeNumberedList(const IniFile &ini, const QString &section, const QString &prefix,
                       int first, const QStringList &entries);

} // namespace zelvarion
