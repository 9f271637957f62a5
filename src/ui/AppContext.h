#pragma once

#include "core/catalogue/CatalogueDb.h"
#include "core/search/Translations.h"
#include "core/session/AppSettings.h"
#include "core/session/LanguagePack.h"
#include "core/spelling/Speller.h"
#include "platform/IniFile.h"

#include <QString>
#include <QStringList>

namespace zelvarion {

class Feedback;

// The process-wide state the main window owns and its dialogs read: settings, language pack,
// the catalogue in use and what the last translations load left.
struct AppContext
{
    AppContext();

    IniFile ini;
    AppSettings settings;
    LanguagePack language;
    CatalogueDb catalogue;
    TranslationsState translations;
    bool namedStreamsAvailable = true; // the thumbnail store can be written
    QString osDescription;
    QString translationsPath;
    // The spell check of the edit dialog and the statistics' unknown words: the dictionary of the
    // language pack in use, or the one the "Spelling" section names.
    SpellingService spelling;

    // Changes a setting in memory and in the configuration file at once.
    template <typename T>
    void setSetting(T AppSettings::*member, std::type_identity_t<T> value)
    {
        changeSetting(ini, settings, member, std::move(value));
    }

    // Remembers a chosen catalogue in memory and in the configuration file.
    void rememberCatalogue(const QString &path);

    // Schema creation at catalogue.path with the translations loaded and the path remembered.
    bool createSchema(Feedback &feedback);

    // Message 1, the path, then message 2: the remembered catalogue file is gone.
    QString missingCatalogueText(const QString &path) const;

    // Loads the translations on the open connection.
    void loadTranslations(Feedback &feedback);
};

} // namespace zelvarion
