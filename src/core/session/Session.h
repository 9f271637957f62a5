#pragma once

#include "core/catalogue/CatalogueCommand.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/session/AppSettings.h"
#include "core/session/LanguagePack.h"
#include "platform/IniFile.h"

#include <QString>

namespace zelvarion {

class Feedback;

// What the window and every command of the command line start from: the configuration file and
// the settings read from it, the language pack in use (English for the keys it lacks) and the
// catalogue.
struct Session
{
    // The program folder's configuration file, the settings' defaults and English.
    Session();

    IniFile ini;
    AppSettings settings;
    LanguagePack language;
    CatalogueDb catalogue;

    // Every setting of the configuration file.
    void loadSettings();
    // The settings, then the pack they name from languageFolder; false (English stays) when that
    // pack cannot be loaded.
    bool loadSettingsAndLanguage(const QString &languageFolder);

    // Changes a setting in memory and in the configuration file at once.
    template <typename T>
    void setSetting(T AppSettings::*member, std::type_identity_t<T> value)
    {
        changeSetting(ini, settings, member, std::move(value));
    }

    // The customized field names in memory and in the configuration file at once.
    void setCustomizedFieldNames(const std::array<CustomizedFieldName, 16> &names)
    {
        settings.customizedFieldNames = names;
        writeCustomizedFieldNames(ini, settings);
    }

    // Remembers a chosen catalogue in memory and in the configuration file.
    void rememberCatalogue(const QString &path);

    // The catalogue given, else the remembered one, else the program folder's default.
    QString cataloguePath(const QString &given) const;

    // Message 1, the path, then message 2: the remembered catalogue file is gone.
    QString missingCatalogueText(const QString &path) const;

    // The label of customized lines in this language; a pack may leave it empty.
    QString customizedLabel() const;

    CatalogueCommand command(Feedback &feedback) { return {catalogue, feedback, language}; }
};

} // namespace zelvarion
