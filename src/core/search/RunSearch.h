#pragma once

#include "core/catalogue/SearchRequest.h"
#include "core/search/ResultList.h"
#include "platform/SqliteEngine.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class LanguagePack;

// The two information messages of a search that runs no statement.
struct SearchMessages
{
    QString nothingToSearch; // message 10 and the captions of the three chkIPTC boxes
    QString noFieldChosen;   // message 24
};
SearchMessages searchMessages(const LanguagePack &pack);

// What the search works with besides the request.
struct SearchEnvironment
{
    CatalogueDb &catalogue; // opened at its path for the search and closed on every way out
    Feedback &feedback;
    SearchMessages messages;
    bool translationsLoaded = false; // TranslationsLoaded: without it no translation is looked up
    bool wordStatisticsOpen = false; // the statistics window keeps its menu items disabled
};

// What searches leave behind for the commands that follow. The window owns one.
struct SearchState
{
    ResultList results;
    QString lastSearchText;       // as typed, for the detail panel's highlighting
    QStringList lastSearchWords;  // the text with apostrophes doubled, cut at single spaces
    QStringList history;          // the items of lstTxtSearch, most recent first, at most 10
};

// What the window shows after a search. Everything starts cleared and disabled: the window
// resets its controls before the search and applies these after it.
struct SearchOutcome
{
    QString statement;            // the select that ran; empty when none ran
    std::optional<int> found;     // lblFound; nothing leaves the counter empty
    QString translationShown;     // lblTranslation and picTranslation; empty keeps them hidden
    bool historyChanged = false;  // refill lstTxtSearch from SearchState::history, text as typed
    bool showFirstPage = false;   // ShowResultPage (after a failed query too: an empty page)
    bool enableApplyTemplate = false;
    bool enableWordStatistics = false;
    bool enableCopyImages = false;
    bool enableNavigation = false; // more than one page; the page count is the result list's
    bool failed = false;           // streamSearch: the select failed (reported), perhaps part-way
};

// The one search of the catalogue: the request as read from the search controls and options
// (the caller turns SingleImageSearch and ShowCheckedOnly off again afterwards). Failures are
// reported through the environment's feedback; a search that fails leaves an empty result.
SearchOutcome runSearch(const SearchRequest &request, SearchState &state, SearchEnvironment &environment);

// The same search, its rows handed to onRow as the engine steps to them and none kept, for a
// command that reads every row of a result once: the result list stays empty, so a search of a
// million images takes the memory of one row. Each row holds the result's Folder, File and
// CheckMark followed by columns; found counts the rows handed out (onRow may answer Stop). A
// select that fails, also after some rows, is reported as CannotGetData and sets failed.
SearchOutcome streamSearch(const SearchRequest &request, SearchState &state, SearchEnvironment &environment,
                           const QStringList &columns, const sqliteEngine::RowHandler &onRow);

// The translation of the whole text in Translations on the open connection, as stored; empty
// when none is found or a lookup failed (reported). Both ways: the second column first, then,
// when that finds nothing, the first column by exact comparison.
QString lookUpTranslation(CatalogueDb &db, Feedback &feedback, const QString &typedText,
                          TranslationDirection direction);

} // namespace zelvarion
