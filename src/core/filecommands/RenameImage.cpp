#include "core/filecommands/RenameImage.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/ImagesTable.h"
#include "core/search/ResultList.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"
#include "platform/FileNames.h"
#include "platform/ThumbnailStore.h"

#include <QFileInfo>

namespace zelvarion {
namespace {

void warn(const FileCommandContext &context, Message message, const QString &name)
{
    context.feedback.showMessage(context.language.message(message) + u'\n' + name, MessageIcon::Warning);
}

// Step 6: a row of that name in the folder, also one whose file is gone from the disk.
bool catalogueHasRow(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file, bool &failed)
{
    failed = !imagesTable::selectImage(db, feedback, folder, file);
    return !failed && db.rowCount() > 0;
}

int renameFirstRow(ResultList &results, const ImageRef &image, const QString &newName)
{
    for (int rank = 1; rank <= results.count(); ++rank) {
        ResultRow &row = results.row(rank);
        if (row.folder == image.folder && row.file == image.file) {
            row.file = newName;
            return rank;
        }
    }
    return 0;
}

} // namespace

bool holdsRefusedFileNameCharacter(const QString &name)
{
    static const QString kRefused = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : name)
        if (kRefused.contains(c))
            return true;
    return false;
}

RenameResult renameImage(const FileCommandContext &context, ResultList &results, const ImageRef &image,
                         const QString &answer)
{
    RenameResult result;
    result.newName = answer.trimmed();
    const QString &name = result.newName;
    if (holdsRefusedFileNameCharacter(name)) {
        context.feedback.showMessage(context.language.message(Message::InvalidFileNameCharacter), MessageIcon::Warning);
        return result;
    }
    if (name.isEmpty())
        return result;
    const QString newPath = image.folder + name;
    if (filenames::fileFacts(newPath).exists) {
        warn(context, Message::FileNameTaken, name);
        return result;
    }
    CatalogueDb &db = context.catalogue;
    if (!db.openOrReport(context.feedback))
        return result;
    const ClosedOnExit closed(db);
    bool failed = false;
    const bool taken = catalogueHasRow(db, context.feedback, image.folder, name, failed);
    if (taken)
        warn(context, Message::FileNameTaken, name);
    if (failed || taken)
        return result;

    const filemoves::RenameResult moved = filemoves::renameWithoutReplacing(image.path(), newPath);
    if (moved.status == filemoves::RenameStatus::TargetExists) {
        warn(context, Message::FileNameTaken, name);
        return result;
    }
    if (moved.status != filemoves::RenameStatus::Renamed) {
        warn(context, Message::RenameFailed, image.file + u'\n' + moved.error);
        return result;
    }
    result.renamed = true;
    context.thumbnails.move(image.path(), newPath);
    imagesTable::renameImage(db, context.feedback, image.folder, image.file, name);
    result.changedRank = renameFirstRow(results, image, name);
    return result;
}

} // namespace zelvarion
