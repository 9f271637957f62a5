#pragma once

#include "core/search/ResultList.h"
#include "core/search/SearchRequest.h"

#include <QString>
#include <QStringList>

namespace zelvarion {
class CatalogueDb;
class Feedback;
class LanguagePack;
struct AppSettings;
} // namespace zelvarion

namespace zelvarion::cli {

// The arguments of `search`, which every command working on "the result" takes too.
struct SearchCommandLine
{
    SearchRequest request;
    QString catalogue; // empty: the remembered one, else the default
    bool printStatement = false;
};

// The request as the search controls would give it; the search options come from settings.
// Every argument not taken as an option is a word of the text; an unknown option is a problem.
bool parseSearchCommandLine(QStringList arguments, const AppSettings &settings, SearchCommandLine &line,
                            QString &problem);

// The catalogue given, else the remembered one, else the default.
QString cataloguePath(const QString &given, const AppSettings &settings);

// Fills Translations from the translations file as the start-up does; true when loaded.
bool loadTranslationsForSearch(CatalogueDb &db, Feedback &feedback);

// The result of the search the arguments describe, found as `search` finds it; false when the
// search could not run (told through feedback), and result left empty.
bool findResult(const SearchCommandLine &line, CatalogueDb &db, Feedback &feedback, const LanguagePack &language,
                ResultList &result);

} // namespace zelvarion::cli
