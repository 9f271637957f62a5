#include "core/session/AppSettings.h"

#include "platform/IniFile.h"

#include <cmath>
#include <limits>

namespace zelvarion {
namespace settingValue {

bool switchDefaultOff(const std::optional<QString> &value)
{
    return value && *value == QLatin1String("1");
}

bool switchDefaultOn(const std::optional<QString> &value)
{
    return !(value && *value == QLatin1String("0"));
}

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    const qsizetype digitsStart = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    qsizetype digitCount = i - digitsStart;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fractionStart = ++i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            ++i;
        digitCount += i - fractionStart;
    }
    if (digitCount == 0)
        return 0.0;
    bool ok = false;
    const double number = text.mid(start, i - start).toDouble(&ok);
    return ok ? number : 0.0;
}

// Halves round away from zero (2.5 -> 3, -2.5 -> -3); the result is clamped to the range of
// long long so a run of digits in a hand-edited file cannot overflow.
long long wholeNumber(const QString &text)
{
    const double rounded = std::round(leadingNumber(text));
    constexpr double kMax = 9.2e18;
    if (!(rounded < kMax))
        return rounded > 0 ? std::numeric_limits<long long>::max() : 0;
    if (!(rounded > -kMax))
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(rounded);
}

std::optional<long long> wholeNumber(const std::optional<QString> &value)
{
    if (!value)
        return std::nullopt;
    return wholeNumber(*value);
}

QString switchText(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

} // namespace settingValue

namespace {

int toInt(long long value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}

constexpr char kConfiguration[] = "Configuration";
constexpr char kSearchOptions[] = "SearchOptions";
constexpr char kEditIptcOptions[] = "EditIPTCOptions";
constexpr char kXml[] = "XML";
constexpr char kStatistics[] = "Statistics";
constexpr char kSpelling[] = "Spelling";

using S = AppSettings;
using enum SettingKind;

// To add a setting: a member in AppSettings, one row here; read at start-up with its section,
// written through changeSetting.
const SettingDefinition kSettings[] = {
    {kConfiguration, "DisplayImage", SwitchOff, &S::displayImage},
    {kConfiguration, "StayOnTop", SwitchOff, &S::stayOnTop},
    {kConfiguration, "UseThumbnails", SwitchOn, &S::useThumbnails},
    {kConfiguration, "CreateThumbnails", SwitchOff, &S::createThumbnails},
    {kConfiguration, "ReCreateThumbnails", SwitchOff, &S::reCreateThumbnails},
    {kConfiguration, "Language", Text, &S::language, 0, "English"},
    {kConfiguration, "LastDB", Text, &S::lastDB, 0, nullptr},
    {kConfiguration, "DestinationFolder", Text, &S::destinationFolder},
    // Kept as read: a number other than 0 to 2 selects no mode in the apply-template dialog.
    {kConfiguration, "ApplyTemplateOption", WholeNumber, &S::applyTemplateOption},
    // The last of the two modes that empty no image field: the dialog opens on it when the last
    // run cleared fields, so that mode is never chosen without the user choosing it again.
    {kConfiguration, "ApplyTemplateNonClearingOption", WholeNumber, &S::applyTemplateNonClearingOption, 0, "", 0, 1},
    {kConfiguration, "AddKeywordsOption", SwitchOff, &S::addKeywordsOption},
    {kConfiguration, "RemoveKeywordsOption", SwitchOff, &S::removeKeywordsOption},

    {kSearchOptions, "SearchAllIPTC", SwitchOn, &S::searchAllIPTC},
    {kSearchOptions, "SearchKeywords", SwitchOff, &S::searchKeywords},
    {kSearchOptions, "SearchHeadline", SwitchOff, &S::searchHeadline},
    {kSearchOptions, "SearchCredit", SwitchOff, &S::searchCredit},
    {kSearchOptions, "SearchCaption", SwitchOff, &S::searchCaption},
    {kSearchOptions, "SearchByline", SwitchOff, &S::searchByline},
    {kSearchOptions, "SearchCity", SwitchOff, &S::searchCity},
    {kSearchOptions, "SearchCountry", SwitchOff, &S::searchCountry},
    {kSearchOptions, "SearchFolderNames", SwitchOn, &S::searchFolderNames},
    {kSearchOptions, "SearchFileNames", SwitchOn, &S::searchFileNames},
    {kSearchOptions, "Translation", WholeNumber, &S::translation, 0, "", 0, 2},
    {kSearchOptions, "FieldIPTC", SwitchOff, &S::fieldIPTC},
    // A position outside the field list selects nothing (selectedFieldPosition).
    {kSearchOptions, "IndexFieldIPTC", WholeNumber, &S::indexFieldIPTC, -1},
    {kSearchOptions, "WholeWord", SwitchOff, &S::wholeWord},
    {kSearchOptions, "UseTranslation", SwitchOff, &S::useTranslation},

    {kEditIptcOptions, "ReadIPTC", SwitchOn, &S::readIPTC},
    {kEditIptcOptions, "EditCustomizedFields", SwitchOn, &S::editCustomizedFields},
    {kEditIptcOptions, "ControlLengthFields", SwitchOn, &S::controlLengthFields},
    {kEditIptcOptions, "KeepCreationDate", SwitchOn, &S::keepCreationDate},
    {kEditIptcOptions, "SaveOriginalFile", SwitchOff, &S::saveOriginalFile},
    {kEditIptcOptions, "SaveFirstVersion", SwitchOn, &S::saveFirstVersion},
    {kEditIptcOptions, "SaveFolder", Text, &S::saveFolder},
    {kEditIptcOptions, "CodeFiles", Text, &S::codeFiles},
    {kEditIptcOptions, "CodeDelimiter", Text, &S::codeDelimiter, 0, "="},

    {kXml, "XMLTitle", Text, &S::xmlTitle},
    {kXml, "XSLFile", Text, &S::xslFile},
    {kStatistics, "AllFields", SwitchOn, &S::statisticsAllFields},
    {kStatistics, "IgnoreEmptyWords", SwitchOff, &S::ignoreEmptyWords},
    {kSpelling, "Dictionary", Text, &S::spellingDictionary},
};

std::optional<QString> textDefault(const SettingDefinition &definition)
{
    if (!definition.textDefault)
        return std::nullopt;
    return QString::fromUtf8(definition.textDefault);
}

// The member's value for a key's text in the file, or for its absence.
void applyValue(const SettingDefinition &d, const std::optional<QString> &value, AppSettings &settings)
{
    std::visit(
        [&](auto member) {
            using Value = std::remove_cvref_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<Value, bool>) {
                settings.*member = d.kind == SwitchOn ? settingValue::switchDefaultOn(value)
                                                      : settingValue::switchDefaultOff(value);
            } else if constexpr (std::is_same_v<Value, int>) {
                const std::optional<long long> number = settingValue::wholeNumber(value);
                const int read = number ? toInt(*number) : d.numberDefault;
                settings.*member = read >= d.lowest && read <= d.highest ? read : d.numberDefault;
            } else if constexpr (std::is_same_v<Value, QString>) {
                settings.*member = value ? *value : textDefault(d).value_or(QString());
            } else {
                settings.*member = value ? value : textDefault(d);
            }
        },
        d.member);
}

QString valueText(const SettingDefinition &d, const AppSettings &settings)
{
    return std::visit(
        [&](auto member) -> QString {
            using Value = std::remove_cvref_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<Value, bool>)
                return settingValue::switchText(settings.*member);
            else if constexpr (std::is_same_v<Value, int>)
                return QString::number(settings.*member);
            else if constexpr (std::is_same_v<Value, QString>)
                return settings.*member;
            else
                return (settings.*member).value_or(QString());
        },
        d.member);
}

// Every key of a section: each absent key gets its default, so reading also resets a record
// that was read before.
void readSection(const IniFile &ini, AppSettings &settings, const char *section)
{
    for (const SettingDefinition &d : kSettings)
        if (qstrcmp(d.section, section) == 0)
            applyValue(d, ini.read(QLatin1String(d.section), QLatin1String(d.key)), settings);
}

} // namespace

AppSettings::AppSettings()
{
    for (const SettingDefinition &d : kSettings)
        applyValue(d, std::nullopt, *this);
}

std::span<const SettingDefinition> settingsTable()
{
    return kSettings;
}

const SettingDefinition *findSetting(const SettingMember &member)
{
    for (const SettingDefinition &d : kSettings)
        if (d.member == member)
            return &d;
    return nullptr;
}

void writeSetting(const IniFile &ini, const AppSettings &settings, const SettingDefinition &definition)
{
    ini.write(QLatin1String(definition.section), QLatin1String(definition.key), valueText(definition, settings));
}

int selectedFieldPosition(const AppSettings &settings, int fieldCount)
{
    const int index = settings.indexFieldIPTC;
    return index >= 0 && index < fieldCount ? index : -1;
}

void readConfiguration(const IniFile &ini, AppSettings &settings)
{
    readSection(ini, settings, kConfiguration);
}

void readSearchOptions(const IniFile &ini, AppSettings &settings)
{
    readSection(ini, settings, kSearchOptions);
}

void readEditIptcOptions(const IniFile &ini, AppSettings &settings)
{
    readSection(ini, settings, kEditIptcOptions);
    settings.editCustomizedFields = settings.editCustomizedFields && settings.readIPTC;
}

void readCustomizedFieldNames(const IniFile &ini, AppSettings &settings)
{
    const QString section = QStringLiteral("CustomizedFieldNames");
    for (int i = 0; i < int(settings.customizedFieldNames.size()); ++i) {
        CustomizedFieldName &row = settings.customizedFieldNames[std::size_t(i)];
        row.index = ini.read(section, QStringLiteral("Index%1").arg(i)).value_or(QString());
        row.name = ini.read(section, QStringLiteral("Name%1").arg(i)).value_or(QString());
    }
}

void writeCustomizedFieldNames(const IniFile &ini, const AppSettings &settings)
{
    // Unnamed rows are left out, so the section lists only what the user named.
    QList<std::pair<QString, QString>> keys;
    for (int i = 0; i < int(settings.customizedFieldNames.size()); ++i) {
        const CustomizedFieldName &row = settings.customizedFieldNames[std::size_t(i)];
        if (row.name.isEmpty())
            continue;
        keys.append({QStringLiteral("Index%1").arg(i), row.index});
        keys.append({QStringLiteral("Name%1").arg(i), row.name});
    }
    ini.replaceSection(QStringLiteral("CustomizedFieldNames"), keys);
}

void readExportOptions(const IniFile &ini, AppSettings &settings)
{
    readSection(ini, settings, kXml);
    readSection(ini, settings, kStatistics);
    readSection(ini, settings, kSpelling);
}

namespace {
constexpr char kPathMappingSection[] = "PathMapping";
} // namespace

void readPathMappings(const IniFile &ini, AppSettings &settings)
{
    const QString section = QLatin1String(kPathMappingSection);
    settings.pathMappings.clear();
    for (int i = 1;; ++i) {
        const std::optional<QString> stored = ini.read(section, QStringLiteral("Stored%1").arg(i));
        if (!stored)
            break;
        settings.pathMappings.push_back({*stored, ini.read(section, QStringLiteral("Local%1").arg(i)).value_or(QString())});
    }
}

void writePathMappings(const IniFile &ini, const AppSettings &settings)
{
    QList<std::pair<QString, QString>> keys;
    for (std::size_t i = 0; i < settings.pathMappings.size(); ++i) {
        keys.append({QStringLiteral("Stored%1").arg(i + 1), settings.pathMappings[i].stored});
        keys.append({QStringLiteral("Local%1").arg(i + 1), settings.pathMappings[i].local});
    }
    ini.replaceSection(QLatin1String(kPathMappingSection), keys);
}

AppSettings readAllSettings(const IniFile &ini)
{
    AppSettings settings;
    readConfiguration(ini, settings);
    readSearchOptions(ini, settings);
    readEditIptcOptions(ini, settings);
    readCustomizedFieldNames(ini, settings);
    readExportOptions(ini, settings);
    readPathMappings(ini, settings);
    return settings;
}

namespace {
// The search history: keys Contents1, Contents2, ...; at most ten are read back.
constexpr char kSearchSection[] = "Search";
constexpr char kSearchPrefix[] = "Contents";
constexpr int kSearchHistoryRead = 10;
} // namespace

// A file name rarely holds "|", and the configuration file keeps one value to a line.
QStringList codeFileList(const QString &setting)
{
    QStringList files;
    for (const QString &file : setting.split(u'|'))
        if (!file.trimmed().isEmpty())
            files << file;
    return files;
}

QString codeFileSetting(const QStringList &files) { return files.join(u'|'); }

QStringList readSearchHistory(const IniFile &ini)
{
    return readNumberedList(ini, QLatin1String(kSearchSection), QLatin1String(kSearchPrefix), 1, kSearchHistoryRead);
}

void writeSearchHistory(const IniFile &ini, const QStringList &entries)
{
    writeNumberedList(ini, QLatin1String(kSearchSection), QLatin1String(kSearchPrefix), 1, entries);
}

namespace {
// The keys of a geometry section, in the order of windowValues.
constexpr const char *kGeometryKeys[] = {"Left", "Top", "Width", "Height"};
std::array<int, 4> windowValues(const QRect &r) { return {r.x(), r.y(), r.width(), r.height()}; }
} // namespace

QRect readWindowTwips(const IniFile &ini, const QString &section, const QRect &design)
{
    std::array<int, 4> values = windowValues(design);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<long long> number =
            settingValue::wholeNumber(ini.read(section, QLatin1String(kGeometryKeys[i])));
        if (number)
            values[i] = toInt(*number);
    }
    return QRect(values[0], values[1], values[2], values[3]);
}

void writeWindowTwips(const IniFile &ini, const QString &section, const QRect &twips)
{
    const std::array<int, 4> values = windowValues(twips);
    for (std::size_t i = 0; i < values.size(); ++i)
        ini.write(section, QLatin1String(kGeometryKeys[i]), QString::number(values[i]));
}

void writeSwitch(const IniFile &ini, const QString &section, const QString &key, bool on)
{
    ini.write(section, key, settingValue::switchText(on));
}

QStringList readNumberedList(const IniFile &ini, const QString &section, const QString &prefix,
                             int first, int last)
{
    QStringList entries;
    for (int i = first; i <= last; ++i)
        if (const std::optional<QString> value = ini.read(section, prefix + QString::number(i)))
            entries << *value;
    return entries;
}

QStringList readListUntilGap(const IniFile &ini, const QString &section, const QString &prefix)
{
    QStringList entries;
    for (int i = 0;; ++i) {
        const std::optional<QString> value = ini.read(section, prefix + QString::number(i));
        if (!value)
            return entries;
        entries << *value;
    }
}

void writeNumberedList(const IniFile &ini, const QString &section, const QString &prefix,
                       int first, const QStringList &entries)
{
    QList<std::pair<QString, QString>> keys;
    for (int i = 0; i < entries.size(); ++i)
        keys.append({prefix + QString::number(first + i), entries[i]});
    ini.replaceSection(section, keys);
}

} // namespace zelvarion
