#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::RecordingFeedback;
using zelvarion::test::TempFolder;

namespace {

QString q(const char *text) { return QString::fromUtf8(text); }

class CatalogueSchemaTest : public ::testing::Test
{
protected:
    CatalogueSchemaTest() { db.path = folder.file("Images.db"); }

    SchemaHooks recordingHooks()
    {
        return {[this](CatalogueDb &connection) {
                    translationsLoadedWhileOpen = connection.isOpen();
                    ++translationLoads;
                },
                [this](const QString &path) {
                    rememberedWhileClosed = !db.isOpen();
                    remembered << path;
                }};
    }

    // Names of the objects of one type in the file, sorted.
    QStringList objects(const char *type)
    {
        CatalogueDb reader;
        reader.path = db.path;
        reader.open();
        reader.execute(q("select name from sqlite_master where type = '%1' order by name;").arg(q(type)));
        QStringList names;
        for (int row = 1; row <= reader.rowCount(); ++row)
            names << reader.cell(0, row);
        return names;
    }

    int columnCount(const char *table)
    {
        CatalogueDb reader;
        reader.path = db.path;
        reader.open();
        reader.execute(q("select * from %1;").arg(q(table)));
        return reader.columnCount();
    }

    TempFolder folder;
    CatalogueDb db;
    RecordingFeedback feedback;
    int translationLoads = 0;
    bool translationsLoadedWhileOpen = false;
    bool rememberedWhileClosed = false;
    QStringList remembered;
};

const QStringList kTables{q("Folders"), q("Images"), q("Selections"), q("Templates"), q("Translations")};

} // namespace

TEST_F(CatalogueSchemaTest, freshFileGetsFiveTablesAndSixIndexes)
{
    ASSERT_TRUE(createCatalogueSchema(db, feedback, recordingHooks()));
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'|').toStdString();
    EXPECT_EQ(objects("table"), kTables);
    EXPECT_EQ(objects("index"),
              (QStringList{q("IndexCheckMark"), q("IndexImagesAllIPTC"), q("IndexImagesPath"),
                           q("IndexTemplates"), q("SelectionsIndex"), q("TranslationsIndex")}));
    EXPECT_EQ(columnCount("Folders"), 3);
    EXPECT_EQ(columnCount("Images"), 48);
    EXPECT_EQ(columnCount("Templates"), 53);
    EXPECT_EQ(columnCount("Selections"), 4);
    EXPECT_EQ(columnCount("Translations"), 2);
}

TEST_F(CatalogueSchemaTest, loadsTranslationsOnTheOpenConnectionThenRemembersThePathClosed)
{
    ASSERT_TRUE(createCatalogueSchema(db, feedback, recordingHooks()));
    EXPECT_EQ(translationLoads, 1);
    EXPECT_TRUE(translationsLoadedWhileOpen);
    EXPECT_TRUE(rememberedWhileClosed);
    EXPECT_EQ(remembered, QStringList{db.path});
    EXPECT_FALSE(db.isOpen());
}

TEST_F(CatalogueSchemaTest, existingCatalogueReportsEachTableCreatesNoIndexAndStillFinishes)
{
    ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
    ASSERT_TRUE(createCatalogueSchema(db, feedback, recordingHooks()));
    QStringList expected;
    for (const char *table : {"Folders", "Images", "Templates", "Selections", "Translations"})
        expected << q("Cannot create table %1\ntable %1 already exists").arg(q(table));
    EXPECT_EQ(feedback.texts(), expected);
    for (const auto &message : feedback.messages)
        EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_EQ(objects("index").size(), 6);
    EXPECT_EQ(translationLoads, 1);
    EXPECT_EQ(remembered, QStringList{db.path});
}

TEST_F(CatalogueSchemaTest, tableThatAlreadyExistsKeepsItsOwnIndexesAway)
{
    {
        CatalogueDb setup;
        setup.path = db.path;
        ASSERT_TRUE(setup.open());
        ASSERT_EQ(setup.execute(q("create table Images(Folder,File);")), 0);
    }
    ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
    EXPECT_EQ(feedback.texts(), QStringList{q("Cannot create table Images\ntable Images already exists")});
    EXPECT_EQ(objects("index"),
              (QStringList{q("IndexTemplates"), q("SelectionsIndex"), q("TranslationsIndex")}));
}

TEST_F(CatalogueSchemaTest, openFailureReportsAndDoesNothingElse)
{
    for (const QString &path : {QString(), folder.path()}) {
        RecordingFeedback failures;
        db.path = path;
        EXPECT_FALSE(createCatalogueSchema(db, failures, recordingHooks()));
        ASSERT_EQ(failures.messages.size(), 1u);
        EXPECT_TRUE(failures.messages[0].text.startsWith(q("Cannot open '") + path + q("'\n")));
    }
    EXPECT_EQ(translationLoads, 0);
    EXPECT_TRUE(remembered.isEmpty());
}

TEST_F(CatalogueSchemaTest, startupTuningSucceedsSilentlyOnThisEngine)
{
    // The stored-default PRAGMAs are gone from the engine; it ignores names it does not know.
    ASSERT_TRUE(db.open());
    EXPECT_TRUE(runStartupTuning(db, feedback));
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'|').toStdString();
}

TEST_F(CatalogueSchemaTest, startupTuningStopsAtTheFirstFailure)
{
    EXPECT_FALSE(runStartupTuning(db, feedback)); // not open: every statement would fail
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.messages[0].text.startsWith(q("Cannot set default_temp_store = MEMORY\n")));
}

TEST_F(CatalogueSchemaTest, searchTuningSetsTheConnectionAndReportsEachFailure)
{
    ASSERT_TRUE(db.open());
    runSearchTuning(db, feedback);
    EXPECT_TRUE(feedback.messages.empty());
    db.execute(q("PRAGMA cache_size;"));
    EXPECT_EQ(db.cell(0, 1), q("100000"));
    db.execute(q("PRAGMA temp_store;"));
    EXPECT_EQ(db.cell(0, 1), q("2")); // memory
    db.close();

    runSearchTuning(db, feedback);
    const QStringList texts = feedback.texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[0].startsWith(q("Cannot set temp_store = MEMORY\n")));
    EXPECT_TRUE(texts[1].startsWith(q("Cannot cache_size = 100000\n")));
    EXPECT_TRUE(texts[2].startsWith(q("Cannot set synchronous = OFF\n")));
}

TEST_F(CatalogueSchemaTest, imageCountAddsTheFilesColumnByLeadingNumber)
{
    ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
    ASSERT_TRUE(db.open());
    for (const char *files : {"12", "", "abc", "30x", "7"})
        db.execute(q("insert into Folders values('/f%1/','%1','');").arg(q(files)));
    EXPECT_EQ(countCatalogueImages(db, feedback), 49);
    EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(CatalogueSchemaTest, imageCountOfEmptyCatalogueIsZeroAndMissingTableIsReported)
{
    ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
    ASSERT_TRUE(db.open());
    EXPECT_EQ(countCatalogueImages(db, feedback), 0);
    db.execute(q("drop table Folders;"));
    EXPECT_FALSE(countCatalogueImages(db, feedback));
    EXPECT_EQ(feedback.texts(), QStringList{q("Cannot get Folders\nno such table: Folders")});
}

TEST_F(CatalogueSchemaTest, namedTransactionsRunAndReportWithTheCataloguePath)
{
    ASSERT_TRUE(db.open());
    EXPECT_TRUE(beginTransaction(db, feedback, q("SCAN")));
    EXPECT_EQ(db.statement(), q("begin transaction SCAN;"));
    EXPECT_FALSE(beginTransaction(db, feedback, q("SCAN")));
    EXPECT_TRUE(endTransaction(db, feedback, q("SCAN")));
    EXPECT_EQ(db.statement(), q("end transaction SCAN;"));
    EXPECT_FALSE(endTransaction(db, feedback, q("SCAN")));
    const QStringList texts = feedback.texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], q("Cannot begin transaction SCAN '%1'\ncannot start a transaction within a transaction").arg(db.path));
    EXPECT_EQ(texts[1], q("Cannot end transaction SCAN '%1'\ncannot commit - no transaction is active").arg(db.path));
}
