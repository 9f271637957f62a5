// zelvarion-cli scan: registers folders as Add folder does and fills the catalogue with the same
// scan as the database dialog.
#include "cli/Commands.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/FolderScan.h"
#include "core/catalogue/ScanThumbnails.h"
#include "core/search/Translations.h"
#include "core/shell/AppSettings.h"
#include "core/shell/Feedback.h"
#include "core/shell/LanguagePack.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

namespace zelvarion::cli {
namespace {

// Reports go to the error stream, progress lines to the output; nothing is asked.
class ScanFeedback : public Feedback
{
public:
    ScanFeedback(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}
    void showMessage(const QString &text, MessageIcon, const QString &) override { m_err << text << Qt::endl; }
    bool askYesNo(const QString &, MessageIcon) override { return false; }
    void progress(const QString &line) override { m_out << line << '\n'; }

private:
    QTextStream &m_out;
    QTextStream &m_err;
};

struct ScanRequest
{
    QString cataloguePath;
    ThumbnailPolicy thumbnails = ThumbnailPolicy::None;
    QStringList folders;
};

ScanRequest takeRequest(CliContext &context, const AppSettings &settings)
{
    ScanRequest request;
    request.cataloguePath = takeOption(context.arguments, QStringLiteral("--catalogue"))
                                .value_or(settings.lastDB.value_or(programFolder::defaultCataloguePath()));
    const bool create = takeFlag(context.arguments, QStringLiteral("--thumbnails"));
    const bool recreate = takeFlag(context.arguments, QStringLiteral("--recreate-thumbnails"));
    request.thumbnails = recreate ? ThumbnailPolicy::Recreate
                         : create ? ThumbnailPolicy::KeepExisting
                                  : ThumbnailPolicy::None;
    request.folders = context.arguments;
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
            err << pack.message(3) << '\n' << (check.folder.size() > 1 ? check.folder.chopped(1) : check.folder) << '\n';
        } else if (!QFileInfo(check.folder).isDir()) {
            err << pack.message(12) << ": " << check.folder << '\n';
        } else if (check.verdict == AddFolderCheck::Verdict::Overlaps && listed[check.row] != check.folder) {
            err << pack.message(4) << '\n' << listed[check.row] << '\n';
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

bool ensureCatalogue(CatalogueDb &db, Feedback &feedback, QTextStream &out)
{
    if (QFileInfo(db.path).isFile())
        return true;
    SchemaHooks hooks;
    hooks.loadTranslations = [&feedback](CatalogueDb &open) {
        loadTranslations(open, feedback, programFolder::translationsFilePath());
    };
    if (!createCatalogueSchema(db, feedback, hooks))
        return false;
    out << "created the catalogue " << db.path << '\n';
    return true;
}

} // namespace

int runScanCommand(CliContext &context)
{
    const AppSettings settings = readAllSettings(IniFile(programFolder::configFilePath()));
    LanguagePack pack;
    pack.loadShippedEnglish();
    // A program folder of its own (--program-folder) may hold no packs: the shipped ones then.
    if (!pack.load(programFolder::languageFolder(), settings.language))
        pack.load(QCoreApplication::applicationDirPath() + QStringLiteral("/Zelvarion-Language/"), settings.language);
    const ScanRequest request = takeRequest(context, settings);
    if (request.folders.isEmpty()) {
        context.err << "zelvarion-cli scan: no folders given\n";
        return 2;
    }
    QElapsedTimer elapsed; // monotonic: a scan across midnight reports its true duration
    elapsed.start();
    ScanFeedback feedback(context.out, context.err);
    CatalogueDb db;
    db.path = QFileInfo(request.cataloguePath).absoluteFilePath();
    if (!ensureCatalogue(db, feedback, context.out) || !db.openOrReport(feedback))
        return 1;
    bool refused = false;
    const std::vector<ScanTarget> targets = registerTargets(db, feedback, pack, request.folders, context.err, refused);

    const ThumbnailStore store;
    ScanOptions options;
    options.customizedLabel = pack.text(133).isEmpty() ? QStringLiteral("Field") : pack.text(133);
    options.thumbnails = request.thumbnails;
    if (options.thumbnails != ThumbnailPolicy::None && !store.isAvailable()) {
        context.err << "zelvarion-cli scan: the thumbnail store " << store.root() << " cannot be written\n";
        options.thumbnails = ThumbnailPolicy::None;
    }
    const StoredThumbnailExaminer examiner(store);
    FolderScanner scanner(db, feedback, examiner, options);
    const ScanSummary summary = targets.empty() ? ScanSummary{} : scanner.run(targets);
    db.close();

    const double seconds = double(elapsed.elapsed()) / 1000.0;
    context.out << summary.visited << " files in " << targets.size() << " folders;"
                << elapsedTimeText(pack.message(11), elapsed.elapsed() / 1000) << " (" << QString::number(seconds, 'f', 2)
                << " s, " << QString::number(seconds > 0 ? double(summary.visited) / seconds : 0.0, 'f', 1)
                << " files/s)\n";
    return refused ? 1 : 0;
}

} // namespace zelvarion::cli
