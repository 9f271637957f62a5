#pragma once

#include "core/search/Translations.h"
#include "core/session/Session.h"
#include "core/spelling/Speller.h"

#include <QString>

namespace zelvarion {

class Feedback;

// The session the main window owns and its dialogs read, with what only the windows keep: what
// the last translations load left, the thumbnail store's state and the spell check.
struct AppContext : Session
{
    AppContext();

    TranslationsState translations;
    bool namedStreamsAvailable = true; // the thumbnail store can be written
    QString osDescription;
    QString translationsPath;
    // The spell check of the edit dialog and the statistics' unknown words: the dictionary of the
    // language pack in use, or the one the "Spelling" section names.
    SpellingService spelling;

    // Schema creation at catalogue.path with the translations loaded and the path remembered.
    bool createSchema(Feedback &feedback);

    // Loads the translations on the open connection.
    void loadTranslations(Feedback &feedback);
};

} // namespace zelvarion
