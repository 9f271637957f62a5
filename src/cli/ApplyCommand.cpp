// zelvarion-cli apply: the apply-template run of the window over the result of a search, with the
// same merge, backups, thumbnail renewal and row updates; --dry-run shows what would change.
#include "cli/Commands.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/shell/Feedback.h"
#include "core/shell/LanguagePack.h"
#include "core/templates/ApplyTemplateRun.h"
#include "core/templates/TemplateStore.h"
#include "core/templates/TemplateThumbnails.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <unistd.h>

namespace zelvarion::cli {
namespace {

class ErrorFeedback : public Feedback
{
public:
    explicit ErrorFeedback(QTextStream &err) : m_err(err) {}
    void showMessage(const QString &text, MessageIcon, const QString &) override { m_err << text << Qt::endl; }
    bool askYesNo(const QString &, MessageIcon) override { return false; }

private:
    QTextStream &m_err;
};

struct ApplyCommandLine
{
    ApplyOptions options;
    bool yes = false;
    bool json = false;
};

// The merge options: given ones, else the ones the apply dialog stored.
bool takeApplyOptions(QStringList &arguments, const AppSettings &settings, ApplyCommandLine &line, QString &problem)
{
    line.yes = takeFlag(arguments, QStringLiteral("--yes"));
    line.json = takeFlag(arguments, QStringLiteral("--json"));
    line.options.dryRun = takeFlag(arguments, QStringLiteral("--dry-run"));
    const bool add = takeFlag(arguments, QStringLiteral("--add-keywords"));
    const bool remove = takeFlag(arguments, QStringLiteral("--remove-keywords"));
    int mode = settings.applyTemplateOption >= 0 && settings.applyTemplateOption <= 2 ? settings.applyTemplateOption : 0;
    if (const auto given = takeOption(arguments, QStringLiteral("--mode"))) {
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
    const bool storedAdd = !add && !remove && settings.addKeywordsOption;
    const bool storedRemove = !add && !remove && settings.removeKeywordsOption && !settings.addKeywordsOption;
    line.options.mode = MergeMode(mode);
    line.options.keywords = add || storedAdd ? KeywordOption::Add
                            : remove || storedRemove ? KeywordOption::Remove : KeywordOption::None;
    return true;
}

// Asks on a terminal; refuses (false, with `refused` set) when standard input is not one.
bool confirmed(const QString &question, QTextStream &out, bool &refused)
{
    if (!::isatty(STDIN_FILENO)) {
        refused = true;
        return false;
    }
    out << question << " [y/N] " << Qt::flush;
    char answer[16] = {};
    if (!std::fgets(answer, sizeof answer, stdin))
        return false;
    return answer[0] == 'y' || answer[0] == 'Y';
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

int runApplyCommand(CliContext &context)
{
    const AppSettings settings = readAllSettings(IniFile(programFolder::configFilePath()));
    LanguagePack pack;
    if (!pack.load(programFolder::languageFolder(), settings.language))
        pack.load(QCoreApplication::applicationDirPath() + QStringLiteral("/Zelvarion-Language/"), settings.language);
    ApplyCommandLine line;
    QString problem;
    if (!takeApplyOptions(context.arguments, settings, line, problem)) {
        context.err << "zelvarion-cli apply: " << problem << '\n';
        return 2;
    }
    const CommandSearch search = searchForCommand(context.arguments, settings, context.err, QStringLiteral("apply"));
    if (search.exitCode != 0)
        return search.exitCode;
    ErrorFeedback feedback(context.err);
    CatalogueDb db;
    db.path = search.cataloguePath;
    const TemplateStore::InUse inUse = TemplateStore(db, feedback).inUse();
    if (!inUse.ok)
        return 1;
    if (!inUse.record) {
        context.err << "zelvarion-cli apply: " << pack.text(InterfaceText::NoTemplateInUse) << '\n';
        return 1;
    }
    const InterfaceText questions[] = {InterfaceText::ConfirmMergeKeepOriginal, InterfaceText::ConfirmMergeOverwriteNonEmpty,
                                       InterfaceText::ConfirmMergeOverwriteAll};
    bool refused = false;
    if (!line.yes && !line.options.dryRun
        && !confirmed(pack.text(questions[int(line.options.mode)]) + QStringLiteral(" (%1 images)").arg(search.rows.size()),
                      context.out, refused)) {
        if (refused)
            context.err << "zelvarion-cli apply: standard input is not a terminal; give --yes to change the files\n";
        return refused ? 2 : 0;
    }
    ApplyOptions &options = line.options;
    options.writeOptions = {settings.saveOriginalFile, settings.saveFirstVersion, settings.saveFolder, settings.keepCreationDate};
    const QString label = pack.text(InterfaceText::CustomizedFieldLabel);
    options.customizedLabel = label.isEmpty() ? defaultCustomizedLabel() : label;
    const ThumbnailStore store;
    const StoredThumbnailRenewer renewer(store);
    const bool renew = settings.createThumbnails && !options.dryRun && store.isAvailable();
    QJsonArray images;
    ApplyObserver observer;
    observer.imageDone = [&](const QString &path, const ProcessResult &result) {
        if (line.json)
            images.append(imageToJson(path, result));
        else
            printImage(context.out, path, result, options.dryRun);
    };
    const ApplySummary summary = runApplyTemplate(db, feedback, search.rows, options, renew ? &renewer : nullptr, observer);
    const QString count = pack.text(InterfaceText::ImagesProcessedStatus).replace(u'#', QString::number(summary.processed));
    if (line.json)
        context.out << QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("images"), images},
                                                                   {QStringLiteral("processed"), summary.processed},
                                                                   {QStringLiteral("dryRun"), options.dryRun}})
                                             .toJson(QJsonDocument::Indented));
    else
        context.out << count << '\n';
    return summary.ran && summary.notProcessed.empty() ? 0 : 1;
}

} // namespace zelvarion::cli
