#include "core/filecommands/DeleteImage.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/ImagesTable.h"
#include "core/search/ResultList.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"
#include "platform/FileNames.h"
#include "platform/ThumbnailStore.h"

#include <QFileInfo>

namespace zelvarion {
namespace {

// Steps 4 to 6: the row goes, then the folder's count is taken again. That count leaves out the
// folder's subfolders and misses a registered parent, so the registered folders holding the image
// are then counted as a scan counts them: the image total (the sum of Files) stays true.
void forgetInCatalogue(CatalogueDb &db, Feedback &feedback, const ImageRef &image)
{
    if (!imagesTable::removeImage(db, feedback, image.folder, image.file))
        return;
    const std::optional<QString> count = imagesTable::countInFolder(db, feedback, image.folder);
    if (count && setFolderFileCount(db, feedback, image.folder, *count))
        recountFoldersHolding(db, feedback, image.folder);
}

// Why the trash would not take the file, with its path. A name too long is the user's to mend, so
// it is said in the user's language.
QString trashRefusal(const LanguagePack &language, const QString &path, const filemoves::TrashResult &refusal)
{
    if (refusal.status == filemoves::TrashStatus::NameTooLong)
        return language.message(Message::TrashNameTooLong).replace(u'%', QString::number(refusal.longestName))
               + u'\n' + path;
    return language.message(Message::TrashRefused) + u'\n' + path + u'\n' + refusal.error;
}

int blankFirstRow(ResultList &results, const ImageRef &image)
{
    for (int rank = 1; rank <= results.count(); ++rank) {
        ResultRow &row = results.row(rank);
        if (row.folder == image.folder && row.file == image.file) {
            row.folder.clear();
            row.file.clear();
            return rank;
        }
    }
    return 0;
}

} // namespace

DeleteResult deleteImage(const FileCommandContext &context, ResultList &results, const ImageRef &image)
{
    using Outcome = DeleteResult::Outcome;
    const QString path = image.path();
    if (!context.feedback.askYesNo(context.language.message(Message::DeleteFileQuestion) + u'\n' + path,
                                   MessageIcon::Question))
        return {Outcome::Declined};
    const filemoves::TrashResult trashed = context.moveToTrash(path);
    if (!trashed.trashed()) {
        context.feedback.showMessage(trashRefusal(context.language, path, trashed), MessageIcon::Warning);
        return {Outcome::TrashRefused};
    }
    if (filenames::fileFacts(path).exists)
        return {Outcome::StillThere};
    context.thumbnails.drop(path);

    CatalogueDb &db = context.catalogue;
    if (!db.openOrReport(context.feedback))
        return {Outcome::CatalogueNotOpened};
    forgetInCatalogue(db, context.feedback, image);
    db.close();
    return {Outcome::Deleted, blankFirstRow(results, image)};
}

} // namespace zelvarion
