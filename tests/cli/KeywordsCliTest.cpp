// zelvarion-cli keywords run as a user would: the catalogue's entries with their counts, most used
// first, a prefix whatever its case, JSON, and grep's exit when nothing is listed.
#include "CliRunner.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/search/ImageRows.h"
#include "core/session/LanguagePack.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

class KeywordsCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.path = folder.file("Images.db");
        RecordingFeedback feedback;
        ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
        add(u8("a.jpg"), u8("Été; sea; tab\there"), u8("Travel"));
        add(u8("b.jpg"), u8("été; Église; sea"), u8("travel; Food"));
        add(u8("c.jpg"), u8("sea; eagle"));
        ASSERT_TRUE(language.load(QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language"), QStringLiteral("English")));
    }
    void add(const QString &file, const QString &keywords, const QString &categories = {})
    {
        ASSERT_TRUE(db.open());
        EXPECT_EQ(db.execute(insertImageStatement({{"Folder", u8("/p/")}, {"File", file}, {"Keywords", keywords},
                                                   {"SupplementalCategory", categories}})),
                  0);
        db.close();
    }
    CliRun keywords(QStringList arguments)
    {
        return runCli(QStringList{QStringLiteral("--program-folder"), folder.path(), QStringLiteral("keywords")} + arguments);
    }

    TempFolder folder;
    CatalogueDb db;
    LanguagePack language;
};

} // namespace

TEST_F(KeywordsCliTest, listsEveryEntryWithItsCountMostUsedFirst)
{
    const CliRun run = keywords({});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u8("3\tsea\n2\tÉté\n1\teagle\n1\ttab\\there\n1\tÉglise\n"));

    const CliRun categories = keywords({QStringLiteral("--categories")});
    EXPECT_EQ(categories.exitCode, 0) << categories.err.toStdString();
    EXPECT_EQ(categories.out, u8("2\tTravel\n1\tFood\n"));
}

TEST_F(KeywordsCliTest, aPrefixKeepsTheEntriesBeginningWithItWhateverItsCase)
{
    const CliRun run = keywords({u8("É")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u8("2\tÉté\n1\tÉglise\n"));
    EXPECT_EQ(keywords({u8("éG")}).out, u8("1\tÉglise\n"));
    EXPECT_EQ(keywords({u8("E")}).out, u8("1\teagle\n")); // letters keep their accents
}

TEST_F(KeywordsCliTest, printsJsonOfEntriesAndCounts)
{
    const CliRun run = keywords({QStringLiteral("--json"), u8("s")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray array = QJsonDocument::fromJson(run.out.toUtf8()).array();
    ASSERT_EQ(array.size(), 1);
    EXPECT_EQ(array[0].toObject().value(QStringLiteral("entry")).toString(), u8("sea"));
    EXPECT_EQ(array[0].toObject().value(QStringLiteral("count")).toInt(), 3);
    const QJsonArray all = QJsonDocument::fromJson(keywords({QStringLiteral("--json")}).out.toUtf8()).array();
    ASSERT_EQ(all.size(), 5);
    EXPECT_EQ(all[4].toObject().value(QStringLiteral("entry")).toString(), u8("Église"));
}

TEST_F(KeywordsCliTest, followsTheCatalogueAsItChanges)
{
    EXPECT_EQ(keywords({u8("s")}).out, u8("3\tsea\n"));
    ASSERT_TRUE(db.open());
    ASSERT_EQ(db.execute(u8("delete from Images where File = 'c.jpg';")), 0);
    ASSERT_EQ(db.execute(u8("update Images set Keywords = 'Sea; sun' where File = 'b.jpg';")), 0);
    db.close();
    // sea and Sea are one entry, written as the first in code order when as many images write each
    EXPECT_EQ(keywords({u8("s")}).out, u8("2\tSea\n1\tsun\n"));
}

TEST_F(KeywordsCliTest, nothingListedExitsOneAsSearchDoes)
{
    const CliRun none = keywords({u8("zebra")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains(language.message(Message::CliNoEntryBegins).replace(u'#', u8("zebra"))))
        << none.err.toStdString();

    const CliRun json = keywords({QStringLiteral("--json"), u8("zebra")});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_TRUE(QJsonDocument::fromJson(json.out.toUtf8()).array().isEmpty());

    ASSERT_TRUE(db.open());
    ASSERT_EQ(db.execute(u8("update Images set Keywords = '';")), 0);
    db.close();
    const CliRun empty = keywords({});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_TRUE(empty.err.contains(language.message(Message::CliVocabularyEmpty))) << empty.err.toStdString();
}

TEST_F(KeywordsCliTest, refusesMoreThanOnePrefix)
{
    const CliRun run = keywords({u8("a"), u8("b")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
}
