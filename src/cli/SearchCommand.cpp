// zelvarion-cli search: the window's search from the command line, with the same request, the
// same statement and the same search options of Zelvarion.ini.
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/iptc/IptcField.h"
#include "core/search/RunSearch.h"
#include "core/search/SearchQueryBuilder.h"
#include "core/search/Translations.h"
#include "core/session/AppSettings.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"
#include "platform/ProgramFolder.h"

#include <QFileInfo>

namespace zelvarion::cli {
namespace {

struct SearchCommandLine
{
    SearchRequest request;
    QString catalogue; // empty: the remembered one, else the default
    bool printStatement = false;
};

bool readOperator(const ParsedArguments &arguments, SearchRequest &request, QString &problem, const LanguagePack &pack)
{
    const std::optional<QString> op = arguments.value("--operator");
    if (!op || *op == u"exact")
        return true;
    if (*op == u"and" || *op == u"or") {
        request.op = *op == u"and" ? SearchOperator::And : SearchOperator::Or;
        return true;
    }
    problem = filled(textOf(pack, texts::kOperator), {{u'#', *op}});
    return false;
}

// The window's sort list: nothing, the file's size, width, height, name and folder, then the IPTC
// fields in catalogue order; a column name or the list's position.
std::optional<int> sortIndexOf(const QString &given)
{
    bool numeric = false;
    const int position = given.toInt(&numeric);
    if (numeric)
        return position >= 0 && position <= 40 ? std::optional<int>(position) : std::nullopt;
    static const char *const kFirstEntries[] = {"None", "FileSize", "Width", "Height", "File", "Folder"};
    for (int i = 0; i < int(std::size(kFirstEntries)); ++i)
        if (given.compare(QLatin1String(kFirstEntries[i]), Qt::CaseInsensitive) == 0)
            return i;
    if (const std::optional<int> field = iptcFieldIndexOfColumn(given))
        return int(std::size(kFirstEntries)) + *field;
    return std::nullopt;
}

bool readFieldAndSort(const ParsedArguments &arguments, SearchRequest &request, QString &problem,
                      const LanguagePack &pack)
{
    if (const auto column = arguments.value("--field")) {
        const std::optional<int> index = iptcFieldIndexOfColumn(*column);
        if (!index) {
            problem = filled(textOf(pack, texts::kField), {{u'#', *column}});
            return false;
        }
        request.fieldSearch = true;
        request.fieldIndex = *index;
    }
    if (const auto sort = arguments.value("--sort")) {
        const std::optional<int> index = sortIndexOf(*sort);
        if (!index) {
            problem = filled(textOf(pack, texts::kSort), {{u'#', *sort}});
            return false;
        }
        request.sortIndex = *index;
    }
    request.sortAscending = !arguments.flag("--desc");
    return true;
}

bool readRevised(const ParsedArguments &arguments, SearchRequest &request, QString &problem, const LanguagePack &pack)
{
    const bool never = arguments.flag("--never-revised");
    const bool revised = arguments.flag("--revised");
    const bool reverse = arguments.flag("--reverse");
    if (never && revised) {
        problem = textOf(pack, texts::kRevisedBoth);
        return false;
    }
    if (reverse && !revised) {
        problem = textOf(pack, texts::kReverseAlone);
        return false;
    }
    request.revised = never ? RevisedFilter::NeverRevised
                            : revised ? RevisedFilter::AlreadyRevised : RevisedFilter::Any;
    request.revisionAscending = !reverse;
    return true;
}

// The window empties and locks the search text, the field search, whole word, translation and
// the operator while a presence box is ticked: the same arguments together are refused here.
bool presenceSearchIsAlone(const ParsedArguments &arguments)
{
    if (!arguments.flag("--with-iptc") && !arguments.flag("--without-iptc"))
        return true;
    const bool textGiven = !arguments.operands.join(QString()).trimmed().isEmpty();
    return !textGiven && !arguments.value("--field") && !arguments.flag("--whole-word") && !arguments.flag("--translate")
           && !arguments.value("--operator");
}

// The request as the search controls would give it; the search options come from settings.
bool readSearchCommandLine(const ParsedArguments &arguments, const Session &session, SearchCommandLine &line,
                           QString &problem)
{
    AppSettings settings = session.settings;
    if (const std::optional<QString> both = applyStoredSwitches(arguments, searchPlaceSwitches(), settings, session.language)) {
        problem = *both;
        return false;
    }
    if (!presenceSearchIsAlone(arguments)) {
        problem = session.language.message(Message::CliPresenceTakesNoText);
        return false;
    }
    SearchRequest &request = line.request;
    line.catalogue = arguments.value("--catalogue").value_or(QString());
    line.printStatement = arguments.flag("--sql");
    request.wholeWord = arguments.flag("--whole-word");
    request.useTranslation = arguments.flag("--translate");
    request.withIptc = arguments.flag("--with-iptc");
    request.withoutIptc = arguments.flag("--without-iptc");
    request.translationDirection = translationDirectionFrom(settings.translation);
    request.targets = searchTargetsFrom(settings);
    if (!readOperator(arguments, request, problem, session.language)
        || !readFieldAndSort(arguments, request, problem, session.language)
        || !readRevised(arguments, request, problem, session.language))
        return false;
    request.text = arguments.operands.join(u' ');
    if (searchRefusal(request) != SearchRefusal::None) {
        problem = session.language.message(Message::CliNothingToSearch);
        return false;
    }
    return true;
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

// The statement the search would run (the refusals of an empty search were made with the arguments).
int printStatement(SearchRequest request, CatalogueDb &db, StreamFeedback &feedback, bool translationsLoaded,
                   QTextStream &out)
{
    if (request.useTranslation && translationsLoaded && db.openOrReport(feedback)) {
        request.translation = lookUpTranslation(db, feedback, request.text, request.translationDirection);
        db.close();
    }
    out << buildSearchStatement(request) << '\n';
    return feedback.failed() ? kExitSomeFailed : kExitOk;
}

} // namespace

std::vector<OptionSyntax> withSearchOptions(std::vector<OptionSyntax> own, std::vector<OptionSyntax> more)
{
    std::vector<OptionSyntax> options{
        kCatalogueOption,
        {"--field", "COLUMN", "searches only this IPTC column, such as City or Caption", false, "search.--field"},
        {"--whole-word", nullptr, "matches whole words (the operator is then ignored)", false, "search.--whole-word"},
        {"--operator", "exact|and|or", "how the words are matched (default: exact)", false, "search.--operator"},
        {"--translate", nullptr, "also searches the translation of the text", false, "search.--translate"},
        {"--with-iptc", nullptr,
         "lists the images with IPTC information (no TEXT, --field, --operator, --whole-word or --translate with it)",
         false, "search.--with-iptc"},
        {"--without-iptc", nullptr,
         "lists the images without IPTC information (the same); both together list every image", false,
         "search.--without-iptc"},
        {"--never-revised", nullptr, "keeps the images never revised", false, "search.--never-revised"},
        {"--revised", nullptr, "keeps the images already revised, oldest revision first", false, "search.--revised"},
        {"--reverse", nullptr, "with --revised: newest revision first", false, "search.--reverse"},
        {"--sort", "COLUMN",
         "sorts by FileSize, Width, Height, File, Folder or an IPTC column such as City (or entry 0 to 40 of the "
         "window's sort list)",
         false, "search.--sort"},
        {"--desc", nullptr, "with --sort: in descending order", false, "search.--desc"}};
    const std::vector<OptionSyntax> places = switchOptions(searchPlaceSwitches());
    options.insert(options.end(), places.begin(), places.end());
    options.insert(options.end(), own.begin(), own.end());
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

const CommandSyntax kSearchSyntax{
    "search", "[TEXT]", "Searches the catalogue and prints the folder and file of every image found.",
    withSearchOptions({{"--sql", nullptr, "prints the statement instead of running it"},
                       {"--json", nullptr, "prints the images as JSON: folder, file and path as they are"},
                       kNulOption}),
    "As the window searches, with the search options of Zelvarion.ini; TEXT is searched as typed.\n"
    "Lines hold folder and file between a tab; a backslash, tab or line break in a name is written\n"
    "\\\\, \\t, \\n or \\r."};

int runSearchCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kSearchSyntax, context, arguments))
        return *exit;
    if (arguments.flag("--json") + arguments.flag("-0") + arguments.flag("--sql") > 1) {
        context.err << "zelvarion-cli search: " << textOf(packOf(context), texts::kSearchOutputs) << '\n';
        return kExitBadArguments;
    }
    Session session;
    loadSettingsAndLanguage(session);
    SearchCommandLine line;
    QString problem;
    if (!readSearchCommandLine(arguments, session, line, problem)) {
        context.err << "zelvarion-cli search: " << problem << '\n';
        return kExitBadArguments;
    }
    CatalogueDb &db = session.catalogue;
    db.path = session.cataloguePath(line.catalogue);
    if ((line.request.useTranslation || !line.printStatement)
        && !catalogueUsable(context, "search", db.path, session.language))
        return kExitSomeFailed;
    StreamFeedback feedback(context);
    SearchEnvironment environment{db, feedback, searchMessages(session.language)};
    if (line.request.useTranslation)
        environment.translationsLoaded = loadTranslationsForSearch(db, feedback);
    if (line.printStatement)
        return printStatement(line.request, db, feedback, environment.translationsLoaded, context.out);

    updateSearchIndex(context, "search", db, session.language);
    SearchState state;
    const SearchOutcome outcome = runSearch(line.request, state, environment);
    if (!outcome.translationShown.isEmpty())
        context.err << withSubject(session.language, Message::CliTranslationShown, outcome.translationShown) << '\n';
    printRows(context.out, state.results.rows(), rowsFormat(arguments), RowsColumns::FolderAndFile);
    // As grep: finding nothing is exit 1, as for every command on a result.
    return feedback.failed() || outcome.found.value_or(0) == 0 ? kExitSomeFailed : kExitOk;
}

std::optional<int> prepareSearchForCommand(const char *command, const ParsedArguments &arguments, CliContext &context,
                                           Session &session, SearchRequest &request)
{
    loadSettingsAndLanguage(session);
    SearchCommandLine line;
    QString problem;
    if (!readSearchCommandLine(arguments, session, line, problem)) {
        context.err << "zelvarion-cli " << command << ": " << problem << '\n';
        return kExitBadArguments;
    }
    session.catalogue.path = session.cataloguePath(line.catalogue);
    if (!catalogueUsable(context, command, session.catalogue.path, session.language))
        return kExitSomeFailed;
    updateSearchIndex(context, command, session.catalogue, session.language);
    request = line.request;
    return std::nullopt;
}

SearchEnvironment searchEnvironmentFor(const SearchRequest &request, Session &session, Feedback &feedback)
{
    SearchEnvironment environment{session.catalogue, feedback, searchMessages(session.language)};
    if (request.useTranslation)
        environment.translationsLoaded = loadTranslationsForSearch(session.catalogue, feedback);
    return environment;
}

std::optional<int> searchForCommand(const char *command, const ParsedArguments &arguments, CliContext &context,
                                    CommandSearch &search)
{
    SearchRequest request;
    if (const std::optional<int> exit = prepareSearchForCommand(command, arguments, context, search, request))
        return exit;
    StreamFeedback feedback(context);
    SearchEnvironment environment = searchEnvironmentFor(request, search, feedback);
    SearchState state;
    const SearchOutcome outcome = runSearch(request, state, environment);
    if (feedback.failed())
        return kExitSomeFailed;
    if (outcome.found.value_or(0) == 0) {
        context.err << "zelvarion-cli " << command << ": " << search.language.message(Message::NoImageFound) << '\n';
        return kExitSomeFailed;
    }
    search.results = std::move(state.results);
    return std::nullopt;
}

} // namespace zelvarion::cli
