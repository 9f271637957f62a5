// zelvarion-cli doubles, rename, delete and copy: the image file commands of the window on the
// same core, for images of the catalogue.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/SearchArguments.h"
#include "core/filecommands/CopyImages.h"
#include "core/filecommands/DeleteImage.h"
#include "core/filecommands/DoubleFileNames.h"
#include "core/filecommands/RenameImage.h"
#include "platform/ThumbnailStore.h"

#include <QDir>
#include <QFileInfo>

namespace zelvarion::cli {
namespace {

// The image a path names, folder and file spelt as a scan stores them.
ImageRef imageOf(const QString &path)
{
    const QFileInfo info(path);
    return {QDir::cleanPath(info.absolutePath()) + u'/', info.fileName()};
}

// The file commands act on images of the catalogue only.
bool isCatalogued(CatalogueDb &db, Feedback &feedback, const ImageRef &image)
{
    if (!db.openOrReport(feedback))
        return false;
    const bool found = db.executeOrReport(feedback,
                                          QStringLiteral("select count(*) from Images where (Folder=") + sqlText(image.folder)
                                              + QStringLiteral(") and (File=") + sqlText(image.file) + QStringLiteral(");"),
                                          QStringLiteral("Cannot get data"))
                       && db.cell(0, 1).toInt() > 0;
    db.close();
    return found;
}

} // namespace

int runDoublesCommand(CliContext &context)
{
    const bool json = takeFlag(context.arguments, QStringLiteral("--json"));
    CommandCatalogue prepared;
    if (!prepareCatalogue(context, "doubles", prepared))
        return 1;
    if (refuseUnknownOptions(context, "doubles") || !context.arguments.isEmpty())
        return 2;
    CliFeedback feedback(context.err, true);
    const auto doubles = findDoubleFileNames(prepared.db, feedback);
    printRows(context.out, doubles.value_or(std::vector<ResultRow>()), json);
    return doubles && !feedback.failed() ? 0 : 1;
}

int runRenameCommand(CliContext &context)
{
    CommandCatalogue prepared;
    if (!prepareCatalogue(context, "rename", prepared))
        return 1;
    if (refuseUnknownOptions(context, "rename") || context.arguments.size() != 2) {
        context.err << "usage: zelvarion-cli rename [--catalogue DB] FILE NEWNAME\n";
        return 2;
    }
    CliFeedback feedback(context.err, true);
    const ImageRef image = imageOf(context.arguments[0]);
    if (!isCatalogued(prepared.db, feedback, image)) {
        context.err << "zelvarion-cli rename: not an image of the catalogue: " << image.path() << '\n';
        return 1;
    }
    const ThumbnailStore thumbnails;
    ResultList none;
    const RenameResult renamed =
        renameImage({prepared.db, feedback, prepared.language, thumbnails}, none, image, context.arguments[1]);
    if (renamed.renamed)
        context.out << image.folder + renamed.newName << '\n';
    else if (renamed.newName.isEmpty())
        return 2; // nothing but spaces
    return renamed.renamed && !feedback.failed() ? 0 : 1;
}

int runDeleteCommand(CliContext &context)
{
    const bool yes = takeFlag(context.arguments, QStringLiteral("--yes"));
    CommandCatalogue prepared;
    if (!prepareCatalogue(context, "delete", prepared))
        return 1;
    if (refuseUnknownOptions(context, "delete") || context.arguments.isEmpty()) {
        context.err << "usage: zelvarion-cli delete [--catalogue DB] [--yes] FILE...\n";
        return 2;
    }
    CliFeedback feedback(context.err, yes);
    const ThumbnailStore thumbnails;
    int failures = 0;
    for (const QString &path : std::as_const(context.arguments)) {
        const ImageRef image = imageOf(path);
        if (!isCatalogued(prepared.db, feedback, image)) {
            context.err << "zelvarion-cli delete: not an image of the catalogue: " << image.path() << '\n';
            ++failures;
            continue;
        }
        ResultList none;
        const DeleteResult deleted = deleteImage({prepared.db, feedback, prepared.language, thumbnails}, none, image);
        if (deleted.forgetCell())
            context.out << image.path() << '\n';
        else
            ++failures;
    }
    return failures == 0 && !feedback.failed() ? 0 : 1;
}

int runCopyCommand(CliContext &context)
{
    const std::optional<QString> to = takeOption(context.arguments, QStringLiteral("--to"));
    CommandCatalogue prepared;
    if (!prepareCatalogue(context, "copy", prepared))
        return 1;
    SearchCommandLine line;
    QString problem;
    if (!to || !QFileInfo(*to).isDir() || !parseSearchCommandLine(context.arguments, prepared.settings, line, problem)
        || line.printStatement) {
        context.err << "zelvarion-cli copy: "
                    << (!problem.isEmpty() ? problem : QStringLiteral("--to needs an existing folder")) << '\n';
        return 2;
    }
    CliFeedback feedback(context.err, true);
    ResultList result;
    if (!findResult(line, prepared.db, feedback, prepared.language, result))
        return 1;
    const CopyReport report =
        copyResultImages(result, destinationFolderOf(QDir::cleanPath(QFileInfo(*to).absoluteFilePath())), feedback);
    for (const QString &failure : report.failures)
        context.err << failure << '\n';
    context.out << copySummary(prepared.language, report) << '\n';
    return report.notCopied() == 0 && !feedback.failed() ? 0 : 1;
}

} // namespace zelvarion::cli
