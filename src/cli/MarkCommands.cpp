// zelvarion-cli mark, marks, unmark-all and selection: the check marks and saved selections of
// the Selection menu and the Selections window, on the same core.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/SearchArguments.h"
#include "core/search/CheckMarks.h"
#include "core/search/RunSearch.h"
#include "core/search/Selections.h"

namespace zelvarion::cli {
int runMarkCommand(CliContext &context)
{
    const bool clear = takeFlag(context.arguments, QStringLiteral("--clear"));
    CommandCatalogue prepared;
    if (!prepareCatalogue(context, "mark", prepared))
        return 1;
    SearchCommandLine line;
    QString problem;
    if (!parseSearchCommandLine(context.arguments, prepared.settings, line, problem) || line.printStatement) {
        context.err << "zelvarion-cli mark: " << (problem.isEmpty() ? QStringLiteral("--sql is not for mark") : problem) << '\n';
        return 2;
    }
    CliFeedback feedback(context.err, true);
    ResultList result;
    if (!findResult(line, prepared.db, feedback, prepared.language, result))
        return 1;
    const bool done = clear ? unmarkResult(prepared.command(feedback), result)
                            : markResult(prepared.command(feedback), result, todaysMarkText());
    if (done)
        context.out << result.count() << (clear ? " images unmarked\n" : " images marked\n");
    return done && !feedback.failed() ? 0 : 1;
}

int runMarksCommand(CliContext &context)
{
    const bool json = takeFlag(context.arguments, QStringLiteral("--json"));
    CommandCatalogue prepared;
    if (!prepareCatalogue(context, "marks", prepared))
        return 1;
    if (refuseUnknownOptions(context, "marks") || !context.arguments.isEmpty()) {
        context.err << "usage: zelvarion-cli marks [--catalogue DB] [--json]\n";
        return 2;
    }
    CliFeedback feedback(context.err, true);
    SearchRequest request;
    request.showCheckedOnly = true;
    SearchState state;
    SearchEnvironment environment{prepared.db, feedback, searchMessages(prepared.language)};
    runSearch(request, state, environment);
    printRows(context.out, state.results.rows(), json);
    return feedback.failed() ? 1 : 0;
}

int runUnmarkAllCommand(CliContext &context)
{
    const bool yes = takeFlag(context.arguments, QStringLiteral("--yes"));
    CommandCatalogue prepared;
    if (!prepareCatalogue(context, "unmark-all", prepared))
        return 1;
    if (refuseUnknownOptions(context, "unmark-all") || !context.arguments.isEmpty())
        return 2;
    CliFeedback feedback(context.err, yes);
    ResultList none;
    return clearAllMarks(prepared.command(feedback), none) ? 0 : 1;
}

} // namespace zelvarion::cli
