#include "core/shell/AppSettings.h"

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

// Readers of one section: every key gets its default when absent, so a reader also resets a
// settings record that was read before.
class SectionReader
{
public:
    SectionReader(const IniFile &ini, const char *section)
        : m_ini(ini), m_section(QLatin1String(section))
    {
    }

    std::optional<QString> text(const char *key) const
    {
        return m_ini.read(m_section, QLatin1String(key));
    }
    QString text(const char *key, const QString &fallback) const
    {
        return text(key).value_or(fallback);
    }
    bool offUnlessOne(const char *key) const { return settingValue::switchDefaultOff(text(key)); }
    bool onUnlessZero(const char *key) const { return settingValue::switchDefaultOn(text(key)); }
    int number(const char *key, int fallback) const
    {
        const std::optional<long long> value = settingValue::wholeNumber(text(key));
        return value ? toInt(*value) : fallback;
    }

private:
    const IniFile &m_ini;
    QString m_section;
};

} // namespace

int selectedFieldPosition(const AppSettings &settings, int fieldCount)
{
    const int index = settings.indexFieldIPTC;
    return index >= 0 && index < fieldCount ? index : -1;
}

void readConfiguration(const IniFile &ini, AppSettings &settings)
{
    const SectionReader section(ini, "Configuration");
    settings.displayImage = section.offUnlessOne("DisplayImage");
    settings.stayOnTop = section.offUnlessOne("StayOnTop");
    settings.useThumbnails = section.onUnlessZero("UseThumbnails");
    settings.createThumbnails = section.offUnlessOne("CreateThumbnails");
    settings.reCreateThumbnails = section.offUnlessOne("ReCreateThumbnails");
    settings.language = section.text("Language", QStringLiteral("English"));
    settings.lastDB = section.text("LastDB");
    settings.destinationFolder = section.text("DestinationFolder", QString());
    // Kept as read: a number other than 0 to 2 selects no mode in the apply-template dialog.
    settings.applyTemplateOption = section.number("ApplyTemplateOption", 0);
    settings.addKeywordsOption = section.offUnlessOne("AddKeywordsOption");
    settings.removeKeywordsOption = section.offUnlessOne("RemoveKeywordsOption");
}

void readSearchOptions(const IniFile &ini, AppSettings &settings)
{
    const SectionReader section(ini, "SearchOptions");
    settings.searchAllIPTC = section.onUnlessZero("SearchAllIPTC");
    settings.searchKeywords = section.offUnlessOne("SearchKeywords");
    settings.searchHeadline = section.offUnlessOne("SearchHeadline");
    settings.searchCredit = section.offUnlessOne("SearchCredit");
    settings.searchCaption = section.offUnlessOne("SearchCaption");
    settings.searchByline = section.offUnlessOne("SearchByline");
    settings.searchCity = section.offUnlessOne("SearchCity");
    settings.searchCountry = section.offUnlessOne("SearchCountry");
    settings.searchFolderNames = section.onUnlessZero("SearchFolderNames");
    settings.searchFileNames = section.onUnlessZero("SearchFileNames");
    const int translation = section.number("Translation", 0);
    settings.translation = translation >= 0 && translation <= 2 ? translation : 0;
    settings.fieldIPTC = section.offUnlessOne("FieldIPTC");
    settings.indexFieldIPTC = section.number("IndexFieldIPTC", -1);
    settings.wholeWord = section.offUnlessOne("WholeWord");
    settings.useTranslation = section.offUnlessOne("UseTranslation");
}

void readEditIptcOptions(const IniFile &ini, AppSettings &settings)
{
    const SectionReader section(ini, "EditIPTCOptions");
    settings.readIPTC = section.onUnlessZero("ReadIPTC");
    settings.editCustomizedFields = settings.readIPTC && section.onUnlessZero("EditCustomizedFields");
    settings.controlLengthFields = section.onUnlessZero("ControlLengthFields");
    settings.keepCreationDate = section.onUnlessZero("KeepCreationDate");
    settings.saveOriginalFile = section.offUnlessOne("SaveOriginalFile");
    settings.saveFirstVersion = section.onUnlessZero("SaveFirstVersion");
    settings.saveFolder = section.text("SaveFolder", QString());
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

AppSettings readAllSettings(const IniFile &ini)
{
    AppSettings settings;
    readConfiguration(ini, settings);
    readSearchOptions(ini, settings);
    readEditIptcOptions(ini, settings);
    readCustomizedFieldNames(ini, settings);
    return settings;
}

QStringList readSearchHistory(const IniFile &ini)
{
    return readNumberedList(ini, QStringLiteral("Search"), QStringLiteral("Contents"), 1, 10);
}

void writeSearchHistory(const IniFile &ini, const QStringList &entries)
{
    writeNumberedList(ini, QStringLiteral("Search"), QStringLiteral("Contents"), 1, entries);
}

QRect readWindowTwips(const IniFile &ini, const QString &section, const QRect &design)
{
    const auto value = [&](const char *key, int fallback) {
        const std::optional<long long> number =
            settingValue::wholeNumber(ini.read(section, QLatin1String(key)));
        return number ? toInt(*number) : fallback;
    };
    return QRect(value("Left", design.x()), value("Top", design.y()),
                 value("Width", design.width()), value("Height", design.height()));
}

void writeWindowTwips(const IniFile &ini, const QString &section, const QRect &twips)
{
    ini.write(section, QStringLiteral("Left"), QString::number(twips.x()));
    ini.write(section, QStringLiteral("Top"), QString::number(twips.y()));
    ini.write(section, QStringLiteral("Width"), QString::number(twips.width()));
    ini.write(section, QStringLiteral("Height"), QString::number(twips.height()));
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
