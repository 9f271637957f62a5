#include "core/search/RunSearch.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/catalogue/EngineStatements.h"
#include "core/search/SearchIndex.h"
#include "core/search/SearchQueryBuilder.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"

#include <optional>
#include <string_view>

namespace zelvarion {

namespace {

QString firstCell(const CatalogueDb &db) { return db.rowCount() > 0 ? db.cell(0, 1) : QString(); }

// The rows go straight into the result list, without a table of texts between, and the rows of
// one folder share its name. Nothing when the statement failed part-way.
std::optional<std::vector<ResultRow>> streamedResultRows(CatalogueDb &db, const QString &statement)
{
    std::vector<ResultRow> rows;
    QByteArray folderBytes;
    QString folder;
    const int rc = db.forEachRow(statement, [&](const sqliteEngine::RowView &row) {
        const QByteArrayView bytes = row.utf8(resultListColumn::Folder);
        if (rows.empty() || std::string_view(bytes.data(), std::size_t(bytes.size()))
                                != std::string_view(folderBytes.constData(), std::size_t(folderBytes.size()))) {
            folderBytes = bytes.toByteArray();
            folder = row.text(resultListColumn::Folder);
        }
        rows.push_back({folder, row.text(resultListColumn::File), row.text(resultListColumn::CheckMark)});
        return sqliteEngine::RowAnswer::Next;
    });
    if (rc != 0)
        return std::nullopt;
    return rows;
}

// The text of the search box goes to the top of the history, and the words are kept for the
// highlighting; a presence or checked-only search with no text leaves the history alone.
void rememberText(const QString &text, SearchState &state, SearchOutcome &outcome)
{
    if (!text.isEmpty()) {
        state.history = searchHistoryAfter(state.history, text);
        outcome.historyChanged = true;
    }
    state.lastSearchText = text;
    state.lastSearchWords = lastSearchWords(text);
}

// What the window enables once the statement has run, successfully or not.
void describeResult(int found, bool wordStatisticsOpen, SearchOutcome &outcome)
{
    const bool any = found > 0;
    outcome.showFirstPage = true;
    outcome.enableApplyTemplate = any;
    outcome.enableWordStatistics = any && !wordStatisticsOpen;
    outcome.enableCopyImages = any && !wordStatisticsOpen;
    outcome.enableNavigation = found > ResultPaging::kPageSize;
}

// A few images changed since the index last caught up (a rename, an edit) are indexed first when
// the catalogue takes writes at once; otherwise they are searched as candidates.
constexpr long long kMostCaughtUpBeforeSearch = 5000;

QString statementToRun(CatalogueDb &db, const SearchRequest &request, const QString &fullStatement)
{
    const searchIndex::Status state = searchIndex::status(db);
    if (state.exists && state.pending > 0 && state.pending <= kMostCaughtUpBeforeSearch)
        searchIndex::catchUp(db);
    return searchIndex::indexedStatement(db, request, fullStatement).value_or(fullStatement);
}

} // namespace

SearchMessages searchMessages(const LanguagePack &pack)
{
    using enum InterfaceText;
    const QString item = QStringLiteral("\n- ");
    return {pack.message(Message::NothingToSearch) + item + withoutAccelerator(pack.text(WithoutIptcOption)) + item
                + withoutAccelerator(pack.text(WithIptcOption)) + item + withoutAccelerator(pack.text(FieldSearchOption)),
            pack.message(Message::ChooseField)};
}

QString lookUpTranslation(CatalogueDb &db, Feedback &feedback, const QString &typedText,
                          TranslationDirection direction)
{
    constexpr Message failure = Message::CannotGetTranslation;
    const TranslationLookup lookup = translationLookup(typedText, direction);
    // A failed lookup goes on without translation, so the other direction is not tried either.
    if (!db.executeOrReport(feedback, lookup.first, failure))
        return {};
    QString found = firstCell(db);
    if (found.isEmpty() && lookup.fallback && db.executeOrReport(feedback, *lookup.fallback, failure))
        found = firstCell(db);
    return found;
}

namespace {

// A search up to its statement, which readRows(db, statement, outcome) then runs on the open
// catalogue; readRows fills outcome.found.
template <typename ReadRows>
SearchOutcome searchWith(const SearchRequest &typed, SearchState &state, SearchEnvironment &environment,
                         ReadRows readRows)
{
    SearchOutcome outcome;
    state.results.clear(); // a search that fails leaves an empty result
    Feedback &feedback = environment.feedback;
    const SearchRefusal refusal = searchRefusal(typed);
    if (refusal == SearchRefusal::NothingToSearch) {
        feedback.showMessage(environment.messages.nothingToSearch, MessageIcon::Information);
        return outcome;
    }
    rememberText(typed.text, state, outcome);

    CatalogueDb &db = environment.catalogue;
    if (!db.openOrReport(feedback))
        return outcome;
    const ClosedOnExit closed(db);
    runSearchTuning(db, feedback);

    SearchRequest request = typed;
    request.translation.clear();
    if (request.useTranslation && environment.translationsLoaded) {
        request.translation = lookUpTranslation(db, feedback, request.text, request.translationDirection);
        outcome.translationShown = request.translation;
    }
    if (refusal == SearchRefusal::NoFieldChosen) {
        feedback.showMessage(environment.messages.noFieldChosen, MessageIcon::Information);
        return outcome;
    }

    outcome.statement = buildSearchStatement(request);
    readRows(db, statementToRun(db, request, outcome.statement), outcome);
    db.close();
    describeResult(outcome.found.value_or(0), environment.wordStatisticsOpen, outcome);
    return outcome;
}

} // namespace

SearchOutcome runSearch(const SearchRequest &typed, SearchState &state, SearchEnvironment &environment)
{
    return searchWith(typed, state, environment, [&](CatalogueDb &db, const QString &statement, SearchOutcome &outcome) {
        if (std::optional<std::vector<ResultRow>> rows = streamedResultRows(db, statement))
            state.results.assign(std::move(*rows));
        else
            db.report(environment.feedback, Message::CannotGetData);
        outcome.found = state.results.count();
    });
}

SearchOutcome streamSearch(const SearchRequest &typed, SearchState &state, SearchEnvironment &environment,
                           const QStringList &columns, const sqliteEngine::RowHandler &onRow)
{
    return searchWith(typed, state, environment, [&](CatalogueDb &db, const QString &statement, SearchOutcome &outcome) {
        db.readThroughSmallCache();
        spillSortsToTemporaryFile(db);
        int handedOut = 0;
        const int rc = db.forEachRow(withMoreColumns(statement, columns), [&](const sqliteEngine::RowView &row) {
            ++handedOut;
            return onRow(row);
        });
        if (rc != 0) {
            db.report(environment.feedback, Message::CannotGetData);
            outcome.failed = true;
        }
        outcome.found = handedOut;
    });
}

} // namespace zelvarion
