#include "cli/SearchArguments.h"

#include "cli/CliContext.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/iptc/IptcField.h"
#include "core/search/RunSearch.h"
#include "core/search/Translations.h"
#include "core/shell/AppSettings.h"
#include "core/shell/Feedback.h"
#include "core/shell/LanguagePack.h"
#include "platform/ProgramFolder.h"

namespace zelvarion::cli {
namespace {

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

} // namespace

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

bool loadTranslationsForSearch(CatalogueDb &db, Feedback &feedback)
{
    if (!db.openOrReport(feedback))
        return false;
    const TranslationsState state = loadTranslations(db, feedback, programFolder::translationsFilePath());
    db.close();
    return state.loaded;
}

bool findResult(const SearchCommandLine &line, CatalogueDb &db, Feedback &feedback, const LanguagePack &language,
                ResultList &result)
{
    SearchEnvironment environment{db, feedback, searchMessages(language)};
    if (line.request.useTranslation)
        environment.translationsLoaded = loadTranslationsForSearch(db, feedback);
    SearchState state;
    const SearchOutcome outcome = runSearch(line.request, state, environment);
    result = std::move(state.results);
    return outcome.found.has_value() && !outcome.statement.isEmpty();
}

} // namespace zelvarion::cli
