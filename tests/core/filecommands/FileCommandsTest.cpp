// Delete, rename and copy on real files, a real catalogue and a trash in the test's own folder.
#include "core/search/CatalogueFixture.h"

#include "core/filecommands/CopyImages.h"
#include "core/filecommands/DeleteImage.h"
#include "core/filecommands/RenameImage.h"
#include "platform/ThumbnailStore.h"

#include <QDir>
#include <QFileInfo>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

class FileCommandsTest : public CatalogueFixture
{
protected:
    void SetUp() override
    {
        CatalogueFixture::SetUp();
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder.file("data")));
        photos = folder.file("l'été") + u'/';
        for (const char *name : {"o'neil.jpg", "b.jpg"}) {
            folder.write(u8("l'été/") + u8(name), QByteArray("image ") + name);
            addImage(photos, u8(name));
            thumbnails.store(photos + u8(name), "thumb");
        }
        run(u8("insert into Folders values(") + sqlText(photos) + u8(",'2','');"));
        results = resultOf({{photos, u8("o'neil.jpg"), {}}, {photos, u8("b.jpg"), {}}});
    }

    FileCommandContext context() { return {db, feedback, language, thumbnails}; }
    QStringList files() { return QDir(photos).entryList(QDir::Files, QDir::Name); }
    QStringList trashed() { return QDir(folder.file("data/Trash/files")).entryList(QDir::Files); }

    QString photos;
    ThumbnailStore thumbnails{folder.file("thumbs")};
    ResultList results;
};

} // namespace

TEST_F(FileCommandsTest, deleteAsksThenTrashesTheFileAndForgetsItsRowThumbnailAndResultRow)
{
    feedback.answers = {false};
    EXPECT_EQ(deleteImage(context(), results, {photos, u8("o'neil.jpg")}).outcome, DeleteResult::Outcome::Declined);
    EXPECT_EQ(feedback.questions, QStringList({language.message(Message::DeleteFileQuestion) + u'\n' + photos + u8("o'neil.jpg")}));
    EXPECT_EQ(files().size(), 2);
    EXPECT_EQ(results.row(1).file, u8("o'neil.jpg"));

    const DeleteResult deleted = deleteImage(context(), results, {photos, u8("o'neil.jpg")});
    EXPECT_EQ(deleted.outcome, DeleteResult::Outcome::Deleted);
    EXPECT_TRUE(deleted.forgetCell());
    EXPECT_EQ(deleted.blankedRank, 1);
    EXPECT_EQ(files(), QStringList({u8("b.jpg")}));
    EXPECT_EQ(trashed(), QStringList({u8("o'neil.jpg")}));
    EXPECT_EQ(rows(u8("select File from Images;")), QStringList({u8("b.jpg")}));
    EXPECT_EQ(rows(u8("select Files from Folders;")), QStringList({u8("1")}));
    EXPECT_FALSE(thumbnails.has(photos + u8("o'neil.jpg")));
    EXPECT_TRUE(results.row(1).folder.isEmpty() && results.row(1).file.isEmpty());
    EXPECT_EQ(results.count(), 2); // the blank row keeps its rank
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
}

// The image total is the sum of Files: deleting an image of a subfolder lowers its registered
// parent's count, and deleting one of a registered folder keeps the rows of its subfolders in it.
TEST_F(FileCommandsTest, deleteKeepsTheCountsOfTheRegisteredFoldersHoldingTheImage)
{
    const QString inner = photos + u8("hiver/");
    const QString other = folder.file("other") + u'/';
    for (const QString &path : {inner, other}) {
        folder.write(QString(path).remove(0, folder.path().size() + 1) + u8("c.jpg"), "image c");
        addImage(path, u8("c.jpg"));
    }
    folder.write(u8("l'été/hiver/d.jpg"), "image d");
    addImage(inner, u8("d.jpg"));
    run(u8("update Folders set Files='4';"));
    run(u8("insert into Folders values(") + sqlText(other) + u8(",'1','');"));
    ResultList shown = resultOf({{inner, u8("c.jpg"), {}}, {photos, u8("b.jpg"), {}}});

    ASSERT_TRUE(deleteImage(context(), shown, {inner, u8("c.jpg")}).forgetCell());
    EXPECT_EQ(rows(u8("select Files from Folders order by Folder;")), QStringList({u8("3"), u8("1")}));
    ASSERT_TRUE(deleteImage(context(), shown, {photos, u8("b.jpg")}).forgetCell());
    EXPECT_EQ(rows(u8("select Files from Folders order by Folder;")), QStringList({u8("2"), u8("1")}));
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
}

TEST_F(FileCommandsTest, aFileTheTrashRefusesIsLeftExactlyAsItWas)
{
    FileCommandContext refusing = context();
    refusing.moveToTrash = [](const QString &) {
        return filemoves::TrashResult{filemoves::TrashStatus::NoTrash, u8("no trash on this file system")};
    };
    EXPECT_EQ(deleteImage(refusing, results, {photos, u8("b.jpg")}).outcome, DeleteResult::Outcome::TrashRefused);
    EXPECT_EQ(feedback.texts(), QStringList({language.message(Message::TrashRefused) + u'\n' + photos
                                             + u8("b.jpg\nno trash on this file system")}));
    EXPECT_EQ(files().size(), 2);
    EXPECT_EQ(rows(u8("select count(*) from Images;")), QStringList({u8("2")}));
    EXPECT_TRUE(thumbnails.has(photos + u8("b.jpg")));

    // A trash that says yes and leaves the file: nothing else changes either.
    refusing.moveToTrash = [](const QString &) { return filemoves::TrashResult{filemoves::TrashStatus::Trashed}; };
    EXPECT_EQ(deleteImage(refusing, results, {photos, u8("b.jpg")}).outcome, DeleteResult::Outcome::StillThere);
    EXPECT_EQ(results.row(2).file, u8("b.jpg"));
}

TEST_F(FileCommandsTest, aNameTooLongForTheTrashIsRefusedWithItsLimitAndKept)
{
    const QString longName = QString(246, u'n') + u8(".jpg");
    folder.write(u8("l'été/") + longName, "long");
    addImage(photos, longName);
    feedback.messages.clear();

    EXPECT_EQ(deleteImage(context(), results, {photos, longName}).outcome, DeleteResult::Outcome::TrashRefused);
    EXPECT_EQ(feedback.texts(),
              QStringList({language.message(Message::TrashNameTooLong).replace(u'%', u8("245")) + u'\n' + photos + longName}));
    EXPECT_TRUE(QFileInfo::exists(photos + longName));
    EXPECT_EQ(rows(u8("select count(*) from Images;")), QStringList({u8("3")}));
    EXPECT_TRUE(trashed().isEmpty());
}

TEST_F(FileCommandsTest, aFailedDeleteStatementIsReportedAndTheResultForgetsTheFileAnyway)
{
    run(u8("create trigger Refuse before delete on Images begin select raise(abort, 'locked'); end;"));
    const DeleteResult deleted = deleteImage(context(), results, {photos, u8("b.jpg")});
    EXPECT_TRUE(deleted.forgetCell());
    EXPECT_EQ(deleted.blankedRank, 2);
    EXPECT_EQ(feedback.texts(), QStringList({u8("Cannot remove data\nlocked")}));
    EXPECT_EQ(rows(u8("select Files from Folders;")), QStringList({u8("2")})); // no recount after the failure
    EXPECT_EQ(trashed(), QStringList({u8("b.jpg")}));
}

TEST_F(FileCommandsTest, renameRefusesBadCharactersTakenNamesAndItsOwnName)
{
    const ImageRef image{photos, u8("b.jpg")};
    run(u8("insert into Images(Folder,File) values(") + sqlText(photos) + u8(",'gone.jpg');"));
    const struct
    {
        const char *answer;
        Message message;
    } refusals[] = {{"a/b.jpg", Message::InvalidFileNameCharacter}, {"say \"hi\".jpg", Message::InvalidFileNameCharacter},
                    {"o'neil.jpg", Message::FileNameTaken},          {"b.jpg", Message::FileNameTaken},
                    {"gone.jpg", Message::FileNameTaken}};
    for (const auto &refusal : refusals) {
        SCOPED_TRACE(refusal.answer);
        feedback.messages.clear();
        EXPECT_FALSE(renameImage(context(), results, image, u8(refusal.answer)).renamed);
        ASSERT_EQ(feedback.messages.size(), 1u);
        EXPECT_TRUE(feedback.messages[0].text.startsWith(language.message(refusal.message)));
        EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Warning);
    }
    feedback.messages.clear();
    EXPECT_FALSE(renameImage(context(), results, image, u8("   ")).renamed);
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_EQ(files(), QStringList({u8("b.jpg"), u8("o'neil.jpg")}));
    EXPECT_EQ(results.row(2).file, u8("b.jpg"));
}

TEST_F(FileCommandsTest, renameMovesFileRowResultRowAndThumbnailTogether)
{
    const RenameResult renamed = renameImage(context(), results, {photos, u8("o'neil.jpg")}, u8("  d'Artagnan é.jpg "));
    EXPECT_TRUE(renamed.renamed);
    EXPECT_EQ(renamed.newName, u8("d'Artagnan é.jpg"));
    EXPECT_EQ(renamed.changedRank, 1);
    EXPECT_EQ(files(), QStringList({u8("b.jpg"), u8("d'Artagnan é.jpg")}));
    EXPECT_EQ(folder.read(u8("l'été/d'Artagnan é.jpg")), QByteArray("image o'neil.jpg"));
    EXPECT_EQ(rows(u8("select File from Images order by File;")), QStringList({u8("b.jpg"), u8("d'Artagnan é.jpg")}));
    EXPECT_EQ(results.row(1).file, u8("d'Artagnan é.jpg"));
    EXPECT_EQ(thumbnails.load(photos + u8("d'Artagnan é.jpg")), QByteArray("thumb"));
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
}

TEST_F(FileCommandsTest, copyLeavesTheHigherRankOfOneNameAndNeverReplacesAnImageOfTheResult)
{
    folder.write(u8("other/b.jpg"), "other b");
    const QString other = folder.file("other") + u'/';
    results.assign({{photos, u8("b.jpg"), {}}, {{}, {}, {}}, {other, u8("b.jpg"), {}}, {photos, u8("o'neil.jpg"), {}},
                    {photos, u8("missing.jpg"), {}}});
    const QString out = destinationFolderOf(folder.file("out"));
    QDir().mkpath(out);
    const CopyReport report = copyResultImages(results, out, feedback);
    EXPECT_EQ(report.copied, 3);
    EXPECT_EQ(report.failed, 1);
    EXPECT_EQ(report.skippedResultImages, 0);
    EXPECT_EQ(folder.read(u8("out/b.jpg")), QByteArray("other b"));
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList({u8("b.jpg"), u8("o'neil.jpg")}));

    // Into the images' own folder: b.jpg there is an image of the result, whichever row copies.
    const CopyReport own = copyResultImages(results, photos, feedback);
    EXPECT_EQ(own.skippedResultImages, 3);
    EXPECT_EQ(own.copied, 0);
    EXPECT_EQ(folder.read(u8("l'été/b.jpg")), QByteArray("image b.jpg"));
    EXPECT_EQ(copySummary(language, own), u8("0 images copied. 3 not copied: the file of that name in the destination is "
                                             "itself an image of the result. 1 could not be copied."));
    EXPECT_EQ(destinationFolderOf(u8("/")), u8("/"));
}
