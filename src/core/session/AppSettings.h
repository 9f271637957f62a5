#pragma once

#include "platform/FileNames.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <climits>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>
#include <variant>

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

// Every setting of the sections "Configuration", "SearchOptions", "EditIPTCOptions",
// "CustomizedFieldNames", "XML", "Statistics" and "Spelling". The keys, kinds and defaults of all
// but "CustomizedFieldNames" are those of the settings table (settingsTable()); a new record
// holds the table's defaults.
struct AppSettings
{
    AppSettings();

    // Configuration
    bool displayImage{};
    bool stayOnTop{};
    bool useThumbnails{};
    bool createThumbnails{};
    bool reCreateThumbnails{};
    QString language;
    std::optional<QString> lastDB; // absent until a catalogue is chosen
    QString destinationFolder;
    int applyTemplateOption{};
    int applyTemplateNonClearingOption{}; // 0 or 1: the last mode chosen that empties no field
    bool addKeywordsOption{};
    bool removeKeywordsOption{};

    // SearchOptions
    bool searchAllIPTC{};
    bool searchKeywords{};
    bool searchHeadline{};
    bool searchCredit{};
    bool searchCaption{};
    bool searchByline{};
    bool searchCity{};
    bool searchCountry{};
    bool searchFolderNames{};
    bool searchFileNames{};
    int translation{}; // 0 to 2; anything else reads as 0
    bool fieldIPTC{};
    int indexFieldIPTC{};
    bool wholeWord{};
    bool useTranslation{};

    // EditIPTCOptions
    bool readIPTC{};
    bool editCustomizedFields{}; // forced off when readIPTC is off
    bool controlLengthFields{};
    bool keepCreationDate{};
    bool saveOriginalFile{};
    bool saveFirstVersion{};
    QString saveFolder;
    QString codeFiles;     // the files of code replacements, joined by "|"
    QString codeDelimiter; // the character around a typed code

    // XML
    QString xmlTitle;
    QString xslFile; // the stylesheet list text of the last display

    // Statistics
    bool statisticsAllFields{}; // off: keywords only
    bool ignoreEmptyWords{};

    // Spelling
    QString spellingDictionary; // a dictionary name such as "de_DE"; empty for the language pack's

    // CustomizedFieldNames, rows 0 to 15
    std::array<CustomizedFieldName, 16> customizedFieldNames;

    // PathMapping: this machine's mounts of shared folders (readPathMappings)
    std::vector<filenames::PathMapping> pathMappings;
};

// How a setting is written in the file and read back (see settingValue).
enum class SettingKind {
    SwitchOff,   // default off: on only for exactly "1"
    SwitchOn,    // default on: off only for exactly "0"
    WholeNumber, // leading-number parse, rounded
    Text,        // as is
};

using SettingMember = std::variant<bool AppSettings::*, int AppSettings::*, QString AppSettings::*,
                                   std::optional<QString> AppSettings::*>;

// One key of the configuration file and the AppSettings member it fills.
struct SettingDefinition
{
    const char *section;
    const char *key;
    SettingKind kind;
    SettingMember member;
    int numberDefault = 0;            // WholeNumber: the value of an absent key
    const char *textDefault = "";     // Text: the value of an absent key; null for "absent"
    int lowest = INT_MIN;             // WholeNumber: a value outside lowest..highest reads as
    int highest = INT_MAX;            // the default
};

// Every setting read at start-up, one row per key; the only place their keys are written down.
std::span<const SettingDefinition> settingsTable();

// The row of a member; null for a member the table does not hold.
const SettingDefinition *findSetting(const SettingMember &member);

// Writes the member's value, as it is in memory, to its key.
void writeSetting(const IniFile &ini, const AppSettings &settings, const SettingDefinition &definition);

// The one way a setting changes: the value in memory and in the file at once. False (nothing
// changed) for a member the table does not hold.
template <typename T>
bool changeSetting(const IniFile &ini, AppSettings &settings, T AppSettings::*member, std::type_identity_t<T> value)
{
    const SettingDefinition *definition = findSetting(member);
    if (!definition)
        return false;
    settings.*member = std::move(value);
    writeSetting(ini, settings, *definition);
    return true;
}

// Sections of window geometry (twips) that the windows read when they open and write when they
// close.
inline constexpr char kMainWindowSection[] = "MainWindow";
inline constexpr char kDisplayWindowSection[] = "DisplayWindow";
// Beside the main window's geometry, which stays its normal place: "1" when it closed maximised.
// Absent in older files, which reopen at the normal place.
inline constexpr char kMaximizedKey[] = "Maximized";

// The lstFields position that IndexFieldIPTC selects among fieldCount entries; -1 (nothing) for
// a value outside the list.
int selectedFieldPosition(const AppSettings &settings, int fieldCount);

// Section readers; each gives the defaults for absent keys.
void readConfiguration(const IniFile &ini, AppSettings &settings);
void readSearchOptions(const IniFile &ini, AppSettings &settings);
void readEditIptcOptions(const IniFile &ini, AppSettings &settings);
void readCustomizedFieldNames(const IniFile &ini, AppSettings &settings);
// Replaces the CustomizedFieldNames section with the named rows of settings.
void writeCustomizedFieldNames(const IniFile &ini, const AppSettings &settings);
// "XML", "Statistics" and "Spelling": the export, statistics and spell-check windows.
void readExportOptions(const IniFile &ini, AppSettings &settings);
// "PathMapping": where this machine mounts folders the catalogue names otherwise, one pair of
// keys per folder, numbered from 1 up to the first absent StoredN:
//     [PathMapping]
//     Stored1=/mnt/photos        the folder as the catalogue's rows name it
//     Local1=/media/archive      the same folder as this machine mounts it
// The setting belongs to the machine, so the catalogue (shared by several) never holds it.
void readPathMappings(const IniFile &ini, AppSettings &settings);
// Replaces the section with the pairs of settings.
void writePathMappings(const IniFile &ini, const AppSettings &settings);
AppSettings readAllSettings(const IniFile &ini);

// "Search" section: Contents1 to Contents10 in order, missing keys skipped.
QStringList readSearchHistory(const IniFile &ini);
// Deletes the section and writes Contents1..ContentsN for every entry.
void writeSearchHistory(const IniFile &ini, const QStringList &entries);

// Geometry of a window section ("MainWindow", "DisplayWindow") in twips; a missing key keeps
// the value of design.
QRect readWindowTwips(const IniFile &ini, const QString &section, const QRect &design);
void writeWindowTwips(const IniFile &ini, const QString &section, const QRect &twips);

// The files of code replacements a setting lists ("a.txt|b.txt"), and the text that stores them.
QStringList codeFileList(const QString &setting);
QString codeFileSetting(const QStringList &files);

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
