// zelvarion-cli scan: registers folders as Add folder does and fills the catalogue with the same
// scan as the database dialog.
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/CatalogueWriteLock.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/FolderScan.h"
#include "core/catalogue/ScanThumbnails.h"
#include "core/search/Translations.h"
#include "core/session/AppSettings.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>

namespace zelvarion::cli {
namespace {

struct ScanRequest
{
    QString cataloguePath;
    ThumbnailPolicy thumbnails = ThumbnailPolicy::None;
    QStringList folders;
};

ScanRequest scanRequest(const ParsedArguments &arguments, const AppSettings &settings)
{
    ScanRequest request;
    request.cataloguePath =
        arguments.value("--catalogue").value_or(settings.lastDB.value_or(programFolder::defaultCataloguePath()));
    const bool create = arguments.flag("--thumbnails");
    const bool recreate = arguments.flag("--recreate-thumbnails");
    request.thumbnails = recreate ? ThumbnailPolicy::Recreate
                         : create ? ThumbnailPolicy::KeepExisting
                                  : ThumbnailPolicy::None;
    request.folders = arguments.operands;
    return request;
}

// The targets of the folders given, registering the new ones; refusals are printed and set
// `refused`, as does a catalogue whose folders cannot be read. An exact
// registered folder is scanned again rather than refused, which is what a command line wants.
std::vector<ScanTarget> registerTargets(CatalogueDb &db, Feedback &feedback, const LanguagePack &pack,
                                        const QStringList &folders, QTextStream &err, bool &refused)
{
    std::vector<ScanTarget> targets;
    const auto rows = selectFolders(db, feedback);
    if (!rows) {
        refused = true;
        return targets;
    }
    QStringList listed;
    for (const FolderRow &row : *rows)
        listed << row.folder;
    for (const QString &chosen : folders) {
        const AddFolderCheck check = checkNewFolder(chosen, listed);
        if (check.verdict == AddFolderCheck::Verdict::Refused) {
            err << pack.message(Message::FolderRefused) << '\n' << (check.folder.size() > 1 ? check.folder.chopped(1) : check.folder) << '\n';
        } else if (!filenames::fileFacts(check.folder).isFolder) {
            err << pack.message(Message::FolderMissing) << ": " << check.folder << '\n';
        } else if (check.verdict == AddFolderCheck::Verdict::Overlaps && listed[check.row] != check.folder) {
            err << pack.message(Message::FolderOverlaps) << '\n' << listed[check.row] << '\n';
        } else if (check.verdict == AddFolderCheck::Verdict::Subfolder) {
            targets.push_back({check.folder, listed[check.row]});
            continue;
        } else {
            if (check.verdict == AddFolderCheck::Verdict::Register) {
                if (!registerFolder(db, feedback, check.folder))
                    continue;
                listed << check.folder;
            }
            targets.push_back({check.folder, check.folder});
            continue;
        }
        refused = true;
    }
    return targets;
}

// A catalogue made here becomes the remembered one when none is remembered yet, as the window's
// own creation does: otherwise the window's first start would create the tables again over it
// and report every one of them.
bool ensureCatalogue(Session &session, Feedback &feedback, QTextStream &out, const LanguagePack &pack)
{
    CatalogueDb &db = session.catalogue;
    if (catalogueExists(db.path))
        return true;
    SchemaHooks hooks;
    hooks.loadTranslations = [&feedback](CatalogueDb &open) {
        loadTranslations(open, feedback, programFolder::translationsFilePath());
    };
    if (!session.settings.lastDB)
        hooks.rememberCatalogue = [&session](const QString &path) { session.rememberCatalogue(path); };
    if (!createCatalogueSchema(db, feedback, hooks))
        return false;
    out << withSubject(pack, Message::CliCatalogueCreated, db.path) << '\n';
    return true;
}

// "60 files in 1 folder; 2 could not be read; Elapsed time: 00:00:01 (1.20 s, 50.0 files/s)", in
// the pack's language.
QString scanSummary(const LanguagePack &pack, const ScanSummary &summary, int folders, qint64 milliseconds)
{
    const double seconds = double(milliseconds) / 1000.0;
    QString line = counted(pack, Message::CliFilesCount, summary.visited) + u' '
                   + counted(pack, Message::CliFoldersCount, folders);
    if (summary.unreadable > 0)
        line += u' ' + counted(pack, Message::CliUnreadableCount, summary.unreadable);
    const QLocale locale; // the pack's
    const QString perSecond = locale.toString(seconds > 0 ? double(summary.visited) / seconds : 0.0, 'f', 1);
    return line + elapsedTimeText(pack.message(Message::ElapsedTime), milliseconds / 1000) + QStringLiteral(" (")
           + locale.toString(seconds, 'f', 2) + QStringLiteral(" s, ")
           + pack.message(Message::CliFilesPerSecond).replace(u'#', perSecond) + u')';
}

} // namespace

const CommandSyntax kScanSyntax{
    "scan", "FOLDER...", "Registers folders and fills the catalogue with their images.",
    {{"--catalogue", "DB", "the catalogue (default: the one last used, else Images.db); made when missing"},
     {"--thumbnails", nullptr, "stores thumbnails for the images that have none"},
     {"--recreate-thumbnails", nullptr, "stores new thumbnails for every image"}},
    "As Add folder and Scan of the database dialog do; a folder registered already is scanned again."};

int runScanCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kScanSyntax, context, arguments))
        return *exit;
    Session session;
    const AppSettings &settings = session.settings;
    const LanguagePack &pack = session.language;
    // A program folder of its own (--program-folder) may hold no packs: the shipped ones then.
    loadSettingsAndLanguage(session);
    const ScanRequest request = scanRequest(arguments, settings);
    if (request.folders.isEmpty()) {
        context.err << "zelvarion-cli scan: " << textOf(pack, texts::kNoFolders) << '\n';
        return kExitBadArguments;
    }
    QElapsedTimer elapsed; // monotonic: a scan across midnight reports its true duration
    elapsed.start();
    StreamFeedback feedback(context);
    CatalogueDb &db = session.catalogue;
    db.path = CatalogueDb::isServerCatalogue(request.cataloguePath) ? request.cataloguePath
                                                                     : QFileInfo(request.cataloguePath).absoluteFilePath();
    // The scan makes a catalogue where there is none (or an empty file), never in another file
    // nor in a server's database holding other tables.
    const bool somethingThere = db.isServer() ? checkCatalogueFile(db.path).kind != CatalogueFileKind::Missing
                                              : QFileInfo(db.path).size() > 0;
    if (somethingThere && !catalogueUsable(context, "scan", db.path, pack))
        return kExitSomeFailed;
    CatalogueWriteLock lock(db.path); // one command at a time rewrites the rows
    if (!lock.takeOrWait(feedback, pack) || !ensureCatalogue(session, feedback, context.out, pack) || !db.openOrReport(feedback))
        return kExitSomeFailed;
    bool refused = false;
    const std::vector<ScanTarget> targets = registerTargets(db, feedback, pack, request.folders, context.err, refused);

    const ThumbnailStore store;
    ScanOptions options;
    options.customizedLabel = session.customizedLabel();
    options.thumbnails = request.thumbnails;
    options.language = &pack;
    if (options.thumbnails != ThumbnailPolicy::None && !store.isAvailable()) {
        context.err << "zelvarion-cli scan: " << withSubject(pack, Message::CliThumbnailStoreUnwritable, store.root()) << '\n';
        options.thumbnails = ThumbnailPolicy::None;
    }
    const StoredThumbnailExaminer examiner(store);
    FolderScanner scanner(db, feedback, examiner, options);
    const ScanSummary summary = targets.empty() ? ScanSummary{} : scanner.run(targets);
    if (summary.failed)
        context.err << "zelvarion-cli scan: " << pack.message(Message::CliScanLeftCatalogue) << '\n';
    db.close();
    updateSearchIndex(context, "scan", db, pack); // the first search after the scan need not wait

    context.out << scanSummary(pack, summary, int(targets.size()), elapsed.elapsed()) << '\n';
    // A statement that failed (reported on stderr) leaves the catalogue short of what was found.
    return refused || feedback.failed() || summary.failed || summary.unreadable > 0 ? kExitSomeFailed : kExitOk;
}

} // namespace zelvarion::cli
