// The catalogue layer's table operations on a real catalogue: texts with apostrophes reach the
// right row, the batch select gives what the one-image select gives, a read-only connection is
// found before a write, and journal records keep a path whatever characters it holds.

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/catalogue/ImagesTable.h"
#include "core/catalogue/TranslationsTable.h"
#include "core/catalogue/UndoJournalTables.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::RecordingFeedback;
using zelvarion::test::TempFolder;

namespace {

const QString kFolder = QStringLiteral("/p/O'Neil/");
constexpr ImagesColumn kObjectName = ImagesColumn::FirstIptcField;

class ImagesTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.path = folder.file("Images.db");
        ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
        ASSERT_TRUE(db.open());
        for (const char *file : {"a'b.jpg", "c.jpg", "d.jpg"}) {
            ImagesRow row;
            row[ImagesColumn::Folder] = kFolder;
            row[ImagesColumn::File] = QString::fromUtf8(file);
            row[kObjectName] = QStringLiteral("name of ") + QString::fromUtf8(file);
            ASSERT_EQ(db.execute(insertImagesRowStatement(row)), 0) << db.errorText().toStdString();
        }
    }
    void TearDown() override { db.close(); }

    // Every cell of the last statement's rows, row by row.
    QStringList lastRows() const
    {
        QStringList rows;
        for (int r = 1; r <= db.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < db.columnCount(); ++c)
                cells << db.cell(c, r);
            rows << cells.join(u'|');
        }
        return rows;
    }

    TempFolder folder;
    CatalogueDb db;
    RecordingFeedback feedback;
};

TEST_F(ImagesTableTest, oneImageStatementsKeepTheirTextAndFindNamesWithApostrophes)
{
    EXPECT_EQ(imagesTable::selectImageStatement(kFolder, QStringLiteral("a'b.jpg")),
              QStringLiteral("select * from Images where (Folder='/p/O''Neil/') and (File='a''b.jpg');"));
    EXPECT_TRUE(imagesTable::holdsImage(db, feedback, kFolder, QStringLiteral("a'b.jpg")));
    EXPECT_FALSE(imagesTable::holdsImage(db, feedback, kFolder, QStringLiteral("ab.jpg")));
    EXPECT_FALSE(imagesTable::holdsImage(db, feedback, QStringLiteral("/p/O'Neil"), QStringLiteral("a'b.jpg")));

    ASSERT_TRUE(imagesTable::renameImage(db, feedback, kFolder, QStringLiteral("a'b.jpg"), QStringLiteral("e'f.jpg")));
    EXPECT_FALSE(imagesTable::holdsImage(db, feedback, kFolder, QStringLiteral("a'b.jpg")));
    ASSERT_TRUE(imagesTable::selectImage(db, feedback, kFolder, QStringLiteral("e'f.jpg")));
    ASSERT_EQ(db.rowCount(), 1);
    EXPECT_EQ(db.cell(int(kObjectName), 1), QStringLiteral("name of a'b.jpg"));

    ASSERT_TRUE(imagesTable::removeImage(db, feedback, kFolder, QStringLiteral("e'f.jpg")));
    EXPECT_EQ(imagesTable::countInFolder(db, feedback, kFolder), QStringLiteral("2"));
    EXPECT_EQ(imagesTable::revisionOf(db, kFolder, QStringLiteral("e'f.jpg")), std::nullopt);
    EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(ImagesTableTest, marksAreSetRestoredListedAndClearedPerImage)
{
    ASSERT_TRUE(imagesTable::setCheckMark(db, feedback, kFolder, QStringLiteral("a'b.jpg"), QStringLiteral("1.2.03")));
    ASSERT_TRUE(imagesTable::restoreCheckMark(db, feedback, kFolder, QStringLiteral("d.jpg"), QStringLiteral("l'an")));
    ASSERT_TRUE(imagesTable::selectMarkedImages(db, feedback));
    QStringList marked = lastRows();
    marked.sort();
    EXPECT_EQ(marked, (QStringList{kFolder + QStringLiteral("|a'b.jpg|1.2.03"), kFolder + QStringLiteral("|d.jpg|l'an")}));

    ASSERT_TRUE(imagesTable::clearAllCheckMarks(db, feedback));
    ASSERT_TRUE(imagesTable::selectMarkedImages(db, feedback));
    EXPECT_EQ(db.rowCount(), 0);
}

// A cell's toggle and the marking of the whole result keep their own texts: one pair of
// parentheses around the condition of the one, two around that of the other.
TEST_F(ImagesTableTest, markStatementsOfOneImageAndOfTheResultKeepTheirTexts)
{
    EXPECT_EQ(imagesTable::checkMarkStatement(kFolder, QStringLiteral("a'b.jpg"), QStringLiteral("1.2.03")),
              QStringLiteral("update Images set CheckMark='1.2.03' where (Folder='/p/O''Neil/') and (File='a''b.jpg');"));
    EXPECT_EQ(imagesTable::resultCheckMarkStatement(kFolder, QStringLiteral("a'b.jpg"), QString()),
              QStringLiteral("update Images set CheckMark='' where ((Folder='/p/O''Neil/') and (File='a''b.jpg'));"));
    ASSERT_TRUE(imagesTable::setImageCheckMark(db, feedback, kFolder, QStringLiteral("a'b.jpg"), QStringLiteral("l'an")));
    ASSERT_TRUE(imagesTable::selectMarkedImages(db, feedback));
    EXPECT_EQ(lastRows(), QStringList{kFolder + QStringLiteral("|a'b.jpg|l'an")});
    ASSERT_TRUE(imagesTable::setImageCheckMark(db, feedback, kFolder, QStringLiteral("a'b.jpg"), QString()));
    ASSERT_TRUE(imagesTable::selectMarkedImages(db, feedback));
    EXPECT_EQ(db.rowCount(), 0);
}

TEST_F(ImagesTableTest, batchSelectGivesTheRowsOfTheOneImageSelects)
{
    const std::vector<std::pair<QString, QString>> paths = {
        {kFolder, QStringLiteral("d.jpg")}, {kFolder, QStringLiteral("a'b.jpg")}, {kFolder, QStringLiteral("gone.jpg")}};
    const QStringList someColumns{QStringLiteral("ObjectName"), QStringLiteral("CheckMark")};
    for (const QStringList &columns : {QStringList(), someColumns}) {
        ASSERT_EQ(db.execute(imagesTable::selectImagesStatement(columns, paths)), 0) << db.errorText().toStdString();
        const QStringList batch = lastRows();
        QStringList oneByOne;
        for (const auto &[folderName, file] : paths) {
            ASSERT_TRUE(imagesTable::selectImage(db, feedback, folderName, file));
            for (int r = 1; r <= db.rowCount(); ++r) {
                QStringList cells{db.cell(0, r), db.cell(1, r)};
                if (columns.isEmpty())
                    for (int c = 2; c < db.columnCount(); ++c)
                        cells << db.cell(c, r);
                else
                    cells << db.cell(int(kObjectName), r) << db.cell(int(ImagesColumn::CheckMark), r);
                oneByOne << cells.join(u'|');
            }
        }
        EXPECT_EQ(batch, oneByOne) << columns.join(u',').toStdString();
    }
}

TEST_F(ImagesTableTest, aReadOnlyConnectionIsFoundBeforeAnyWrite)
{
    QString engineText;
    EXPECT_TRUE(imagesTable::acceptsWrites(db, engineText));
    db.close();
    ASSERT_TRUE(db.openReadOnly());
    EXPECT_FALSE(imagesTable::acceptsWrites(db, engineText));
    EXPECT_FALSE(engineText.isEmpty());
    EXPECT_TRUE(imagesTable::holdsImage(db, feedback, kFolder, QStringLiteral("c.jpg"))); // no transaction left open
}

TEST(TranslationsTable, lookUpsKeepTheirTexts)
{
    EXPECT_EQ(translationsTable::secondWordsLikeStatement(QStringLiteral("'l''a\\_b' escape '\\'")),
              QStringLiteral("select word2 from Translations where (word1 like 'l''a\\_b' escape '\\');"));
    EXPECT_EQ(translationsTable::firstWordsLikeStatement(QStringLiteral("'cat'")),
              QStringLiteral("select word1 from Translations where (word2 like 'cat');"));
    EXPECT_EQ(translationsTable::firstWordsEqualStatement(QStringLiteral("l'eau")),
              QStringLiteral("select word1 from Translations where (word2='l''eau');"));
}

TEST(UndoJournalTables, aRecordKeepsItsPathSpanAndRevisionWhateverTheyHold)
{
    TempFolder folder;
    CatalogueDb journal;
    journal.path = folder.file("Images.undo.db");
    ASSERT_TRUE(journal.open());
    for (const QString &statement : undoJournalTables::schemaStatements())
        ASSERT_EQ(journal.execute(statement), 0) << journal.errorText().toStdString();
    for (const QString &statement : undoJournalTables::migrationStatements())
        ASSERT_EQ(journal.execute(statement), 0) << journal.errorText().toStdString();
    const QString run = undoJournalTables::insertRun(QStringLiteral("now"), QStringLiteral("it's"), QStringLiteral("template"));
    ASSERT_EQ(journal.execute(run), 0);

    const QString path = QStringLiteral("/p/100%4 l'été %1.jpg");
    const QByteArray span("\x00\xff'", 3);
    undoJournalTables::FileRecord record{path, 7, span, 2, "aa", "bb", 1234, 1,
                                         std::pair{QStringLiteral("d'1"), QStringLiteral("t")}};
    ASSERT_EQ(journal.executeBound(undoJournalTables::insertFile(1), undoJournalTables::fileRecordValues(record)), 0)
        << journal.errorText().toStdString();
    record.oldRevision.reset();
    ASSERT_EQ(journal.executeBound(undoJournalTables::insertFile(1), undoJournalTables::fileRecordValues(record)), 0);
    ASSERT_EQ(journal.execute(undoJournalTables::confirmRewrite(1, path, 99, 5678)), 0);

    ASSERT_EQ(journal.execute(undoJournalTables::selectEntries(1)), 0);
    ASSERT_EQ(journal.rowCount(), 2);
    EXPECT_EQ(journal.cell(1, 1), path);
    EXPECT_EQ(journal.cell(7, 1), QStringLiteral("99")); // only the newest record of the path is confirmed
    EXPECT_EQ(journal.cell(7, 2), QString());
    EXPECT_EQ(journal.cell(9, 1), QString());
    EXPECT_EQ(journal.cell(9, 2), QStringLiteral("d'1"));
    ASSERT_EQ(journal.execute(undoJournalTables::selectOldSpan(journal.cell(0, 2).toLongLong())), 0);
    EXPECT_EQ(QByteArray::fromHex(journal.cell(0, 1).toLatin1()), span);
    journal.close();
}

} // namespace
