#include "core/catalogue/CatalogueDb.h"
#include "core/session/LanguagePack.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::RecordingFeedback;
using zelvarion::test::TempFolder;

namespace {

QString q(const char *text) { return QString::fromUtf8(text); }

class CatalogueDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.path = folder.file("Images.db");
        ASSERT_TRUE(db.open()) << db.errorText().toStdString();
        ASSERT_EQ(db.execute(q("create table Folders(Folder,Files,LastScan);")), 0);
    }

    QStringList column(int index) const
    {
        QStringList cells;
        for (int row = 1; row <= db.rowCount(); ++row)
            cells << db.cell(index, row);
        return cells;
    }

    TempFolder folder;
    CatalogueDb db;
    RecordingFeedback feedback;
};

} // namespace

TEST_F(CatalogueDbTest, queryMatchingMissingGivesNoRows)
{
    ASSERT_EQ(db.execute(q("select * from Folders where Folder = 'none';")), 0);
    EXPECT_EQ(db.rowCount(), 0);
}

TEST_F(CatalogueDbTest, countQueryGivesItsNumberInColumnZeroOfRowOne)
{
    db.execute(q("insert into Folders values('/a/','1','');"));
    db.execute(q("insert into Folders values('/b/','2','');"));
    ASSERT_EQ(db.execute(q("select count(*) from Folders;")), 0);
    EXPECT_EQ(db.rowCount(), 1);
    EXPECT_EQ(db.columnCount(), 1);
    EXPECT_EQ(db.cell(0, 0), q("count(*)"));
    EXPECT_EQ(db.cell(0, 1), q("2"));
}

TEST_F(CatalogueDbTest, nullCellsOfAPartialInsertReadAsEmptyText)
{
    ASSERT_EQ(db.execute(q("insert into Folders(Folder) values('/only/');")), 0);
    ASSERT_EQ(db.execute(q("select * from Folders;")), 0);
    EXPECT_EQ(db.cell(0, 1), q("/only/"));
    EXPECT_EQ(db.cell(1, 1), QString());
    EXPECT_EQ(db.cell(2, 1), QString());
}

TEST_F(CatalogueDbTest, textWithApostrophesIsStoredAndFoundUnchanged)
{
    const QString folderName = q("/photos/l'été d'Anne/");
    ASSERT_EQ(db.execute(q("insert into Folders values(") + sqlText(folderName) + q(",'3','');")), 0);
    ASSERT_EQ(db.execute(q("select Folder from Folders where Folder = ") + sqlText(folderName) + u';'), 0);
    ASSERT_EQ(db.rowCount(), 1);
    EXPECT_EQ(db.cell(0, 1), folderName);
}

TEST(SqlText, doublesEveryApostropheBetweenQuotes)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", "''"}, {"plain", "'plain'"}, {"O'Brien", "'O''Brien'"}, {"''", "''''''"}, {"a'", "'a'''"}};
    for (const auto &[text, quoted] : cases)
        EXPECT_EQ(sqlText(q(text)), q(quoted)) << text;
}

TEST_F(CatalogueDbTest, failedStatementReportsWhatThenTheEngineText)
{
    EXPECT_FALSE(db.executeOrReport(feedback, q("select * from Missing;"), Message::CannotCreateTable, {q("Missing")}));
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].text, q("Cannot create table Missing\nno such table: Missing"));
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(db.statement(), q("select * from Missing;"));
    EXPECT_TRUE(db.executeOrReport(feedback, q("select 1;"), Message::CannotGetData));
    EXPECT_EQ(feedback.messages.size(), 1u);
}

TEST_F(CatalogueDbTest, closedCatalogueRefusesStatements)
{
    db.close();
    EXPECT_FALSE(db.isOpen());
    EXPECT_NE(db.execute(q("select 1;")), 0);
    EXPECT_FALSE(db.errorText().isEmpty());
}

TEST_F(CatalogueDbTest, numericOrderPutsNumbersFirstInNumericOrderAndOtherValuesAfter)
{
    db.execute(q("create table Images(File,FileSize);"));
    for (const char *size : {"1200", "900", "?", "", "-5", "30", "12a"})
        db.execute(q("insert into Images values('f','%1');").arg(q(size)));
    ASSERT_EQ(db.execute(q("select FileSize from Images order by ") + numericOrderTerm(q("FileSize")) + u';'), 0);
    EXPECT_EQ(column(0), (QStringList{q("-5"), q("30"), q("900"), q("1200"), q(""), q("12a"), q("?")}));
    ASSERT_EQ(db.execute(q("select FileSize from Images order by ") + numericOrderTerm(q("FileSize"), true) + u';'), 0);
    EXPECT_EQ(column(0), (QStringList{q("1200"), q("900"), q("30"), q("-5"), q("?"), q("12a"), q("")}));
}

TEST(CatalogueDbOpen, emptyPathOrFolderGivesTheOpenFailureReport)
{
    TempFolder folder;
    for (const QString &path : {QString(), folder.path()}) {
        CatalogueDb db;
        db.path = path;
        RecordingFeedback feedback;
        EXPECT_FALSE(db.openOrReport(feedback));
        EXPECT_FALSE(db.isOpen());
        ASSERT_EQ(feedback.messages.size(), 1u);
        const QString prefix = q("Cannot open '") + path + q("'\n");
        EXPECT_TRUE(feedback.messages[0].text.startsWith(prefix)) << feedback.messages[0].text.toStdString();
        EXPECT_GT(feedback.messages[0].text.size(), prefix.size()); // the engine's text follows
    }
}

TEST(CatalogueDbOpen, createsTheFileAndReopensWithoutLosingRows)
{
    TempFolder folder;
    CatalogueDb db;
    db.path = folder.file("New.db");
    ASSERT_TRUE(db.open());
    db.execute(q("create table T(a); insert into T values('kept');"));
    ASSERT_TRUE(db.open()); // a second open replaces the connection
    ASSERT_EQ(db.execute(q("select a from T;")), 0);
    EXPECT_EQ(db.cell(0, 1), q("kept"));
    EXPECT_TRUE(CatalogueDb::engineVersion().startsWith(q("SQLite 3.")));
}

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void makeDatabase(const QString &path, const QStringList &statements)
{
    CatalogueDb db;
    db.path = path;
    ASSERT_TRUE(db.open());
    for (const QString &statement : statements)
        ASSERT_EQ(db.execute(statement), 0) << db.errorText().toStdString();
    db.close();
}

} // namespace

// Any file once opened as the catalogue, and the engine's raw words came at the first statement
// ("no such table: Folders", "Cannot cache_size = 100000 file is not a database").
TEST(CatalogueFileCheck, tellsACatalogueFromEveryOtherFileAndChangesNone)
{
    TempFolder folder;
    makeDatabase(folder.file(q("Images.db")), {q("create table Folders(Folder,Files,LastScan);"),
                                               q("create table Images(Folder,File);"), q("create table Templates(Name);")});
    makeDatabase(folder.file(q("Images.undo.db")), {q("create table Runs(Run integer primary key);"),
                                                    q("create table Files(Id integer primary key, Path text);")});
    makeDatabase(folder.file(q("onlyImages.db")), {q("create table Images(Folder,File);")});
    folder.write(q("empty.db"), QByteArray());
    folder.write(q("notes.db"), "These are my notes, not a database.\n");
    folder.write(q("photo.db"), QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(2000, 'x'));
    QDir().mkpath(folder.file(q("folder.db")));
    struct Case { const char *name; CatalogueFileKind kind; };
    const Case cases[] = {
        {"Images.db", CatalogueFileKind::Catalogue},         {"Images.undo.db", CatalogueFileKind::NotACatalogue},
        {"onlyImages.db", CatalogueFileKind::NotACatalogue}, {"empty.db", CatalogueFileKind::NotACatalogue},
        {"notes.db", CatalogueFileKind::NotADatabase},       {"photo.db", CatalogueFileKind::NotADatabase},
        {"missing.db", CatalogueFileKind::Missing},          {"folder.db", CatalogueFileKind::Missing},
    };
    for (const Case &c : cases) {
        const QString path = folder.file(QLatin1String(c.name));
        const QByteArray before = fileBytes(path);
        EXPECT_EQ(checkCatalogueFile(path).kind, c.kind) << c.name;
        EXPECT_EQ(fileBytes(path), before) << c.name;
    }
    EXPECT_EQ(checkCatalogueFile(QString()).kind, CatalogueFileKind::Missing);
    EXPECT_FALSE(QFileInfo::exists(folder.file(q("missing.db"))));
    EXPECT_FALSE(QFileInfo::exists(folder.file(q("empty.db-journal"))));
}

// A program killed in the middle of a write leaves the journal beside the file and the file half
// written; the check must still know the catalogue, and what is read after it is the file before
// the write.
TEST(CatalogueFileCheck, aCatalogueLeftWithAJournalByAKilledWriterIsPlayedBackAndKnown)
{
    TempFolder folder;
    const QString path = folder.file(q("Images.db"));
    makeDatabase(path, {q("create table Folders(Folder,Files,LastScan);"), q("create table Images(Folder,File);"),
                        q("with recursive n(i) as (select 1 union all select i+1 from n where i<3000) "
                          "insert into Images select '/photos', printf('%05d-%s.jpg', i, hex(randomblob(60))) from n;")});
    CatalogueDb writer;
    writer.path = path;
    ASSERT_TRUE(writer.open());
    // A small cache makes the engine write changed pages into the file before the commit.
    ASSERT_EQ(writer.execute(q("PRAGMA cache_size=10; begin; update Images set File='renamed';")), 0)
        << writer.errorText().toStdString();
    const QString killed = folder.file(q("Killed.db"));
    ASSERT_TRUE(QFile::copy(path, killed));
    ASSERT_TRUE(QFile::copy(path + q("-journal"), killed + q("-journal")));
    writer.close();

    EXPECT_EQ(checkCatalogueFile(killed).kind, CatalogueFileKind::Catalogue);
    CatalogueDb reader;
    reader.path = killed;
    ASSERT_TRUE(reader.openReadOnly());
    ASSERT_EQ(reader.execute(q("select count(*), sum(File='renamed') from Images;")), 0)
        << reader.errorText().toStdString();
    EXPECT_EQ(reader.cell(0, 1), q("3000"));
    EXPECT_EQ(reader.cell(1, 1), q("0"));
}

TEST(CatalogueFileCheck, theProblemReadsAsThePacksMessageAndThePath)
{
    LanguagePack pack;
    pack.setMessage(int(Message::NotACatalogue), q("Not a catalogue:"));
    pack.setMessage(int(Message::CatalogueNotFound), q("Not found:"));
    pack.setMessage(int(Message::CannotOpenCatalogue), q("Cannot open '#'"));
    EXPECT_EQ(catalogueFileProblem({CatalogueFileKind::NotADatabase, q("file is not a database")}, q("/a/x.db"), pack),
              q("Not a catalogue:\n/a/x.db"));
    EXPECT_EQ(catalogueFileProblem({CatalogueFileKind::NotACatalogue, {}}, q("/a/x.db"), pack), q("Not a catalogue:\n/a/x.db"));
    EXPECT_EQ(catalogueFileProblem({CatalogueFileKind::Missing, {}}, q("/a/x.db"), pack), q("Not found:\n/a/x.db"));
    EXPECT_EQ(catalogueFileProblem({CatalogueFileKind::Unreadable, q("disk I/O error")}, q("/a/x.db"), pack),
              q("Cannot open '/a/x.db'\ndisk I/O error"));
    EXPECT_TRUE(catalogueFileProblem({CatalogueFileKind::Catalogue, {}}, q("/a/x.db"), pack).isEmpty());
}

// The commands that read every row once would otherwise map the whole file, or fill the 100 000
// pages the start-up tuning stores in it, and grow with the catalogue.
TEST_F(CatalogueDbTest, readingThroughTheSmallCacheLastsUntilClosed)
{
    ASSERT_EQ(db.execute(q("PRAGMA default_cache_size = 100000;")), 0);
    db.close();
    ASSERT_TRUE(db.open());
    ASSERT_TRUE(db.readThroughSmallCache());
    ASSERT_EQ(db.execute(q("PRAGMA cache_size;")), 0);
    EXPECT_EQ(db.cell(0, 1), q("-2000"));
    ASSERT_TRUE(db.readThroughSmallCache(CatalogueDb::kRowsByNameKilobytes));
    ASSERT_EQ(db.execute(q("PRAGMA cache_size;")), 0);
    EXPECT_EQ(db.cell(0, 1), q("-16000"));
    // A later command on a new connection has the catalogue's own cache again, as a search wants.
    db.close();
    ASSERT_TRUE(db.open());
    ASSERT_EQ(db.execute(q("PRAGMA cache_size;")), 0);
    EXPECT_EQ(db.cell(0, 1), q("100000"));
}
