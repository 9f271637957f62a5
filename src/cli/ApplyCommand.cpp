// zelvarion-cli apply: the apply-template run of the window over the result of a search, with the
// same merge, backups, thumbnail renewal and row updates; --dry-run shows what would change.
#include "cli/Commands.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueWriteLock.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"
#include "core/captioning/ApplyTemplateRun.h"
#include "core/captioning/TemplateStore.h"
#include "core/captioning/TemplateThumbnails.h"
#include "core/captioning/UndoJournal.h"
#include "core/session/RunOptions.h"
#include "platform/ProgramFolder.h"
#include "platform/Terminal.h"
#include "platform/ThumbnailStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>


namespace zelvarion::cli {
namespace {

struct ApplyCommandLine
{
    ApplyOptions options;
    bool yes = false;
    bool json = false;
};

// The merge options: given ones, else the ones the apply dialog stored.
bool readApplyOptions(const ParsedArguments &arguments, const ApplyOptions &stored, ApplyCommandLine &line,
                      QString &problem)
{
    line.yes = arguments.flag("--yes");
    line.json = arguments.flag("--json");
    line.options.dryRun = arguments.flag("--dry-run");
    const bool add = arguments.flag("--add-keywords");
    const bool remove = arguments.flag("--remove-keywords");
    int mode = int(stored.mode);
    if (const auto given = arguments.value("--mode")) {
        bool numeric = false;
        mode = given->toInt(&numeric);
        if (!numeric || mode < 0 || mode > 2) {
            problem = QStringLiteral("--mode takes 0, 1 or 2, not '%1'").arg(*given);
            return false;
        }
    }
    if (add && remove) {
        problem = QStringLiteral("--add-keywords and --remove-keywords exclude each other");
        return false;
    }
    if (mode == 2 && (add || remove)) {
        problem = QStringLiteral("mode 2 makes the images equal to the template: it takes no keyword option");
        return false;
    }
    line.options.mode = MergeMode(mode);
    line.options.keywords = add ? KeywordOption::Add : remove ? KeywordOption::Remove : stored.keywords;
    return true;
}

QJsonObject imageToJson(const QString &path, const ProcessResult &result)
{
    static const char *const kStatus[] = {"written", "not processed", "skipped"};
    QJsonObject image{{QStringLiteral("path"), path}, {QStringLiteral("status"), QLatin1String(kStatus[int(result.status)])}};
    if (result.status != ProcessResult::Status::Written) {
        image.insert(QStringLiteral("reason"), result.reason);
        return image;
    }
    QJsonArray changes;
    for (const FieldChange &change : changedFields(result.before, result.after))
        changes.append(QJsonObject{{QStringLiteral("column"), change.column}, {QStringLiteral("before"), change.before},
                                   {QStringLiteral("after"), change.after}});
    image.insert(QStringLiteral("changes"), changes);
    return image;
}

// A value on one line: the Customized text's line breaks become "; ".
QString oneLine(QString text)
{
    while (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("; "));
}

void printImage(QTextStream &out, const QString &path, const ProcessResult &result, bool dryRun)
{
    switch (result.status) {
    case ProcessResult::Status::Written:
        out << (dryRun ? "would write: " : "written: ") << path << '\n';
        if (dryRun)
            for (const FieldChange &change : changedFields(result.before, result.after))
                out << "  " << change.column << ": " << oneLine(change.before) << QStringLiteral(" \u2192 ")
                    << oneLine(change.after) << '\n';
        break;
    case ProcessResult::Status::NotProcessed:
        out << "not processed: " << path << ": " << result.reason << '\n';
        break;
    case ProcessResult::Status::Missing:
        out << "skipped: " << path << " (" << result.reason << ")\n";
        break;
    }
    out.flush();
}

} // namespace

const CommandSyntax kApplySyntax{
    "apply", "[TEXT]", "Applies the template in use to the images found by the search arguments.",
    withSearchOptions({{"--mode", "0|1|2", "0 fills empty fields, 1 overwrites with the template's non-empty fields, "
                                            "2 makes the images equal to the template"},
                       {"--add-keywords", nullptr, "adds the template's keywords to the image's"},
                       {"--remove-keywords", nullptr, "removes the image's keywords that the template has"},
                       {"--dry-run", nullptr, "writes nothing and shows each change"},
                       {"--yes", nullptr, "does not ask before changing the files"},
                       {"--json", nullptr, "prints each image and its changes as JSON"}}),
    "Searches as zelvarion-cli search does. Without --mode and keyword options, the options the apply\n"
    "dialog stored are used; backups and thumbnails follow Zelvarion.ini. Without --yes it asks on a\n"
    "terminal and refuses when standard input is not one."};

int runApplyCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kApplySyntax, context, arguments))
        return *exit;
    ApplyCommandLine line;
    QString problem;
    Session stored;
    stored.loadSettings();
    if (!readApplyOptions(arguments, applyOptionsFrom(stored), line, problem)) {
        context.err << "zelvarion-cli apply: " << problem << '\n';
        return kExitBadArguments;
    }
    auto search = std::make_unique<CommandSearch>();
    if (const std::optional<int> failed = searchForCommand("apply", arguments, context, *search))
        return *failed;
    StreamFeedback feedback(context);
    // Held until the run has ended (a dry run only reads); a result found while another command
    // changed the catalogue is found again once it is done.
    CatalogueWriteLock lock(search->catalogue.path);
    if (!line.options.dryRun && !lock.takeOrWait(feedback, search->language))
        return kExitSomeFailed;
    if (lock.waited()) {
        search = std::make_unique<CommandSearch>();
        if (const std::optional<int> failed = searchForCommand("apply", arguments, context, *search))
            return *failed;
    }
    const AppSettings &settings = search->settings;
    const LanguagePack &pack = search->language;
    CatalogueDb &db = search->catalogue;
    const TemplateStore::InUse inUse = TemplateStore(db, feedback).inUse();
    if (!inUse.ok)
        return kExitSomeFailed;
    if (!inUse.record) {
        context.err << "zelvarion-cli apply: " << pack.text(InterfaceText::NoTemplateInUse) << '\n';
        return kExitSomeFailed;
    }
    const InterfaceText questions[] = {InterfaceText::ConfirmMergeKeepOriginal, InterfaceText::ConfirmMergeOverwriteNonEmpty,
                                       InterfaceText::ConfirmMergeOverwriteAll};
    const QString question =
        pack.text(questions[int(line.options.mode)]) + QStringLiteral(" (%1 images)").arg(search->results.count());
    // A whole result is rewritten: without --yes someone at a terminal must say so.
    if (!line.yes && !line.options.dryRun) {
        if (!terminal::standardInputIsTerminal()) {
            context.err << "zelvarion-cli apply: standard input is not a terminal; give --yes to change the files\n";
            return kExitBadArguments;
        }
        if (!confirmOnTerminal(context, question)) {
            context.err << "zelvarion-cli apply: nothing written\n";
            return kExitSomeFailed;
        }
    }
    ApplyOptions options = applyOptionsFrom(*search);
    options.mode = line.options.mode;
    options.keywords = line.options.keywords;
    options.dryRun = line.options.dryRun;
    const ThumbnailStore store;
    const StoredThumbnailRenewer renewer(store);
    const bool renew = settings.createThumbnails && !options.dryRun && store.isAvailable();
    UndoJournal journal(UndoJournal::pathBeside(db.path)); // zelvarion-cli undo takes the run back
    options.journal = &journal;
    QJsonArray images;
    ApplyObserver observer;
    observer.imageDone = [&](const QString &path, const ProcessResult &result) {
        if (line.json)
            images.append(imageToJson(path, result));
        else
            printImage(context.out, path, result, options.dryRun);
    };
    QJsonArray rowsNotUpdated;
    observer.rowNotUpdated = [&](const NotProcessedImage &image) {
        if (line.json)
            rowsNotUpdated.append(QJsonObject{{QStringLiteral("path"), image.path}, {QStringLiteral("reason"), image.reason}});
        else
            context.out << "row not updated: " << image.path << ": " << image.reason << Qt::endl;
    };
    const ApplySummary summary = runApplyTemplate(db, feedback, search->results.rows(), options, renew ? &renewer : nullptr, observer);
    const QString count = pack.text(InterfaceText::ImagesProcessedStatus).replace(u'#', QString::number(summary.processed));
    if (line.json)
        context.out << QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("images"), images},
                                                                   {QStringLiteral("processed"), summary.processed},
                                                                   {QStringLiteral("rowsNotUpdated"), rowsNotUpdated},
                                                                   {QStringLiteral("untouched"), summary.untouched},
                                                                   {QStringLiteral("dryRun"), options.dryRun}})
                                             .toJson(QJsonDocument::Indented));
    else
        context.out << count << '\n';
    // Files that now disagree with their rows, and images never reached, are why the exit is 1.
    if (!summary.rowsNotUpdated.empty())
        context.err << "zelvarion-cli apply: "
                    << pack.text(InterfaceText::RowsNotUpdatedStatus).replace(u'#', QString::number(summary.rowsNotUpdated.size()))
                    << '\n';
    if (summary.untouched > 0)
        context.err << "zelvarion-cli apply: "
                    << pack.text(InterfaceText::ImagesUntouchedStatus).replace(u'#', QString::number(summary.untouched)) << '\n';
    return summary.complete() ? kExitOk : kExitSomeFailed;
}

} // namespace zelvarion::cli
