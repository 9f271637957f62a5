// zelvarion-cli doubles, rename, delete and copy: the image file commands of the window on the
// same core, for images of the catalogue.
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/filecommands/CopyImages.h"
#include "core/filecommands/DeleteImage.h"
#include "core/filecommands/DoubleFileNames.h"
#include "core/filecommands/RenameImage.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/catalogue/CatalogueWriteLock.h"
#include "core/catalogue/ImagesTable.h"
#include "platform/FileNames.h"
#include "platform/ThumbnailStore.h"

#include <QDir>
#include <QFileInfo>

namespace zelvarion::cli {
namespace {

// The image a path names, folder and file spelt as a scan stores them.
ImageRef imageOf(const QString &path)
{
    const QString absolute = filenames::absolutePath(path);
    const qsizetype slash = absolute.lastIndexOf(u'/');
    return {absolute.left(slash + 1), absolute.mid(slash + 1)};
}

// The file commands act on images of the catalogue only.
bool isCatalogued(CatalogueDb &db, Feedback &feedback, const ImageRef &image)
{
    if (!db.openOrReport(feedback))
        return false;
    const bool found = imagesTable::holdsImage(db, feedback, image.folder, image.file);
    db.close();
    return found;
}

} // namespace

const CommandSyntax kDoublesSyntax{
    "doubles", "", "Lists the images whose file name another image has too, as \"Search double filenames\".",
    {kCatalogueOption, {"--json", nullptr, "prints the images as JSON, the mark as an ISO 8601 date"},
     kNulOption},
    "Names are compared without regard to letter case; the images of one name follow each other.\n"
    "Lines hold folder, file and mark as marks prints them."};

const CommandSyntax kRenameSyntax{
    "rename", "FILE NEWNAME", "Renames an image of the catalogue in its folder, and its row and thumbnail with it.",
    {kCatalogueOption, {"--yes", nullptr, "renames without asking on a terminal"}},
    "NEWNAME is a file name without a folder; an existing file or catalogue row of that name is never replaced."};

const CommandSyntax kDeleteSyntax{
    "delete", "FILE...", "Moves images of the catalogue to the trash and removes their rows and thumbnails.",
    {kCatalogueOption, {"--yes", nullptr, "deletes without asking on a terminal"}},
    "A file the trash refuses is left where it is, with its row."};

const CommandSyntax kCopySyntax{
    "copy", "[TEXT]", "Copies every image the search finds into a folder, as \"Copy images\" does.",
    withSearchOptions({{"--to", "FOLDER", "the existing folder the copies go to (needed)"},
                       {"--yes", nullptr, "copies without asking on a terminal"}}),
    "A file of the same name in FOLDER is replaced, unless it is itself an image of the result."};

int runDoublesCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kDoublesSyntax, context, arguments))
        return *exit;
    if (!arguments.operands.isEmpty()) {
        const LanguagePack &pack = packOf(context);
        context.err << "zelvarion-cli doubles: " << withSeeHelp(pack, textOf(pack, texts::kNoOperands), "doubles") << '\n';
        return kExitBadArguments;
    }
    Session prepared;
    if (!prepareCatalogue(context, "doubles", arguments, prepared))
        return kExitSomeFailed;
    CommandFeedback feedback(context, true);
    if (rowsFormat(arguments) != RowsFormat::Lines) {
        const auto doubles = findDoubleFileNames(prepared.catalogue, feedback);
        printRows(context.out, doubles.value_or(std::vector<ResultRow>()), rowsFormat(arguments), RowsColumns::WithMark);
        return doubles && !feedback.failed() ? kExitOk : kExitSomeFailed;
    }
    // Printed as found: a catalogue of a million images is never held as a list.
    RawLines lines(context.out);
    // Marks are the few days images were marked on: each is read as a date once, not once a row.
    QByteArray lastMark;
    QByteArray lastIso;
    const auto print = [&](QByteArrayView folder, QByteArrayView file, QByteArrayView mark) {
        if (mark.isEmpty()) {
            lines.addRow({folder, file, mark});
            return;
        }
        if (lastMark.isNull() || mark != QByteArrayView(lastMark)) {
            lastMark = mark.toByteArray();
            lastIso = isoDateFromMark(QString::fromUtf8(mark)).toUtf8();
        }
        lines.addRow({folder, file, lastIso});
    };
    const DoubleSearchEnd end = streamDoubleFileNames(prepared.catalogue, feedback, print);
    lines.flush();
    return end == DoubleSearchEnd::Done && !feedback.failed() ? kExitOk : kExitSomeFailed;
}

int runRenameCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kRenameSyntax, context, arguments))
        return *exit;
    const LanguagePack &pack = packOf(context);
    if (arguments.operands.size() != 2) {
        context.err << "zelvarion-cli rename: " << withSeeHelp(pack, textOf(pack, texts::kRenameOperands), "rename") << '\n';
        return kExitBadArguments;
    }
    const QString newName = arguments.operands[1];
    if (newName.trimmed().isEmpty()) {
        context.err << "zelvarion-cli rename: " << withSeeHelp(pack, textOf(pack, texts::kRenameBlank), "rename") << '\n';
        return kExitBadArguments;
    }
    Session prepared;
    if (!prepareCatalogue(context, "rename", arguments, prepared))
        return kExitSomeFailed;
    CommandFeedback feedback(context, true);
    CatalogueWriteLock lock(prepared.catalogue.path);
    if (!lock.takeOrWait(feedback, prepared.language))
        return kExitSomeFailed;
    const ImageRef image = imageOf(arguments.operands[0]);
    if (!isCatalogued(prepared.catalogue, feedback, image)) {
        context.err << "zelvarion-cli rename: " << withSubject(prepared.language, Message::CliNotCatalogued, image.path())
                    << '\n';
        return kExitSomeFailed;
    }
    if (!arguments.flag("--yes")
        && !confirmOnTerminal(context, filled(prepared.language.message(Message::CliRenameQuestion),
                                              {{u'#', image.path()}, {u'%', newName.trimmed()}}))) {
        context.err << "zelvarion-cli rename: " << prepared.language.message(Message::CliNothingRenamed) << '\n';
        return kExitSomeFailed;
    }
    const ThumbnailStore thumbnails;
    ResultList none;
    const RenameResult renamed = renameImage({prepared.catalogue, feedback, prepared.language, thumbnails}, none, image, newName);
    if (renamed.renamed)
        context.out << image.folder + renamed.newName << '\n';
    return renamed.renamed && !feedback.failed() ? kExitOk : kExitSomeFailed;
}

int runDeleteCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kDeleteSyntax, context, arguments))
        return *exit;
    if (arguments.operands.isEmpty()) {
        const LanguagePack &pack = packOf(context);
        context.err << "zelvarion-cli delete: " << withSeeHelp(pack, textOf(pack, texts::kDeleteOperands), "delete") << '\n';
        return kExitBadArguments;
    }
    Session prepared;
    if (!prepareCatalogue(context, "delete", arguments, prepared))
        return kExitSomeFailed;
    // The question of each file is the window's, asked on a terminal.
    CommandFeedback feedback(context, arguments.flag("--yes"));
    CatalogueWriteLock lock(prepared.catalogue.path);
    if (!lock.takeOrWait(feedback, prepared.language))
        return kExitSomeFailed;
    const ThumbnailStore thumbnails;
    int failures = 0;
    for (const QString &path : std::as_const(arguments.operands)) {
        const ImageRef image = imageOf(path);
        if (!isCatalogued(prepared.catalogue, feedback, image)) {
            context.err << "zelvarion-cli delete: "
                        << withSubject(prepared.language, Message::CliNotCatalogued, image.path()) << '\n';
            ++failures;
            continue;
        }
        ResultList none;
        const DeleteResult deleted = deleteImage({prepared.catalogue, feedback, prepared.language, thumbnails}, none, image);
        if (deleted.forgetCell())
            context.out << image.path() << '\n';
        else
            ++failures;
    }
    return failures == 0 && !feedback.failed() ? kExitOk : kExitSomeFailed;
}

int runCopyCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kCopySyntax, context, arguments))
        return *exit;
    const std::optional<QString> to = arguments.value("--to");
    if (!to || !QFileInfo(*to).isDir()) {
        const LanguagePack &pack = packOf(context);
        context.err << "zelvarion-cli copy: " << withSeeHelp(pack, textOf(pack, texts::kCopyTo), "copy") << '\n';
        return kExitBadArguments;
    }
    CommandSearch search;
    if (const std::optional<int> failed = searchForCommand("copy", arguments, context, search))
        return *failed;
    const QString destination = destinationFolderOf(QDir::cleanPath(QFileInfo(*to).absoluteFilePath()));
    if (!arguments.flag("--yes")
        && !confirmOnTerminal(context, counted(search.language, Message::CliCopyQuestion, search.results.count())
                                           .replace(u'%', destination))) {
        context.err << "zelvarion-cli copy: " << search.language.message(Message::CliNothingCopied) << '\n';
        return kExitSomeFailed;
    }
    CommandFeedback feedback(context, true);
    const CopyReport report = copyResultImages(search.results, destination, feedback);
    for (const QString &failure : report.failures)
        context.err << failure << '\n';
    context.out << copySummary(search.language, report) << '\n';
    return report.notCopied() == 0 && !feedback.failed() ? kExitOk : kExitSomeFailed;
}

} // namespace zelvarion::cli
