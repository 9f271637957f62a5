// Searches run against a real catalogue: what the engine finds for the statements the builder
// writes, and what the search leaves for the window.
#include "core/search/RunSearch.h"

#include "ImageRows.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/session/LanguagePack.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::ColumnValues;
using zelvarion::test::insertImageStatement;
using zelvarion::test::RecordingFeedback;
using zelvarion::test::TempFolder;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

constexpr int kCity = 20;    // field catalogue index of City
constexpr int kCaption = 30; // and of Caption

class RunSearchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.path = folder.file("Images.db");
        ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
        ASSERT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'|').toStdString();
    }

    void add(ColumnValues values)
    {
        if (!db.isOpen()) {
            ASSERT_TRUE(db.open());
        }
        ASSERT_EQ(db.execute(insertImageStatement(values)), 0) << db.errorText().toStdString();
    }
    void addFile(const char *file, ColumnValues values = {})
    {
        add({{"Folder", u8("/photos/")}, {"File", u8(file)}});
        if (values.size() == 0)
            return;
        QStringList sets;
        for (const auto &[column, value] : values)
            sets << QLatin1String(column) + u'=' + sqlText(value);
        ASSERT_EQ(db.execute(u8("update Images set ") + sets.join(u',') + u8(" where File=") + sqlText(u8(file)) + u';'), 0)
            << db.errorText().toStdString();
    }

    SearchOutcome search(const SearchRequest &request)
    {
        db.close();
        return runSearch(request, state, environment);
    }

    // The files found, in the order of the result.
    QStringList files() const
    {
        QStringList names;
        for (const ResultRow &row : state.results.rows())
            names << row.file;
        return names;
    }

    QStringList found(const SearchRequest &request)
    {
        search(request);
        return files();
    }

    TempFolder folder;
    CatalogueDb db;
    RecordingFeedback feedback;
    SearchState state;
    SearchEnvironment environment{db, feedback, {u8("NOTHING"), u8("NO FIELD")}};
};

SearchRequest general(const char *text)
{
    SearchRequest request;
    request.text = QString::fromUtf8(text);
    return request;
}

SearchRequest wholeWord(const char *text)
{
    SearchRequest request = general(text);
    request.wholeWord = true;
    return request;
}

SearchRequest field(int index, const char *text)
{
    SearchRequest request = general(text);
    request.fieldSearch = true;
    request.fieldIndex = index;
    return request;
}

} // namespace

TEST_F(RunSearchTest, wholeWordFindsTheWordAloneAndBetweenSeparatorsButNotInsideAWord)
{
    addFile("alone.jpg", {{"City", u8("Paris")}});
    addFile("comma.jpg", {{"City", u8("Paris, France")}});
    addFile("street.jpg", {{"City", u8("Rue de Paris")}});
    addFile("stop.jpg", {{"Caption", u8("We went to Paris.")}});
    addFile("inside.jpg", {{"City", u8("Parisian")}});
    addFile("upper.jpg", {{"Caption", u8("PARIS by night")}});

    EXPECT_EQ(found(wholeWord("paris")),
              QStringList({"alone.jpg", "comma.jpg", "street.jpg", "stop.jpg", "upper.jpg"}));
    EXPECT_EQ(found(field(kCity, "paris")), QStringList({"alone.jpg", "comma.jpg", "street.jpg", "inside.jpg"}));
    SearchRequest cityWord = field(kCity, "Paris");
    cityWord.wholeWord = true;
    EXPECT_EQ(found(cityWord), QStringList({"alone.jpg", "comma.jpg", "street.jpg"}));
}

TEST_F(RunSearchTest, accentedCapitalsAreFoundByEveryKindOfSearch)
{
    addFile("summer.jpg", {{"Caption", u8("Été à la mer")}});
    addFile("winter.jpg", {{"Caption", u8("Hiver")}});
    addFile("russian.jpg", {{"Keywords", u8("МОРЕ; mer")}});

    EXPECT_EQ(found(general("été")), QStringList({"summer.jpg"}));
    EXPECT_EQ(found(wholeWord("été")), QStringList({"summer.jpg"}));
    EXPECT_EQ(found(field(kCaption, "ÉTÉ")), QStringList({"summer.jpg"}));
    EXPECT_EQ(found(wholeWord("море")), QStringList({"russian.jpg"}));
    EXPECT_EQ(found(general("ete")), QStringList()); // case is folded, accents are not
}

TEST_F(RunSearchTest, wildcardsTypedByTheUserMatchThemselves)
{
    addFile("1000.jpg");
    addFile("100%.jpg");
    addFile("percent.jpg", {{"Caption", u8("50% off")}});
    addFile("plain.jpg", {{"Caption", u8("500 offers")}});
    addFile("under.jpg", {{"Caption", u8("file_name")}});
    addFile("dash.jpg", {{"Caption", u8("file-name")}});
    addFile("star.jpg", {{"City", u8("Rue * [Paris]")}});
    addFile("stars.jpg", {{"City", u8("Rue of Paris")}});
    addFile("slash.jpg", {{"Caption", u8("a\\b")}});

    EXPECT_EQ(found(general("100%")), QStringList({"100%.jpg"}));
    EXPECT_EQ(found(general("%")), QStringList({"100%.jpg", "percent.jpg"}));
    EXPECT_EQ(found(general("50% off")), QStringList({"percent.jpg"}));
    EXPECT_EQ(found(general("file_name")), QStringList({"under.jpg"}));
    EXPECT_EQ(found(general("e_n")), QStringList({"under.jpg"}));
    EXPECT_EQ(found(general("a\\b")), QStringList({"slash.jpg"}));
    EXPECT_EQ(found(field(kCaption, "_")), QStringList({"under.jpg"}));

    SearchRequest words = general("x %"); // the words in the IPTC columns only
    words.op = SearchOperator::Or;
    EXPECT_EQ(found(words), QStringList({"percent.jpg"}));

    EXPECT_EQ(found(wholeWord("*")), QStringList({"star.jpg"}));
    EXPECT_EQ(found(wholeWord("[paris]")), QStringList({"star.jpg"}));
    EXPECT_EQ(found(wholeWord("p?ris")), QStringList());
    SearchRequest cityWord = field(kCity, "?");
    cityWord.wholeWord = true;
    EXPECT_EQ(found(cityWord), QStringList());
}

TEST_F(RunSearchTest, apostrophesReachTheStatementDoubledAndAreKeptAsTyped)
{
    add({{"Folder", u8("/d'Artagnan/")}, {"File", u8("o'neil.jpg")}, {"Caption", u8("L'Eau vive")}});
    addFile("dry.jpg", {{"Caption", u8("sec")}});

    const SearchOutcome outcome = search(general("l'eau"));
    EXPECT_EQ(files(), QStringList({"o'neil.jpg"}));
    EXPECT_TRUE(outcome.statement.contains(u8("(Caption like '%l''eau%')")));
    EXPECT_EQ(state.lastSearchText, u8("l'eau"));
    EXPECT_EQ(state.lastSearchWords, QStringList({"l''eau"}));
    EXPECT_EQ(state.history, QStringList({"l'eau"}));
    EXPECT_TRUE(outcome.historyChanged);

    EXPECT_EQ(found(wholeWord("d'artagnan")), QStringList({"o'neil.jpg"})); // a folder word between "/"

    SearchRequest single;
    single.singleImage = SingleImage{u8("/d'Artagnan/"), u8("o'neil.jpg")};
    EXPECT_EQ(found(single), QStringList({"o'neil.jpg"}));
    EXPECT_EQ(state.results.row(1).folder, u8("/d'Artagnan/"));
}

TEST_F(RunSearchTest, andNeedsEveryWordOrFromAnyColumnOnlyWithAllFields)
{
    addFile("both.jpg", {{"Caption", u8("a red door")}, {"Keywords", u8("car")}});
    addFile("red.jpg", {{"Caption", u8("red")}});
    addFile("same.jpg", {{"Caption", u8("red car")}});

    SearchRequest request = general("red car");
    request.op = SearchOperator::And;
    EXPECT_EQ(found(request), QStringList({"both.jpg", "same.jpg"}));

    request.targets.allIptc = false;
    request.targets.keywords = true;
    request.targets.caption = true;
    EXPECT_EQ(found(request), QStringList({"same.jpg"}));

    request.targets = {};
    request.op = SearchOperator::Or;
    EXPECT_EQ(found(request), QStringList({"both.jpg", "red.jpg", "same.jpg"}));
}

TEST_F(RunSearchTest, presenceBoxesAndCheckedOnlyIgnoreTheText)
{
    addFile("bare.jpg");
    addFile("titled.jpg", {{"ObjectName", u8("x")}, {"CheckMark", u8("2024/01/02")}});
    addFile("custom.jpg", {{"Customized", u8("2:200 y")}});

    SearchRequest request;
    request.withIptc = true;
    EXPECT_EQ(found(request), QStringList({"titled.jpg", "custom.jpg"}));
    request.withIptc = false;
    request.withoutIptc = true;
    EXPECT_EQ(found(request), QStringList({"bare.jpg"}));
    request.withIptc = true;
    request.text = u8("nothing like this");
    EXPECT_EQ(found(request), QStringList({"bare.jpg", "titled.jpg", "custom.jpg"}));

    EXPECT_EQ(state.history, QStringList({"nothing like this"}));

    SearchRequest checked;
    checked.showCheckedOnly = true;
    EXPECT_FALSE(search(checked).historyChanged); // no text, no history entry
    EXPECT_EQ(files(), QStringList({"titled.jpg"}));
    EXPECT_EQ(state.results.row(1).checkMark, u8("2024/01/02"));
    EXPECT_EQ(state.history, QStringList({"nothing like this"}));
}

TEST_F(RunSearchTest, revisedFiltersRestrictAndOrderByRevisionDateThenTime)
{
    addFile("never.jpg", {{"City", u8("Lyon")}});
    addFile("late.jpg", {{"City", u8("Lyon")}, {"LastRevisionDate", u8("2024/05/01")}, {"LastRevisionTime", u8("10:00:00")}});
    addFile("early.jpg", {{"City", u8("Lyon")}, {"LastRevisionDate", u8("2024/05/01")}, {"LastRevisionTime", u8("08:00:00")}});
    addFile("other.jpg", {{"City", u8("Nice, France")}, {"LastRevisionDate", u8("2023/01/01")}, {"LastRevisionTime", u8("09:00:00")}});

    SearchRequest all;
    all.withIptc = all.withoutIptc = true;
    all.revised = RevisedFilter::AlreadyRevised;
    EXPECT_EQ(found(all), QStringList({"other.jpg", "early.jpg", "late.jpg"}));
    all.revisionAscending = false;
    EXPECT_EQ(found(all), QStringList({"late.jpg", "early.jpg", "other.jpg"}));

    // The filter applies to the whole condition, also when it has "or" at its top level.
    SearchRequest lyonOrNice = field(kCity, "lyon nice");
    lyonOrNice.op = SearchOperator::Or;
    lyonOrNice.revised = RevisedFilter::NeverRevised;
    EXPECT_EQ(found(lyonOrNice), QStringList({"never.jpg"}));
    SearchRequest cityWord = field(kCity, "nice");
    cityWord.wholeWord = true;
    cityWord.revised = RevisedFilter::NeverRevised;
    EXPECT_EQ(found(cityWord), QStringList());
}

TEST_F(RunSearchTest, sortsNumbersByValueWithUnreadableSizesLast)
{
    addFile("a.jpg", {{"City", u8("x")}, {"FileSize", u8("1200")}, {"Width", u8("?")}, {"Height", u8("30")}});
    addFile("b.jpg", {{"City", u8("x")}, {"FileSize", u8("900")}, {"Width", u8("1024")}, {"Height", u8("?")}});
    addFile("c.jpg", {{"City", u8("x")}, {"FileSize", u8("15000")}, {"Width", u8("640")}, {"Height", u8("200")}});

    SearchRequest request = field(kCity, "");
    const std::tuple<int, bool, QStringList> cases[] = {
        {1, true, {"b.jpg", "a.jpg", "c.jpg"}},  {1, false, {"c.jpg", "a.jpg", "b.jpg"}},
        {2, true, {"c.jpg", "b.jpg", "a.jpg"}},  {2, false, {"b.jpg", "c.jpg", "a.jpg"}},
        {3, true, {"a.jpg", "c.jpg", "b.jpg"}},  {3, false, {"c.jpg", "a.jpg", "b.jpg"}},
        {4, false, {"c.jpg", "b.jpg", "a.jpg"}},
    };
    for (const auto &[index, ascending, expected] : cases) {
        SCOPED_TRACE(index);
        request.sortIndex = index;
        request.sortAscending = ascending;
        EXPECT_EQ(found(request), expected);
    }
}

TEST_F(RunSearchTest, tenResultsMakeOnePageAndElevenTwoWithNavigation)
{
    for (int i = 1; i <= 11; ++i)
        addFile(QStringLiteral("img%1.jpg").arg(i, 2, 10, QLatin1Char('0')).toUtf8().constData(),
                {{"Keywords", i <= 10 ? u8("ten") : u8("eleven")}});
    SearchOutcome outcome = search(general("ten"));
    EXPECT_EQ(outcome.found, 10);
    EXPECT_EQ(state.results.pageCount(), 1);
    EXPECT_FALSE(outcome.enableNavigation);
    EXPECT_TRUE(outcome.showFirstPage);
    EXPECT_TRUE(outcome.enableApplyTemplate && outcome.enableWordStatistics && outcome.enableCopyImages);

    outcome = search(general("e"));
    EXPECT_EQ(outcome.found, 11);
    EXPECT_EQ(state.results.pageCount(), 2);
    EXPECT_TRUE(outcome.enableNavigation);

    environment.wordStatisticsOpen = true;
    outcome = search(general("ten"));
    EXPECT_TRUE(outcome.enableApplyTemplate);
    EXPECT_FALSE(outcome.enableWordStatistics || outcome.enableCopyImages);

    outcome = search(general("nowhere"));
    EXPECT_EQ(outcome.found, 0);
    EXPECT_EQ(state.results.pageCount(), 0);
    EXPECT_FALSE(outcome.enableApplyTemplate || outcome.enableNavigation);
    EXPECT_FALSE(db.isOpen());
}

TEST_F(RunSearchTest, refusalsShowTheirMessageAndRunNothing)
{
    addFile("a.jpg", {{"City", u8("x")}});
    search(general("x"));
    ASSERT_EQ(state.results.count(), 1);

    const SearchOutcome nothing = search(general(""));
    EXPECT_EQ(feedback.texts(), QStringList({"NOTHING"}));
    EXPECT_EQ(feedback.messages.back().icon, MessageIcon::Information);
    EXPECT_EQ(state.results.count(), 0);
    EXPECT_FALSE(nothing.found.has_value());
    EXPECT_TRUE(nothing.statement.isEmpty());
    EXPECT_EQ(state.lastSearchText, u8("x")); // the refused search did not get that far

    const SearchOutcome noField = search(field(-1, "x"));
    EXPECT_EQ(feedback.texts().last(), u8("NO FIELD"));
    EXPECT_FALSE(noField.found.has_value());
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(state.history, QStringList({"x"}));
}

TEST_F(RunSearchTest, failuresAreReportedAndLeaveAnEmptyResult)
{
    addFile("a.jpg", {{"City", u8("x")}});
    SearchRequest request = general("x");
    request.targets = {false, false, false}; // a hand-edited configuration: nowhere to look
    const SearchOutcome failed = search(request);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.texts().first().startsWith(u8("Cannot get data\n"))) << feedback.texts().first().toStdString();
    EXPECT_EQ(feedback.messages.front().icon, MessageIcon::Critical);
    EXPECT_EQ(failed.found, 0);
    EXPECT_TRUE(failed.showFirstPage);

    db.close();
    db.path = folder.path(); // a folder cannot be opened
    const SearchOutcome unopened = search(general("x"));
    EXPECT_TRUE(feedback.texts().last().startsWith(u8("Cannot open '") + folder.path() + u8("'\n")));
    EXPECT_FALSE(unopened.found.has_value());
    EXPECT_FALSE(unopened.showFirstPage);
}

TEST_F(RunSearchTest, translationAddsASecondTermAndIsShown)
{
    add({{"Folder", u8("/p/")}, {"File", u8("water.jpg")}, {"Caption", u8("clear water")}});
    add({{"Folder", u8("/p/")}, {"File", u8("tuber.jpg")}, {"Keywords", u8("Pomme de terre")}});
    ASSERT_EQ(db.execute(u8("insert into Translations values('l''eau','water'),('Pomme de terre','potato');")), 0);

    SearchRequest request = general("L'EAU");
    request.useTranslation = true;
    environment.translationsLoaded = true;
    SearchOutcome outcome = search(request);
    EXPECT_EQ(outcome.translationShown, u8("water"));
    EXPECT_EQ(files(), QStringList({"water.jpg"}));

    // A wildcard looks up only itself, not the first word of the table.
    request.text = u8("l_eau");
    EXPECT_TRUE(search(request).translationShown.isEmpty());

    // Both ways: a word found only in the second column comes back through the exact lookup.
    request.text = u8("potato");
    outcome = search(request);
    EXPECT_EQ(outcome.translationShown, u8("Pomme de terre"));
    EXPECT_EQ(files(), QStringList({"tuber.jpg"}));
    request.text = u8("POTATO");
    EXPECT_TRUE(search(request).translationShown.isEmpty());

    request.text = u8("potato");
    request.translationDirection = TranslationDirection::FirstToSecond;
    EXPECT_TRUE(search(request).translationShown.isEmpty());

    environment.translationsLoaded = false;
    request.translationDirection = TranslationDirection::SecondToFirst;
    EXPECT_TRUE(search(request).translationShown.isEmpty());
    EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(RunSearchTest, failedTranslationLookupIsReportedAndTheSearchGoesOn)
{
    add({{"Folder", u8("/p/")}, {"File", u8("water.jpg")}, {"Caption", u8("water")}});
    ASSERT_EQ(db.execute(u8("drop table Translations;")), 0);
    SearchRequest request = general("water");
    request.useTranslation = true;
    environment.translationsLoaded = true;
    const SearchOutcome outcome = search(request);
    EXPECT_EQ(feedback.messages.size(), 1u); // the other direction is not tried
    EXPECT_TRUE(feedback.texts().first().startsWith(u8("Cannot get data from table Translations\n")));
    EXPECT_EQ(outcome.found, 1);
}

TEST(SearchMessages, listTheThreeBoxCaptionsWithoutAccelerators)
{
    LanguagePack pack;
    pack.setMessage(10, QStringLiteral("Nothing to search:"));
    pack.setMessage(24, QStringLiteral("Choose a field."));
    pack.setText(89, QStringLiteral("Images &without IPTC"));
    pack.setText(90, QStringLiteral("Images with IPTC"));
    pack.setText(138, QStringLiteral("IPTC &field..."));
    const SearchMessages messages = searchMessages(pack);
    EXPECT_EQ(messages.nothingToSearch,
              QStringLiteral("Nothing to search:\n- Images without IPTC\n- Images with IPTC\n- IPTC field..."));
    EXPECT_EQ(messages.noFieldChosen, QStringLiteral("Choose a field."));
}
