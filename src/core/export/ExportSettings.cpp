#include "core/export/ExportSettings.h"

#include "core/shell/AppSettings.h"
#include "platform/IniFile.h"

namespace zelvarion {
namespace {
const QString kXml = QStringLiteral("XML");
const QString kStatistics = QStringLiteral("Statistics");
} // namespace

ExportSettings readExportSettings(const IniFile &ini)
{
    ExportSettings settings;
    settings.xmlTitle = ini.read(kXml, QStringLiteral("XMLTitle")).value_or(QString());
    settings.xslFile = ini.read(kXml, QStringLiteral("XSLFile")).value_or(QString());
    const std::optional<QString> allFields = ini.read(kStatistics, QStringLiteral("AllFields"));
    settings.allFields = !allFields || *allFields != u"0";
    settings.ignoreEmptyWords = settingValue::switchDefaultOff(ini.read(kStatistics, QStringLiteral("IgnoreEmptyWords")));
    settings.dictionary = ini.read(QStringLiteral("Spelling"), QStringLiteral("Dictionary")).value_or(QString());
    return settings;
}

void writeXmlTitle(const IniFile &ini, const QString &title) { ini.write(kXml, QStringLiteral("XMLTitle"), title); }

void writeXslFile(const IniFile &ini, const QString &listText)
{
    ini.write(kXml, QStringLiteral("XSLFile"), listText);
}

void writeStatisticsOptions(const IniFile &ini, bool allFields, bool ignoreEmptyWords)
{
    writeSwitch(ini, kStatistics, QStringLiteral("AllFields"), allFields);
    writeSwitch(ini, kStatistics, QStringLiteral("IgnoreEmptyWords"), ignoreEmptyWords);
}

} // namespace zelvarion
