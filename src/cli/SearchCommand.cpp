// zelvarion-cli search: the window's search from the command line, with the same request, the
// same statement and the same search options of Zelvarion.ini.
#include "cli/Commands.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/iptc/IptcField.h"
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

struct SearchCommandLine
{
    SearchRequest request;
    QString catalogue; // empty: the remembered one, else the default
    bool printStatement = false;
};

std::optional<int> fieldIndexOf(const QString &column)
{
    for (const IptcField &field : kIptcFields)
        if (column.compare(QLatin1String(field.column), Qt::CaseInsensitive) == 0)
            return field.index;
    return std::nullopt;
}

bool takeOperator(QStringList &arguments, SearchRequest &request, QString &problem)
{
    const std::optional<QString> op = takeOption(arguments, QStringLiteral("--operator"));
    if (!op || *op == u"exact")
        return true;
    if (*op == u"and" || *op == u"or") {
        request.op = *op == u"and" ? SearchOperator::And : SearchOperator::Or;
        return true;
    }
    problem = QStringLiteral("--operator takes exact, and or or, not '%1'").arg(*op);
    return false;
}

bool takeFieldAndSort(QStringList &arguments, SearchRequest &request, QString &problem)
{
    if (const auto column = takeOption(arguments, QStringLiteral("--field"))) {
        const std::optional<int> index = fieldIndexOf(*column);
        if (!index) {
            problem = QStringLiteral("--field needs a column name such as City or Caption, not '%1'").arg(*column);
            return false;
        }
        request.fieldSearch = true;
        request.fieldIndex = *index;
    }
    if (const auto sort = takeOption(arguments, QStringLiteral("--sort"))) {
        bool numeric = false;
        request.sortIndex = sort->toInt(&numeric);
        if (!numeric || request.sortIndex < 0 || request.sortIndex > 40) {
            problem = QStringLiteral("--sort takes a number from 0 to 40, not '%1'").arg(*sort);
            return false;
        }
    }
    request.sortAscending = !takeFlag(arguments, QStringLiteral("--desc"));
    return true;
}

bool takeRevised(QStringList &arguments, SearchRequest &request, QString &problem)
{
    const bool never = takeFlag(arguments, QStringLiteral("--never-revised"));
    const bool revised = takeFlag(arguments, QStringLiteral("--revised"));
    const bool reverse = takeFlag(arguments, QStringLiteral("--reverse"));
    if (never && revised) {
        problem = QStringLiteral("--never-revised and --revised exclude each other");
        return false;
    }
    if (reverse && !revised) {
        problem = QStringLiteral("--reverse orders revised images only (with --revised)");
        return false;
    }
    request.revised = never ? RevisedFilter::NeverRevised
                            : revised ? RevisedFilter::AlreadyRevised : RevisedFilter::Any;
    request.revisionAscending = !reverse;
    return true;
}

// The request as the search controls would give it; the search options come from settings.
bool parseSearchCommandLine(QStringList arguments, const AppSettings &settings, SearchCommandLine &line,
                            QString &problem)
{
    SearchRequest &request = line.request;
    line.catalogue = takeOption(arguments, QStringLiteral("--catalogue")).value_or(QString());
    line.printStatement = takeFlag(arguments, QStringLiteral("--sql"));
    request.wholeWord = takeFlag(arguments, QStringLiteral("--whole-word"));
    request.useTranslation = takeFlag(arguments, QStringLiteral("--translate"));
    request.withIptc = takeFlag(arguments, QStringLiteral("--with-iptc"));
    request.withoutIptc = takeFlag(arguments, QStringLiteral("--without-iptc"));
    request.translationDirection = translationDirectionFrom(settings.translation);
    request.targets = searchTargetsFrom(settings);
    if (!takeOperator(arguments, request, problem) || !takeFieldAndSort(arguments, request, problem)
        || !takeRevised(arguments, request, problem))
        return false;
    for (const QString &argument : std::as_const(arguments)) {
        if (argument.startsWith(QStringLiteral("--"))) {
            problem = QStringLiteral("unknown option '%1'").arg(argument);
            return false;
        }
    }
    request.text = arguments.join(u' ');
    return true;
}

QString cataloguePath(const QString &given, const AppSettings &settings)
{
    if (!given.isEmpty())
        return given;
    if (settings.lastDB && !settings.lastDB->isEmpty())
        return *settings.lastDB;
    return programFolder::defaultCataloguePath();
}

// Fills Translations from the translations file as the start-up does; true when loaded.
bool loadTranslationsForSearch(CatalogueDb &db, Feedback &feedback)
{
    if (!db.openOrReport(feedback))
        return false;
    const TranslationsState state = loadTranslations(db, feedback, programFolder::translationsFilePath());
    db.close();
    return state.loaded;
}

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
