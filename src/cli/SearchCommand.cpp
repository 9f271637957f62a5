// zelvarion-cli search: the window's search from the command line, with the same request, the
// same statement and the same search options of Zelvarion.ini.
#include "cli/Commands.h"
#include "cli/SearchArguments.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/search/RunSearch.h"
#include "core/search/SearchQueryBuilder.h"
#include "core/search/Translations.h"
#include "core/shell/AppSettings.h"
#include "core/shell/Feedback.h"
#include "core/shell/LanguagePack.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QFileInfo>

namespace zelvarion::cli {
namespace {

// Messages of the core go to the error stream; a critical one makes the command fail.
class SearchFeedback : public Feedback
{
public:
    explicit SearchFeedback(QTextStream &err) : m_err(err) {}
    void showMessage(const QString &text, MessageIcon icon, const QString & = {}) override
    {
        m_err << text << '\n';
        m_failed = m_failed || icon == MessageIcon::Critical || icon == MessageIcon::Information;
    }
    bool askYesNo(const QString &, MessageIcon) override { return false; }
    bool failed() const { return m_failed; }

private:
    QTextStream &m_err;
    bool m_failed = false;
};

int printStatement(SearchRequest request, CatalogueDb &db, SearchFeedback &feedback, bool translationsLoaded,
                   const SearchMessages &messages, QTextStream &out)
{
    switch (searchRefusal(request)) {
    case SearchRefusal::NothingToSearch:
        feedback.showMessage(messages.nothingToSearch, MessageIcon::Information);
        return 1;
    case SearchRefusal::NoFieldChosen:
        feedback.showMessage(messages.noFieldChosen, MessageIcon::Information);
        return 1;
    case SearchRefusal::None:
        break;
    }
    if (request.useTranslation && translationsLoaded && db.openOrReport(feedback)) {
        request.translation = lookUpTranslation(db, feedback, request.text, request.translationDirection);
        db.close();
    }
    out << buildSearchStatement(request) << '\n';
    return feedback.failed() ? 1 : 0;
}

} // namespace

int runSearchCommand(CliContext &context)
{
    const AppSettings settings = readAllSettings(IniFile(programFolder::configFilePath()));
    SearchCommandLine line;
    QString problem;
    if (!parseSearchCommandLine(context.arguments, settings, line, problem)) {
        context.err << "zelvarion-cli search: " << problem << '\n';
        return 2;
    }
    CatalogueDb db;
    db.path = cataloguePath(line.catalogue, settings);
    // Opening would create an empty catalogue where there is none.
    if ((line.request.useTranslation || !line.printStatement) && !QFileInfo(db.path).isFile()) {
        context.err << "zelvarion-cli search: no catalogue at " << db.path << '\n';
        return 1;
    }
    LanguagePack pack;
    pack.loadShippedEnglish();
    pack.load(programFolder::languageFolder(), settings.language);
    SearchFeedback feedback(context.err);
    SearchEnvironment environment{db, feedback, searchMessages(pack)};
    if (line.request.useTranslation)
        environment.translationsLoaded = loadTranslationsForSearch(db, feedback);
    if (line.printStatement)
        return printStatement(line.request, db, feedback, environment.translationsLoaded, environment.messages,
                              context.out);

    SearchState state;
    const SearchOutcome outcome = runSearch(line.request, state, environment);
    if (!outcome.translationShown.isEmpty())
        context.err << "translation: " << outcome.translationShown << '\n';
    for (const ResultRow &row : state.results.rows())
        context.out << row.folder << '\t' << row.file << '\n';
    return feedback.failed() || !outcome.found ? 1 : 0;
}

} // namespace zelvarion::cli
