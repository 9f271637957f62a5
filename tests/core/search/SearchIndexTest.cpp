// The substring index must never change a search's answer: over a catalogue of awkward texts,
// every search mode lists exactly the rows of the full statement, in the same order, whether the
// index is up to date, behind other programs' changes, or half built.
#include "CatalogueFixture.h"

#include "core/iptc/IptcField.h"
#include "core/search/SearchIndex.h"
#include "core/search/SearchIndexMatch.h"
#include "core/search/SearchQueryBuilder.h"

#include <random>

namespace zelvarion::test {
namespace {

// Accents, apostrophes, like wildcards, a backslash and characters whose case folding is
// unusual: the Kelvin sign folds to k, long s to s, capital sharp s to sharp s, final sigma to
// sigma, dotted capital I lowers to two characters.
const QStringList kPieces = {
    u8("Paris"), u8("PARIS"), u8("paris"), u8("Église"), u8("église"), u8("ÉGLISE"), u8("Straße"),
    u8("STRASSE"), u8("\u1E9Ee"), u8("\u212Aelvin"), u8("kelvin"), u8("\u017Fun"), u8("sun"),
    u8("\u0130stanbul"), u8("istanbul"), u8("ΣΟΦΙΑ"), u8("σοφίας"), u8("l'eau"), u8("L'EAU"),
    u8("O'Neill"), u8("100%"), u8("100x"), u8("a_b"), u8("axb"), u8("back\\slash"), u8("café"),
    u8("CAFÉ"), u8("été"), u8("sunset"), u8("*star?"), u8("[x]"), u8("lake"), u8("")};

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
    std::mt19937 m_random{20261210};
};

constexpr int kRows = 160;

class SearchIndexTest : public CatalogueFixture
{
protected:
    void SetUp() override
    {
        CatalogueFixture::SetUp();
        RowMaker maker;
        QString statements;
        for (int n = 0; n < kRows; ++n) {
            // Few distinct folders and object names, so sorting on them leaves many ties.
            statements += insertImageStatement(
                {{"Folder", u8("/photos/") + maker.pieces(1) + u8("/")},
                 {"File", QStringLiteral("IMG_%1 %2.jpg").arg(n % 97).arg(maker.pieces(1))},
                 {"ObjectName", maker.pieces(maker.pick(2))},
                 {"Keywords", maker.pieces(maker.pick(4))},
                 {"City", maker.pieces(1)},
                 {"Caption", maker.pieces(maker.pick(6))},
                 {"Headline", maker.pieces(maker.pick(3))},
                 {"FileSize", QString::number(maker.pick(5) * 1000)},
                 {"LastRevisionDate", maker.pick(2) ? QString() : QStringLiteral("2026/0%1/01").arg(1 + maker.pick(3))},
                 {"LastRevisionTime", QStringLiteral("10:0%1:00").arg(maker.pick(3))},
                 {"CheckMark", maker.pick(4) ? QString() : u8("1")}});
        }
        // Bytes that are not UTF-8, as another program might store them.
        statements += QStringLiteral("update Images set Caption = cast(x'50415249539a' as text) where rowid = 7;");
        run(statements);
    }

    void buildIndex(const searchIndex::Progress &progress = {})
    {
        ASSERT_TRUE(db.open());
        EXPECT_EQ(searchIndex::build(db, progress), progress ? searchIndex::CatchUp::Stopped : searchIndex::CatchUp::Done)
            << db.errorText().toStdString();
        db.close();
    }

    // Compares the two statements' rows on the open catalogue; true when the index served the request.
    bool sameRows(const SearchRequest &request)
    {
        const QString full = buildSearchStatement(request);
        const std::optional<QString> indexed = searchIndex::indexedStatement(db, request, full);
        if (!indexed)
            return false;
        // The rowid too, so that rows alike in every column still show their order.
        const auto rowsOf = [&](QString statement) {
            statement.insert(7, QStringLiteral("rowid,"));
            QStringList lines;
            EXPECT_EQ(db.forEachRow(statement, [&](const sqliteEngine::RowView &row) {
                QStringList line;
                for (int column = 0; column < row.columnCount(); ++column)
                    line << row.text(column);
                lines << line.join(u'|');
                return sqliteEngine::RowAnswer::Next;
            }), 0) << db.errorText().toStdString();
            return lines;
        };
        EXPECT_EQ(rowsOf(*indexed), rowsOf(full)) << full.left(300).toStdString() << "\n" << indexed->left(300).toStdString();
        return true;
    }
    bool sameRowsOnce(const SearchRequest &request)
    {
        EXPECT_TRUE(db.open());
        const bool served = sameRows(request);
        db.close();
        return served;
    }

    static QList<SearchRequest> requestsFor(const QString &text)
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
};

const QStringList kSearchTexts = {
    u8("PARIS"), u8("église"), u8("EGLISE"), u8("straße"), u8("kelvin"), u8("\u017Fun"), u8("istanbul"),
    u8("\u0130stanbul"), u8("σοφια"), u8("ς"), u8("l'eau"), u8("100%"), u8("a_b"), u8("%"), u8("ab"),
    u8("eau paris"), u8("paris  lake"), u8("back\\slash"), u8("*star?"), u8("[x]"), u8("photos/"), u8("IMG_4 ")};

TEST_F(SearchIndexTest, everySearchModeListsTheRowsOfTheFullStatementInItsOrder)
{
    buildIndex();
    ASSERT_TRUE(db.open());
    int served = 0;
    int requests = 0;
    for (const QString &text : kSearchTexts) {
        for (const SearchRequest &request : requestsFor(text)) {
            ++requests;
            served += sameRows(request) ? 1 : 0;
        }
    }
    // Words of fewer than three characters among alternatives are left to the full statement.
    EXPECT_GT(served, requests * 3 / 4);
}

TEST_F(SearchIndexTest, everySortAndRevisedFilterKeepsTheFullStatementsOrder)
{
    buildIndex();
    ASSERT_TRUE(db.open());
    for (const QString &text : {u8("paris"), u8("sun lake")}) {
        SearchRequest request;
        request.text = text;
        request.op = SearchOperator::Or;
        for (int sort = 0; sort <= 40; ++sort) {
            for (const bool ascending : {true, false}) {
                request.sortIndex = sort;
                request.sortAscending = ascending;
                EXPECT_TRUE(sameRows(request)) << "sort " << sort;
            }
        }
        for (const RevisedFilter revised : {RevisedFilter::NeverRevised, RevisedFilter::AlreadyRevised}) {
            for (const bool ascending : {true, false}) {
                request.sortIndex = 5; // Folder, which the full statement reads through an index
                request.revised = revised;
                request.revisionAscending = ascending;
                EXPECT_TRUE(sameRows(request));
            }
        }
    }
}

TEST_F(SearchIndexTest, changesByAnyProgramAreSearchedBeforeAndAfterTheyAreIndexed)
{
    buildIndex();
    // Plain SQL, as another program or the SQL console writes: the triggers queue the rows.
    run(QStringLiteral("update Images set Caption = 'Zanzibar harbour' where rowid % 5 = 0;"
                       "update Images set CheckMark = '1' where rowid % 3 = 0;"
                       "delete from Images where rowid % 7 = 0;"
                       "insert into Images(Folder, File, Caption) values('/new/', 'zanzibar.jpg', '');"
                       "update Images set File = 'ZANZIBAR_' || File where rowid % 11 = 0;"));
    ASSERT_TRUE(db.open());
    const long long queued = searchIndex::status(db).pending;
    db.close();
    EXPECT_GT(queued, 0);
    SearchRequest request;
    request.text = u8("zanzibar");
    EXPECT_TRUE(sameRowsOnce(request));
    ASSERT_TRUE(db.open());
    EXPECT_EQ(searchIndex::catchUp(db), searchIndex::CatchUp::Done);
    EXPECT_EQ(searchIndex::status(db).pending, 0);
    db.close();
    EXPECT_TRUE(sameRowsOnce(request));
    const auto multiples = [](int of) { return kRows / of; };
    // Captions set on every fifth row and file names on every eleventh, less the deleted sevenths, and the new row.
    EXPECT_EQ(rows(buildSearchStatement(request)).size(),
              multiples(5) + multiples(11) - multiples(55) - (multiples(35) + multiples(77) - multiples(385)) + 1);
}

TEST_F(SearchIndexTest, aStoppedBuildLeavesTheRestQueuedAndSearchesStillAgree)
{
    buildIndex([](long long, long long) { return false; }); // stop after the first batch
    run(QStringLiteral("insert into Images(Folder, File) select Folder, File || 'x' from Images;"));
    ASSERT_TRUE(db.open());
    const searchIndex::Status state = searchIndex::status(db);
    db.close();
    EXPECT_TRUE(state.exists);
    EXPECT_EQ(state.pending, kRows); // the copies; the originals fit in the first batch
    SearchRequest request;
    request.text = u8("paris");
    EXPECT_TRUE(sameRowsOnce(request));
}

TEST(SearchIndexMatch, narrowsOnlyWhatEveryMatchingRowMustHold)
{
    SearchRequest request;
    request.text = u8("Paris");
    EXPECT_EQ(searchIndexMatch(request), u8("(\"par\" AND \"ari\" AND \"ris\")"));
    request.text = u8("ab paris");
    request.op = SearchOperator::And;
    EXPECT_EQ(searchIndexMatch(request), u8("(\"par\" AND \"ari\" AND \"ris\")")); // "ab" narrows nothing
    request.op = SearchOperator::Or;
    EXPECT_EQ(searchIndexMatch(request), std::nullopt); // but "ab" alone may match any row
    request.text = u8("\"a\"b");
    request.op = SearchOperator::ExactExpression;
    EXPECT_EQ(searchIndexMatch(request), u8("(\"\"\"a\"\"\" AND \"a\"\"b\")"));
    request.text = u8("\u0130stanbul"); // lowers to two characters
    EXPECT_EQ(searchIndexMatch(request), std::nullopt);
    request.text = u8("paris");
    request.withIptc = true;
    EXPECT_EQ(searchIndexMatch(request), std::nullopt);
}

} // namespace
} // namespace zelvarion::test
