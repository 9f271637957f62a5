// A catalogue on a database server must answer as the catalogue file does: the same rows in the
// same order for every statement the search composes and for the table statements, over rows of
// awkward text. Both catalogues get the same rows; each statement runs on both.
#include "CatalogueFixture.h"

#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/ImagesTable.h"
#include "core/catalogue/SelectionsTable.h"
#include "core/catalogue/ServerWordIndexes.h"
#include "core/catalogue/TemplatesTable.h"
#include "core/catalogue/TranslationsTable.h"
#include "core/iptc/IptcField.h"
#include "core/search/SearchQueryBuilder.h"

#include "support/TestServerDatabase.h"

#include <random>

namespace zelvarion::test {
namespace {

// Accents, apostrophes, like and glob wildcards, a backslash, several scripts.
const QStringList kPieces = {
    u8("Paris"), u8("PARIS"), u8("paris"), u8("Église"), u8("église"), u8("ÉGLISE"), u8("Straße"),
    u8("STRASSE"), u8("ΣΟΦΙΑ"), u8("σοφία"), u8("Москва"), u8("МОСКВА"), u8("l'eau"), u8("L'EAU"),
    u8("O'Neill"), u8("100%"), u8("100x"), u8("a_b"), u8("axb"), u8("back\\slash"), u8("café"),
    u8("CAFÉ"), u8("été"), u8("sunset"), u8("*star?"), u8("[x]"), u8("lake"), u8("ÆRØ"), u8("ærø"), u8("")};

class RowMaker
{
public:
    QString pieces(int count)
    {
        QStringList chosen;
        for (int i = 0; i < count; ++i)
            chosen << kPieces.at(pick(int(kPieces.size())));
        return chosen.join(pick(3) == 0 ? u8(", ") : u8(" "));
    }
    int pick(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }

private:
    std::mt19937 m_random{20261211};
};

constexpr int kRows = 120;

QString messagesOf(const RecordingFeedback &feedback)
{
    QStringList texts;
    for (const RecordingFeedback::Message &message : feedback.messages)
        texts << message.text;
    return texts.join(u'\n');
}

class ServerCatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ZELVARION_REQUIRE_SERVER(server);
        file.path = folder.file("Images.db");
        onServer.path = server.address();
        RowMaker maker;
        QString statements;
        for (int n = 0; n < kRows; ++n) {
            // Few distinct folders and object names, so sorting on them leaves many ties.
            statements += insertImageStatement(
                {{"Folder", u8("/photos/") + maker.pieces(1) + u8("/")},
                 {"File", QStringLiteral("IMG_%1 %2.jpg").arg(n % 89).arg(maker.pieces(1))},
                 {"ObjectName", maker.pieces(maker.pick(2))},
                 {"Keywords", maker.pieces(maker.pick(4))},
                 {"City", maker.pieces(1)},
                 {"Caption", maker.pieces(maker.pick(6))},
                 {"Headline", maker.pieces(maker.pick(3))},
                 {"FileSize", maker.pick(6) ? QString::number(maker.pick(5) * 1000) : u8("?")},
                 {"Width", QString::number(maker.pick(3) * 640)},
                 {"LastRevisionDate", maker.pick(2) ? QString() : QStringLiteral("2026/0%1/01").arg(1 + maker.pick(3))},
                 {"LastRevisionTime", QStringLiteral("10:0%1:00").arg(maker.pick(3))},
                 {"CheckMark", maker.pick(4) ? QString() : u8("1")}});
        }
        for (CatalogueDb *db : {&file, &onServer}) {
            RecordingFeedback feedback;
            ASSERT_TRUE(createCatalogueSchema(*db, feedback, {}));
            EXPECT_EQ(messagesOf(feedback), QString());
            ASSERT_TRUE(db->open()) << db->errorText().toStdString();
            ASSERT_EQ(db->execute(statements), 0) << db->errorText().toStdString();
            db->close();
        }
    }

    static QStringList rowsOf(CatalogueDb &db, const QString &statement)
    {
        QStringList lines;
        EXPECT_EQ(db.forEachRow(statement, [&](const sqliteEngine::RowView &row) {
            QStringList line;
            for (int column = 0; column < row.columnCount(); ++column)
                line << row.text(column);
            lines << line.join(u'|');
            return sqliteEngine::RowAnswer::Next;
        }), 0) << db.errorText().toStdString() << "\n" << statement.left(400).toStdString();
        return lines;
    }

    // Every statement on both open catalogues.
    void expectSameRows(const QString &statement)
    {
        const QStringList expected = rowsOf(file, statement);
        EXPECT_EQ(rowsOf(onServer, statement), expected) << statement.left(400).toStdString();
    }
    void runOnBoth(const std::function<void(CatalogueDb &, Feedback &)> &work)
    {
        for (CatalogueDb *db : {&file, &onServer}) {
            RecordingFeedback feedback;
            ASSERT_TRUE(db->open());
            work(*db, feedback);
            EXPECT_EQ(messagesOf(feedback), QString());
            db->close();
        }
    }
    void openBoth()
    {
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(onServer.open()) << onServer.errorText().toStdString();
    }

    TestServerDatabase server;
    TempFolder folder;
    CatalogueDb file;
    CatalogueDb onServer;
};

QList<SearchRequest> requestsFor(const QString &text)
{
    QList<SearchRequest> requests;
    for (const SearchOperator op : {SearchOperator::ExactExpression, SearchOperator::And, SearchOperator::Or}) {
        for (const bool wholeWord : {false, true}) {
            if (wholeWord && op != SearchOperator::ExactExpression)
                continue;
            SearchRequest general;
            general.text = text;
            general.op = op;
            general.wholeWord = wholeWord;
            general.targets.folderNames = true;
            general.targets.fileNames = true;
            requests << general;
            SearchRequest chosen = general; // chosen IPTC columns, no paths
            chosen.targets = {false, false, false, true, true, false, true, false, false, false};
            requests << chosen;
            SearchRequest translated = general;
            translated.useTranslation = true;
            translated.translation = u8("Stra\u00DFe");
            requests << translated;
            for (const int field : {kCaptionIndex, kCityIndex, kKeywordsIndex}) {
                SearchRequest inField = general;
                inField.fieldSearch = true;
                inField.fieldIndex = field;
                requests << inField;
            }
        }
    }
    return requests;
}

TEST_F(ServerCatalogueTest, everySearchModeGivesTheRowsOfTheCatalogueFile)
{
    const QStringList texts = {
        u8("PARIS"), u8("église"), u8("EGLISE"), u8("straße"), u8("σοφια"), u8("ΣΟΦΊΑ"), u8("москва"), u8("Ærø"),
        u8("l'eau"), u8("100%"), u8("a_b"), u8("%"), u8("_"), u8("ab"), u8("eau paris"), u8("paris  lake"),
        u8("back\\slash"), u8("*star?"), u8("[x]"), u8("photos/"), u8("IMG_4 "), u8("é")};
    openBoth();
    // Rows found through the word indexes, as on a large catalogue: this small one would be read
    // whole. (The cost that keeps the whole read out of the plan would also start the compiler
    // of the statements that cannot do without it.)
    ASSERT_EQ(onServer.execute(QStringLiteral("set enable_seqscan = off; set jit = off;")), 0)
        << onServer.errorText().toStdString();
    for (const QString &text : texts) {
        for (const SearchRequest &request : requestsFor(text))
            expectSameRows(buildSearchStatement(request));
    }
    SearchRequest presence;
    for (const auto &[with, without] : {std::pair{true, false}, {false, true}, {true, true}}) {
        presence.withIptc = with;
        presence.withoutIptc = without;
        expectSameRows(buildSearchStatement(presence));
    }
    SearchRequest marked;
    marked.showCheckedOnly = true;
    expectSameRows(buildSearchStatement(marked));
}

// The server's plan for a statement, one line per step.
QString planOf(CatalogueDb &db, const QString &statement)
{
    QStringList lines;
    EXPECT_EQ(db.forEachRow(QStringLiteral("explain ") + statement, [&](const sqliteEngine::RowView &row) {
        lines << row.text(0);
        return sqliteEngine::RowAnswer::Next;
    }), 0) << db.errorText().toStdString();
    return lines.join(u'\n');
}

TEST_F(ServerCatalogueTest, wordSearchesReadOnlyTheRowsTheWordIndexesOffer)
{
    ASSERT_TRUE(onServer.open()) << onServer.errorText().toStdString();
    // A table this small is cheaper to read whole: make the plan show whether the indexes can
    // serve the statement at all.
    ASSERT_EQ(onServer.execute(QStringLiteral("set enable_seqscan = off;")), 0) << onServer.errorText().toStdString();
    const QString wholeTable = QStringLiteral("Seq Scan on \"Images\"");
    SearchRequest general;
    general.text = u8("Église");
    const QString plan = planOf(onServer, buildSearchStatement(general));
    EXPECT_FALSE(plan.contains(wholeTable)) << plan.toStdString();
    for (const QString &column : serverWordIndexes::indexedColumns())
        EXPECT_TRUE(plan.contains(QStringLiteral("on \"IndexWords%1\"").arg(column))) << column.toStdString() << "\n"
                                                                                   << plan.toStdString();
    // Words with like's wildcards and an apostrophe, two words, chosen columns, one field.
    QList<SearchRequest> others;
    for (const QString &text : {u8("100%"), u8("a_b"), u8("l'eau"), u8("back\\slash")}) {
        general.text = text;
        others << general;
    }
    general.text = u8("paris lake");
    general.op = SearchOperator::And;
    others << general;
    general.op = SearchOperator::Or;
    others << general;
    SearchRequest chosen = general;
    chosen.targets = {false, false, false, true, true, false, true, false, false, false};
    others << chosen;
    SearchRequest inField;
    inField.text = u8("σοφία");
    inField.fieldSearch = true;
    inField.fieldIndex = kCaptionIndex;
    others << inField;
    for (const SearchRequest &request : others) {
        const QString statement = buildSearchStatement(request);
        const QString plan = planOf(onServer, statement);
        EXPECT_FALSE(plan.contains(wholeTable)) << statement.left(300).toStdString() << "\n" << plan.toStdString();
        EXPECT_TRUE(plan.contains(QStringLiteral("IndexWords"))) << plan.toStdString();
    }
}

TEST_F(ServerCatalogueTest, aCatalogueWithoutWordIndexesGetsThemWhenItOpens)
{
    ASSERT_TRUE(onServer.open()) << onServer.errorText().toStdString();
    // As a catalogue made before the indexes existed: no extension, no index.
    ASSERT_EQ(onServer.execute(QStringLiteral("drop extension pg_trgm cascade;")), 0) << onServer.errorText().toStdString();
    const QString count = QStringLiteral("select count(*) from pg_indexes where indexname like 'IndexWords%';");
    ASSERT_EQ(onServer.execute(count), 0);
    ASSERT_EQ(onServer.cell(0, 1), u8("0"));
    onServer.close();
    // A read-only open changes nothing; the next open that may write makes them all.
    ASSERT_TRUE(onServer.openReadOnly());
    ASSERT_EQ(onServer.execute(count), 0);
    EXPECT_EQ(onServer.cell(0, 1), u8("0"));
    onServer.close();
    ASSERT_TRUE(onServer.open()) << onServer.errorText().toStdString();
    ASSERT_EQ(onServer.execute(count), 0);
    EXPECT_EQ(onServer.cell(0, 1), QString::number(serverWordIndexes::indexedColumns().size()));
    EXPECT_EQ(serverWordIndexes::indexedColumns().size(), 37);
}

TEST_F(ServerCatalogueTest, everySortAndRevisedFilterOrdersAsTheCatalogueFile)
{
    openBoth();
    SearchRequest request;
    request.text = u8("paris lake");
    request.op = SearchOperator::Or;
    for (int sort = 0; sort <= 40; ++sort) {
        for (const bool ascending : {true, false}) {
            request.sortIndex = sort;
            request.sortAscending = ascending;
            expectSameRows(buildSearchStatement(request));
        }
    }
    for (const RevisedFilter revised : {RevisedFilter::NeverRevised, RevisedFilter::AlreadyRevised}) {
        for (const bool ascending : {true, false}) {
            request.sortIndex = 5; // Folder
            request.revised = revised;
            request.revisionAscending = ascending;
            expectSameRows(buildSearchStatement(request));
        }
    }
}

TEST_F(ServerCatalogueTest, tableStatementsChangeBothCataloguesAlike)
{
    const QString photos = u8("/photos/été/");
    runOnBoth([&](CatalogueDb &db, Feedback &feedback) {
        registerFolder(db, feedback, photos);
        setFolderFileCount(db, feedback, photos, QStringLiteral("12"));
        db.execute(insertImageStatement({{"Folder", photos}, {"File", u8("Ærø 1.jpg")}, {"Caption", u8("l'été")}}));
        db.execute(insertImageStatement({{"Folder", photos}, {"File", u8("b.jpg")}}));
        imagesTable::setImageCheckMark(db, feedback, photos, u8("b.jpg"), u8("2026-12-11"));
        imagesTable::renameImage(db, feedback, photos, u8("Ærø 1.jpg"), u8("ærø 2.jpg"));
        selectionsTable::addImage(db, feedback, u8("Sélection"), photos, u8("b.jpg"), u8("1"));
        selectionsTable::rename(db, feedback, u8("Sélection"), u8("Été"));
        translationsTable::addPair(db, feedback, u8("Église"), u8("church"));
        templatesTable::add(db, feedback, u8("Modèle_1"), u8("2026/12/11"));
        templatesTable::add(db, feedback, u8("ModèleX1"), u8("2026/12/11"));
        templatesTable::markInUse(db, feedback, u8("Modèle_1"), true);
        // The scan's replacement of a folder's rows: everything up to the last row before it.
        db.execute(imagesTable::lastRowStatement());
        const QString lastOld = db.cell(0, 1);
        db.execute(insertImageStatement({{"Folder", photos}, {"File", u8("b.jpg")}, {"Caption", u8("new")}}));
        db.execute(imagesTable::removeOldRowsStatement(photos, lastOld, true));
        QString refusal;
        EXPECT_TRUE(imagesTable::acceptsWrites(db, refusal)) << refusal.toStdString();
    });
    // A template's name is matched without regard to case, and "_" only as itself.
    std::vector<QString> namedThenInUse;
    runOnBoth([&](CatalogueDb &db, Feedback &feedback) {
        const std::optional<TemplateRecord> named = templatesTable::named(db, feedback, u8("modèle_1"));
        std::optional<TemplateRecord> inUse;
        templatesTable::inUse(db, feedback, inUse);
        namedThenInUse.push_back((named ? named->name : QString()) + u'|' + (inUse ? inUse->name : QString()));
    });
    ASSERT_EQ(namedThenInUse.size(), 2u);
    EXPECT_EQ(namedThenInUse[0], u8("Modèle_1|Modèle_1"));
    EXPECT_EQ(namedThenInUse[1], namedThenInUse[0]);
    openBoth();
    for (const QString &statement : {
             QStringLiteral("select * from Images order by Folder, File, Caption;"),
             QStringLiteral("select * from Folders order by Folder;"),
             QStringLiteral("select * from Selections;"),
             QStringLiteral("select * from Templates order by Name;"),
             imagesTable::selectImageStatement(photos, u8("ærø 2.jpg")),
             imagesTable::userStateStatement(photos),
             imagesTable::countUnderFolderStatement(QStringLiteral("/photos/")),
             translationsTable::secondWordsLikeStatement(sqlText(u8("église"))),
             translationsTable::firstWordsEqualStatement(u8("church")),
         })
        expectSameRows(statement);
    // Looked up by path, only the order of the rows of one path counts.
    const QString byPath = imagesTable::selectImagesStatement({QStringLiteral("Caption")},
                                                              {{photos, u8("ærø 2.jpg")}, {photos, u8("b.jpg")}});
    QStringList expected = rowsOf(file, byPath);
    QStringList found = rowsOf(onServer, byPath);
    expected.sort();
    found.sort();
    EXPECT_EQ(found, expected);
    EXPECT_EQ(found.size(), 2);
}

TEST_F(ServerCatalogueTest, aServerDatabaseIsACatalogueOnceItHoldsTheTables)
{
    TestServerDatabase empty;
    ASSERT_FALSE(empty.address().isEmpty()) << empty.problem().toStdString();
    EXPECT_EQ(checkCatalogueFile(empty.address()).kind, CatalogueFileKind::Missing);
    EXPECT_TRUE(checkCatalogueFile(onServer.path).isCatalogue());
    // Its columns are named as in the file, and its own rowid is not one of them.
    openBoth();
    ASSERT_EQ(onServer.execute(QStringLiteral("select * from Images where 0;")), 0) << onServer.errorText().toStdString();
    ASSERT_EQ(file.execute(QStringLiteral("select * from Images where 0;")), 0);
    ASSERT_EQ(onServer.columnCount(), file.columnCount());
    for (int c = 0; c < file.columnCount(); ++c)
        EXPECT_EQ(onServer.cell(c, 0), file.cell(c, 0));
    // A read-only connection refuses writes, as the file's does.
    onServer.close();
    ASSERT_TRUE(onServer.openReadOnly());
    QString refusal;
    EXPECT_FALSE(imagesTable::acceptsWrites(onServer, refusal));
    EXPECT_FALSE(refusal.isEmpty());
}

} // namespace
} // namespace zelvarion::test
