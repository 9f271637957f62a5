#pragma once

#include <QString>

namespace zelvarion {

class CatalogueDb;
class Feedback;

// What the last load of the translations file left for the rest of the run.
struct TranslationsState
{
    bool tableCleared = false; // false: "delete from Translations" failed and nothing changed;
                               // the automatic-translation box keeps its visibility then
    bool fileExists = false; // false: the window hides the automatic-translation box
    bool loaded = false;     // TranslationsLoaded: the whole file was read and stored
    QString language1;
    QString language2;
    int lineCount = 0;       // lines with a "/", the language line included
};

// Empties the Translations table and refills it from the translations file inside transaction
// LOADTRANSLATIONS, on the open connection, which it leaves open.
TranslationsState loadTranslations(CatalogueDb &db, Feedback &feedback, const QString &translationsPath);

} // namespace zelvarion
