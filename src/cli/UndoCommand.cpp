// zelvarion-cli undo: lists the template runs of the undo journal beside the catalogue, or gives the
// files of one run (the last one not undone by default) their old bytes back.
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/catalogue/CatalogueWriteLock.h"
#include "core/captioning/TemplateThumbnails.h"
#include "core/captioning/UndoTemplateRun.h"
#include "platform/Terminal.h"
#include "platform/ThumbnailStore.h"

#include <QJsonArray>
#include <QJsonObject>

namespace zelvarion::cli {
namespace {

void printRuns(QTextStream &out, const std::vector<JournalRun> &runs, bool json, const LanguagePack &pack)
{
    if (!json) {
        for (const JournalRun &run : runs)
            out << run.number << '\t' << run.started << '\t' << escapedName(run.templateName) << '\t'
                << counted(pack, Message::CliFilesCount, run.files)
                << (run.undone ? u'\t' + pack.message(Message::CliRunUndone) : QString()) << '\n';
        return;
    }
    QJsonArray list;
    for (const JournalRun &run : runs)
        list.append(QJsonObject{{QStringLiteral("run"), run.number}, {QStringLiteral("started"), run.started},
                                {QStringLiteral("template"), run.templateName}, {QStringLiteral("kind"), run.kind},
                                {QStringLiteral("files"), run.files}, {QStringLiteral("undone"), run.undone}});
    printJson(out, list);
}

void printSummary(QTextStream &out, const UndoSummary &summary, bool json, const LanguagePack &pack)
{
    if (json) {
        QJsonArray skipped;
        for (const NotProcessedImage &image : summary.skipped)
            skipped.append(QJsonObject{{QStringLiteral("path"), image.path}, {QStringLiteral("reason"), image.reason}});
        printJson(out, QJsonObject{{QStringLiteral("run"), summary.run}, {QStringLiteral("restored"), summary.restored},
                                   {QStringLiteral("skipped"), skipped}});
        return;
    }
    for (const NotProcessedImage &image : summary.skipped)
        out << withSubject(pack, Message::CliSkipped, escapedName(image.path)) << ": " << image.reason << '\n';
    out << counted(pack, Message::CliFilesRestored, summary.restored) << ", "
        << counted(pack, Message::CliFilesSkipped, qsizetype(summary.skipped.size())) << '\n';
}

std::optional<int> runNumber(const ParsedArguments &arguments, CliContext &context)
{
    const auto given = arguments.value("--run");
    if (!given)
        return 0;
    bool numeric = false;
    const int number = given->toInt(&numeric);
    if (numeric && number > 0)
        return number;
    context.err << "zelvarion-cli undo: " << filled(textOf(packOf(context), texts::kUndoRun), {{u'#', *given}}) << '\n';
    return std::nullopt;
}

// The files change: someone at a terminal must say so, and without one --yes must. The exit code
// when the undo does not go on.
std::optional<int> confirmUndo(CliContext &context, const JournalRun &run, const LanguagePack &pack)
{
    if (!terminal::standardInputIsTerminal()) {
        context.err << "zelvarion-cli undo: " << pack.message(Message::CliNoTerminal) << '\n';
        return kExitBadArguments;
    }
    const QString question = filled(pack.message(Message::CliUndoRunQuestion),
                                    {{u'$', QString::number(run.number)}, {u'%', QString::number(run.files)},
                                     {u'#', run.templateName}});
    if (confirmOnTerminal(context, question))
        return std::nullopt;
    context.err << "zelvarion-cli undo: " << pack.message(Message::CliNothingRestored) << '\n';
    return kExitSomeFailed;
}

} // namespace

const CommandSyntax kUndoSyntax{
    "undo", "", "Restores the files a template run rewrote, or lists the runs that can be undone.",
    {kCatalogueOption, {"--list", nullptr, "lists the runs: number, time, template, files, undone"},
     {"--run", "N", "undoes run N instead of the last run not undone"}, kYesOption,
     {"--json", nullptr, "prints the runs or the restored and skipped files as JSON"}},
    "The journal beside the catalogue keeps the last 20 runs. A file whose size, modification time or\n"
    "content changed since the run is skipped and listed. Exit 1 when a file was skipped."};

int runUndoCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kUndoSyntax, context, arguments))
        return *exit;
    const std::optional<int> number = runNumber(arguments, context);
    if (!number || !arguments.operands.isEmpty() || (arguments.flag("--list") && *number > 0)) {
        if (number)
            context.err << "zelvarion-cli undo: "
                        << withSeeHelp(packOf(context), textOf(packOf(context), texts::kUndoOperands), "undo") << '\n';
        return kExitBadArguments;
    }
    const bool json = arguments.flag("--json");
    Session prepared;
    if (!prepareCatalogue(context, "undo", arguments, prepared))
        return kExitSomeFailed;
    // Taken before the journal is read: a run that ends meanwhile may be the one to undo.
    CommandFeedback feedback(context, true);
    CatalogueWriteLock lock(prepared.catalogue.path);
    if (!arguments.flag("--list") && !lock.takeOrWait(feedback, prepared.language))
        return kExitSomeFailed;
    UndoJournal journal(UndoJournal::pathBeside(prepared.catalogue.path));
    const std::optional<std::vector<JournalRun>> runs = journal.runs();
    if (!runs) {
        context.err << "zelvarion-cli undo: " << withSubject(prepared.language, Message::CliJournalUnusable, journal.path())
                    << ": " << journal.errorText() << '\n';
        return kExitSomeFailed;
    }
    if (arguments.flag("--list")) {
        printRuns(context.out, *runs, json, prepared.language);
        return kExitOk;
    }
    const std::optional<JournalRun> run = runToUndo(*runs, *number > 0 ? number : std::nullopt);
    if (!run) {
        context.err << "zelvarion-cli undo: "
                    << (*number > 0 ? prepared.language.message(Message::CliNoSuchRun).replace(u'#', QString::number(*number))
                                    : prepared.language.message(Message::CliNoRunLeft))
                    << '\n';
        return kExitSomeFailed;
    }
    if (!arguments.flag("--yes"))
        if (const std::optional<int> refused = confirmUndo(context, *run, prepared.language))
            return *refused;
    UndoOptions options;
    options.language = &prepared.language;
    options.customizedLabel = prepared.customizedLabel();
    const ThumbnailStore store;
    const StoredThumbnailRenewer renewer(store);
    if (prepared.settings.createThumbnails && store.isAvailable())
        options.renewer = &renewer;
    const UndoSummary summary = undoTemplateRun(journal, run->number, prepared.catalogue, feedback, options);
    if (!summary.ran)
        return kExitSomeFailed;
    printSummary(context.out, summary, json, prepared.language);
    return summary.skipped.empty() && !feedback.failed() ? kExitOk : kExitSomeFailed;
}

} // namespace zelvarion::cli
