// zelvarion-cli export: the XML export of the result of the search arguments, rendered with a
// stylesheet of the export folder when one is named, as the export window does.
#include "cli/CliText.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/export/XmlExport.h"
#include "core/export/XslRendering.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"
#include "platform/XsltEngine.h"

#include <QFileInfo>

namespace zelvarion::cli {
namespace {

// Renders the export with the named stylesheet; the path of the file made, empty on failure.
QString render(const ExportFolder &folder, const QString &stylesheet, const LanguagePack &pack, Feedback &feedback)
{
    QString made;
    DisplayEnvironment environment{feedback, pack};
    environment.makeProcessor = [&] { return makeXsltProcessor(folder.path); };
    environment.openWithDefaultProgram = [&](const QString &path) { made = path; };
    environment.showStatus = [](const QString &) {};
    environment.rememberStylesheet = [](const QString &) {};
    const DisplayOutcome outcome = displayXml(folder, stylesheet, environment);
    if (outcome.kind != DisplayOutcome::Kind::Rendered)
        return {}; // the rendering said why
    // A formatter that ran but made no PDF says nothing itself.
    if (!QFileInfo::exists(made)) {
        feedback.showMessage(pack.message(Message::NothingRendered) + u' ' + made, MessageIcon::Critical);
        return {};
    }
    return made;
}

} // namespace

const CommandSyntax kExportSyntax{
    "export", "[TEXT]", "Writes the XML export of the images found, and renders it with a stylesheet.",
    withSearchOptions({{"--title", "T", "the export's title (default: the title last used in the window)"},
                       {"--no-thumbnails", nullptr, "copies no thumbnails into the folder's \"thumbs\""},
                       {"--xsl", "NAME", "renders the export with the stylesheet NAME of the export folder"}}),
    "Searches as zelvarion-cli search does, writes Zelvarion.xml into the program folder's XML folder\n"
    "and prints the path of the file made (the rendered one with --xsl)."};

int runExportCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kExportSyntax, context, arguments))
        return *exit;
    const std::optional<QString> stylesheet = arguments.value("--xsl");
    const ExportFolder folder = ExportFolder::inProgramFolder();
    // Only a stylesheet of the export folder, as the window lists them.
    if (stylesheet && (stylesheet->contains(u'/') || !QFileInfo(folder.path + u'/' + *stylesheet).isFile())) {
        Session session;
        loadSettingsAndLanguage(session);
        context.err << "zelvarion-cli export: "
                    << filled(session.language.message(Message::CliNoStylesheet), {{u'#', *stylesheet}}) << ' ' << folder.path
                    << '\n';
        return kExitBadArguments;
    }
    Session session;
    SearchRequest search;
    if (const std::optional<int> failed = prepareSearchForCommand("export", arguments, context, session, search))
        return *failed;
    StreamFeedback feedback(context);
    SearchEnvironment environment = searchEnvironmentFor(search, session, feedback);
    ExportFolderLock lock(folder);
    if (!lock.tryAcquire()) {
        context.err << session.language.message(Message::WaitingForFormatter) << Qt::endl;
        lock.acquire();
    }
    XmlExportRequest request;
    request.folder = folder;
    request.title = arguments.value("--title").value_or(session.settings.xmlTitle);
    request.copyThumbnails = !arguments.flag("--no-thumbnails");
    request.language = &session.language;
    // Each image is written as the search finds it: the result is never held.
    SearchOutcome found;
    const XmlExportOutcome outcome = exportSearch(request, search, environment, ThumbnailStore(), found);
    if (feedback.failed() && !outcome.written)
        return kExitSomeFailed;
    if (found.found.value_or(0) == 0) {
        context.err << "zelvarion-cli export: " << session.language.message(Message::NoImageFound) << '\n';
        return kExitSomeFailed;
    }
    if (!outcome.written)
        return kExitSomeFailed;
    const QString made = stylesheet ? render(folder, *stylesheet, session.language, feedback) : folder.documentPath();
    if (made.isEmpty())
        return kExitSomeFailed;
    context.out << made << '\n';
    // Made, but without the thumbnails asked for: said above, and not a full success.
    const bool thumbnailsMissing = outcome.thumbnailStoreMissing || outcome.withoutThumbnail > 0;
    return feedback.failed() || thumbnailsMissing ? kExitSomeFailed : kExitOk;
}

} // namespace zelvarion::cli
