// zelvarion-cli apply: the apply-template run of the window over the result of a search, with the
// same merge, backups, thumbnail renewal and row updates; --dry-run shows what would change.
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
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

// The keyword option: --add-keywords and --remove-keywords choose, their --no- forms turn the
// stored choice off; the stored one else.
KeywordOption keywordOption(const ParsedArguments &arguments, KeywordOption stored)
{
    if (arguments.flag("--add-keywords"))
        return KeywordOption::Add;
    if (arguments.flag("--remove-keywords"))
        return KeywordOption::Remove;
    if ((stored == KeywordOption::Add && arguments.flag("--no-add-keywords"))
        || (stored == KeywordOption::Remove && arguments.flag("--no-remove-keywords")))
        return KeywordOption::None;
    return stored;
}

// The merge options: given ones, else the ones the apply dialog stored.
bool readApplyOptions(const ParsedArguments &arguments, const ApplyOptions &stored, ApplyCommandLine &line,
                      QString &problem, const LanguagePack &pack)
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
            problem = filled(textOf(pack, texts::kApplyMode), {{u'#', *given}});
            return false;
        }
    }
    if ((add && remove) || (add && arguments.flag("--no-add-keywords"))
        || (remove && arguments.flag("--no-remove-keywords"))) {
        problem = textOf(pack, texts::kApplyKeywords);
        return false;
    }
    if (mode == 2 && (add || remove)) {
        problem = textOf(pack, texts::kApplyModeTwo);
        return false;
    }
    line.options.mode = MergeMode(mode);
    line.options.keywords = mode == 2 ? KeywordOption::None : keywordOption(arguments, stored.keywords);
    return true;
}

QJsonObject imageToJson(const QString &path, const ProcessResult &result, bool dryRun)
{
    static const char *const kStatus[] = {"written", "not processed", "skipped"};
    const bool written = result.status == ProcessResult::Status::Written;
    const char *status = written && dryRun ? "wouldWrite" : kStatus[int(result.status)];
    QJsonObject image{{QStringLiteral("path"), path}, {QStringLiteral("status"), QLatin1String(status)}};
    if (!written) {
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

void printImage(QTextStream &out, const QString &path, const ProcessResult &result, bool dryRun,
                const LanguagePack &pack)
{
    const QString name = escapedName(path);
    switch (result.status) {
    case ProcessResult::Status::Written:
        out << withSubject(pack, dryRun ? Message::CliWouldWrite : Message::CliWritten, name) << '\n';
        if (dryRun)
            for (const FieldChange &change : changedFields(result.before, result.after))
                out << "  " << change.column << ": " << oneLine(change.before) << QStringLiteral(" \u2192 ")
                    << oneLine(change.after) << '\n';
        break;
    case ProcessResult::Status::NotProcessed:
        out << withSubject(pack, Message::CliNotProcessed, name) << ": " << result.reason << '\n';
        break;
    case ProcessResult::Status::Missing:
        out << withSubject(pack, Message::CliSkipped, name) << " (" << result.reason << ")\n";
        break;
    }
    out.flush();
}

// A whole result is rewritten: without --yes someone at a terminal must say so. The exit code
// when they did not.
std::optional<int> confirmApply(CliContext &context, const ApplyCommandLine &line, const LanguagePack &pack, int images)
{
    if (line.yes || line.options.dryRun)
        return std::nullopt;
    if (!terminal::standardInputIsTerminal()) {
        context.err << "zelvarion-cli apply: " << pack.message(Message::CliNoTerminal) << '\n';
        return kExitBadArguments;
    }
    const InterfaceText questions[] = {InterfaceText::ConfirmMergeKeepOriginal, InterfaceText::ConfirmMergeOverwriteNonEmpty,
                                       InterfaceText::ConfirmMergeOverwriteAll};
    const QString question =
        pack.text(questions[int(line.options.mode)]) + u' ' + counted(pack, Message::CliImagesInQuestion, images);
    if (confirmOnTerminal(context, question))
        return std::nullopt;
    context.err << "zelvarion-cli apply: " << pack.message(Message::CliNothingWritten) << '\n';
    return kExitSomeFailed;
}

// Prints each image as the run reaches it, and the counts at the end: text lines, or one JSON
// document for scripts.
class ApplyReport
{
public:
    ApplyReport(CliContext &context, bool json, bool dryRun, const LanguagePack &pack)
        : m_context(context), m_json(json), m_dryRun(dryRun), m_pack(pack)
    {
    }

    ApplyObserver observer()
    {
        ApplyObserver observer;
        observer.imageDone = [this](const QString &path, const ProcessResult &result) {
            if (m_json)
                m_images.append(imageToJson(path, result, m_dryRun));
            else
                printImage(m_context.out, path, result, m_dryRun, m_pack);
        };
        observer.rowNotUpdated = [this](const NotProcessedImage &image) {
            if (m_json)
                m_rowsNotUpdated.append(QJsonObject{{QStringLiteral("path"), image.path}, {QStringLiteral("reason"), image.reason}});
            else
                m_context.out << withSubject(m_pack, Message::CliRowNotUpdated, escapedName(image.path)) << ": "
                              << image.reason << Qt::endl;
        };
        observer.imageLeft = [this](const QString &path) {
            if (m_json)
                m_imagesLeft.append(path);
            else
                m_context.out << withSubject(m_pack, Message::CliLeftAsItWas, escapedName(path)) << Qt::endl;
        };
        return observer;
    }

    void print(const ApplySummary &summary)
    {
        if (m_json)
            m_context.out << QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("images"), m_images},
                                                                         {QStringLiteral("processed"), summary.processed},
                                                                         {QStringLiteral("rowsNotUpdated"), m_rowsNotUpdated},
                                                                         {QStringLiteral("untouched"), summary.untouched},
                                                                         {QStringLiteral("imagesLeft"), m_imagesLeft},
                                                                         {QStringLiteral("dryRun"), m_dryRun}})
                                                   .toJson(QJsonDocument::Indented));
        else
            m_context.out << counted(m_pack, m_dryRun ? Message::CliImagesWouldBeWritten : Message::CliImagesProcessed,
                                     summary.processed)
                          << '\n';
        // Files that now disagree with their rows, and images never reached, are why the exit is 1.
        if (!summary.rowsNotUpdated.empty())
            m_context.err << "zelvarion-cli apply: "
                          << countedText(m_pack, m_pack.text(InterfaceText::RowsNotUpdatedStatus),
                                         {{u'#', qint64(summary.rowsNotUpdated.size())}})
                          << '\n';
        if (summary.untouched > 0)
            m_context.err << "zelvarion-cli apply: "
                          << countedText(m_pack, m_pack.text(InterfaceText::ImagesUntouchedStatus),
                                         {{u'#', summary.untouched}})
                          << '\n';
    }

private:
    CliContext &m_context;
    const bool m_json;
    const bool m_dryRun;
    const LanguagePack &m_pack;
    QJsonArray m_images, m_rowsNotUpdated, m_imagesLeft;
};

} // namespace

const CommandSyntax kApplySyntax{
    "apply", "[TEXT]", "Applies the template in use to the images found by the search arguments.",
    withSearchOptions({{"--mode", "0|1|2", "0 fills empty fields, 1 overwrites with the template's non-empty fields, "
                                            "2 makes the images equal to the template"},
                       {"--add-keywords", nullptr, "adds the template's keywords to the image's"},
                       {"--no-add-keywords", nullptr, "does not add them, whatever the apply dialog stored"},
                       {"--remove-keywords", nullptr, "removes the image's keywords that the template has"},
                       {"--no-remove-keywords", nullptr, "does not remove them, whatever the apply dialog stored"},
                       {"--dry-run", nullptr, "writes nothing and shows each change (\"would write\")"},
                       {"--yes", nullptr, "does not ask before changing the files"},
                       {"--json", nullptr, "prints each image and its changes as JSON (status \"wouldWrite\" in a dry run)"}},
                      switchOptions(rewriteSwitches())),
    "Searches as zelvarion-cli search does. Without --mode and keyword options, the options the apply\n"
    "dialog stored are used; backups, the kept date and thumbnails follow Zelvarion.ini unless a switch\n"
    "above says otherwise for this run. Without --yes it asks on a terminal and refuses when standard\n"
    "input is not one."};

int runApplyCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kApplySyntax, context, arguments))
        return *exit;
    ApplyCommandLine line;
    QString problem;
    Session stored;
    stored.loadSettings();
    const LanguagePack &language = packOf(context);
    std::optional<QString> both = applyStoredSwitches(arguments, rewriteSwitches(), stored.settings, language);
    if (both || !readApplyOptions(arguments, applyOptionsFrom(stored), line, problem, language)) {
        if (both)
            problem = *both;
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
    applyStoredSwitches(arguments, rewriteSwitches(), search->settings, search->language); // checked above
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
    if (const std::optional<int> refused = confirmApply(context, line, pack, search->results.count()))
        return *refused;
    ApplyOptions options = applyOptionsFrom(*search);
    options.mode = line.options.mode;
    options.keywords = line.options.keywords;
    options.dryRun = line.options.dryRun;
    const ThumbnailStore store;
    const StoredThumbnailRenewer renewer(store);
    const bool renew = settings.createThumbnails && !options.dryRun && store.isAvailable();
    UndoJournal journal(UndoJournal::pathBeside(db.path)); // zelvarion-cli undo takes the run back
    options.journal = &journal;
    ApplyReport report(context, line.json, options.dryRun, pack);
    const ApplySummary summary = runApplyTemplate(db, feedback, search->results.rows(), options, renew ? &renewer : nullptr,
                                                  report.observer());
    report.print(summary);
    return summary.complete() ? kExitOk : kExitSomeFailed;
}

} // namespace zelvarion::cli
