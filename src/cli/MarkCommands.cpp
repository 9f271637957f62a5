// zelvarion-cli mark, marks and unmark-all: the check marks of the Selection menu on the same core.
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/search/CheckMarks.h"
#include "core/search/RunSearch.h"

namespace zelvarion::cli {

const CommandSyntax kMarkSyntax{
    "mark", "[TEXT]", "Marks every image the search finds, as \"Select all images in result\" does.",
    withSearchOptions({{"--clear", nullptr, "unmarks them instead, as \"Unselect all images in result\""}}),
    "Searches as zelvarion-cli search does; the mark is today's date in the short form of the locale."};

const CommandSyntax kMarksSyntax{
    "marks", "", "Lists the marked images with their mark.",
    {kCatalogueOption, {"--json", nullptr, "prints the images as JSON, the mark as an ISO 8601 date"},
     kNulOption},
    "Lines hold folder, file and mark (an ISO 8601 date when it is one) between tabs; a backslash,\n"
    "tab or line break in a name is written \\\\, \\t, \\n or \\r."};

const CommandSyntax kUnmarkAllSyntax{
    "unmark-all", "", "Removes every mark of the catalogue, not only those of a result.",
    {kCatalogueOption, kYesOption}};

int runMarkCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kMarkSyntax, context, arguments))
        return *exit;
    CommandSearch search;
    if (const std::optional<int> failed = searchForCommand("mark", arguments, context, search))
        return *failed;
    const bool clear = arguments.flag("--clear");
    CommandFeedback feedback(context, true);
    const CatalogueCommand command = search.command(feedback);
    const bool done = clear ? unmarkResult(command, search.results) : markResult(command, search.results, todaysMarkText());
    if (done)
        context.out << counted(search.language, clear ? Message::CliImagesUnmarked : Message::CliImagesMarked,
                               search.results.count())
                    << '\n';
    return done && !feedback.failed() ? kExitOk : kExitSomeFailed;
}

int runMarksCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kMarksSyntax, context, arguments))
        return *exit;
    if (!arguments.operands.isEmpty()) {
        const LanguagePack &pack = packOf(context);
        context.err << "zelvarion-cli marks: " << withSeeHelp(pack, textOf(pack, texts::kNoOperands), "marks") << '\n';
        return kExitBadArguments;
    }
    Session prepared;
    if (!prepareCatalogue(context, "marks", arguments, prepared))
        return kExitSomeFailed;
    CommandFeedback feedback(context, true);
    SearchRequest request;
    request.showCheckedOnly = true;
    SearchState state;
    SearchEnvironment environment{prepared.catalogue, feedback, searchMessages(prepared.language)};
    runSearch(request, state, environment);
    printRows(context.out, state.results.rows(), rowsFormat(arguments), RowsColumns::WithMark);
    return feedback.failed() ? kExitSomeFailed : kExitOk;
}

int runUnmarkAllCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kUnmarkAllSyntax, context, arguments))
        return *exit;
    if (!arguments.operands.isEmpty()) {
        const LanguagePack &pack = packOf(context);
        context.err << "zelvarion-cli unmark-all: " << withSeeHelp(pack, textOf(pack, texts::kNoOperands), "unmark-all")
                    << '\n';
        return kExitBadArguments;
    }
    Session prepared;
    if (!prepareCatalogue(context, "unmark-all", arguments, prepared))
        return kExitSomeFailed;
    CommandFeedback feedback(context, arguments.flag("--yes"));
    ResultList none;
    if (clearAllMarks(prepared.command(feedback), none))
        return kExitOk;
    context.err << "zelvarion-cli unmark-all: " << prepared.language.message(Message::CliNoMarkRemoved) << '\n';
    return kExitSomeFailed;
}

} // namespace zelvarion::cli
