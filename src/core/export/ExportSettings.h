#pragma once

#include <QString>

namespace zelvarion {

class IniFile;

// The settings of the export, rendering and statistics windows, read and written in one place.
struct ExportSettings
{
    QString xmlTitle;       // "XML", XMLTitle
    QString xslFile;        // "XML", XSLFile: the stylesheet list text of the last display
    bool allFields = true;  // "Statistics", AllFields ("0": keywords only)
    bool ignoreEmptyWords = false; // "Statistics", IgnoreEmptyWords (on only for "1")
    QString dictionary;     // "Spelling", Dictionary: a dictionary name such as "de_DE"; empty
                            // for the one of the language pack in use
};

ExportSettings readExportSettings(const IniFile &ini);
void writeXmlTitle(const IniFile &ini, const QString &title);
void writeXslFile(const IniFile &ini, const QString &listText);
void writeStatisticsOptions(const IniFile &ini, bool allFields, bool ignoreEmptyWords);

} // namespace zelvarion
