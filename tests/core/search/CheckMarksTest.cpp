// Marks set and cleared one by one and for a whole result, on a real catalogue.
#include "CatalogueFixture.h"

#include "core/search/CheckMarks.h"
#include "core/search/SearchQueryBuilder.h"

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

class CheckMarksTest : public CatalogueFixture
{
protected:
    void SetUp() override
    {
        CatalogueFixture::SetUp();
        addImage(u8("/photos/l'été/"), u8("o'neil.jpg"));
        addImage(u8("/photos/"), u8("b.jpg"), u8("01/02/2020"));
        addImage(u8("/other/"), u8("c.jpg"), u8("03/04/2021"));
        results = resultOf({{u8("/photos/l'été/"), u8("o'neil.jpg"), {}}, {u8("/photos/"), u8("b.jpg"), u8("01/02/2020")}});
    }

    ResultList results;
};

} // namespace

TEST(MarkText, isTheShortDateOfTheLocaleWithoutTime)
{
    const QDate day(2024, 3, 9);
    EXPECT_EQ(markTextFor(day, QLocale(QLocale::French, QLocale::France)), QStringLiteral("09/03/2024"));
    EXPECT_EQ(markTextFor(day, QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("3/9/24"));
    EXPECT_EQ(toggledMark(QString(), u8("today")), u8("today"));
    EXPECT_EQ(toggledMark(u8("01/02/2020"), u8("today")), QString()); // never the old mark back
}

TEST_F(CheckMarksTest, oneImageWithApostrophesIsMarkedAndUnmarkedByItsFolderAndFile)
{
    const QString mark = toggledMark(QString(), todaysMarkText());
    EXPECT_TRUE(writeImageMark(command(), u8("/photos/l'été/"), u8("o'neil.jpg"), mark));
    EXPECT_EQ(marks(), QStringList({u8("b.jpg|01/02/2020"), u8("c.jpg|03/04/2021"), u8("o'neil.jpg|") + mark}));
    EXPECT_TRUE(writeImageMark(command(), u8("/photos/l'été/"), u8("o'neil.jpg"), toggledMark(mark, u8("x"))));
    EXPECT_EQ(marks().last(), u8("o'neil.jpg|"));
    // The same file name in another folder is another image.
    EXPECT_TRUE(writeImageMark(command(), u8("/other/"), u8("b.jpg"), u8("new")));
    EXPECT_EQ(marks()[0], u8("b.jpg|01/02/2020"));
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
}

TEST_F(CheckMarksTest, markingAndUnmarkingTheResultLeaveOtherImagesAndBlankRowsAlone)
{
    results.assign({{u8("/photos/l'été/"), u8("o'neil.jpg"), {}}, {{}, {}, {}}, {u8("/photos/"), u8("b.jpg"), u8("x")}});
    ASSERT_TRUE(markResult(command(), results, u8("today")));
    EXPECT_EQ(marks(), QStringList({u8("b.jpg|today"), u8("c.jpg|03/04/2021"), u8("o'neil.jpg|today")}));
    EXPECT_EQ(results.row(1).checkMark, u8("today"));
    EXPECT_EQ(results.row(2).checkMark, QString()); // the deleted image's blank row

    ASSERT_TRUE(unmarkResult(command(), results));
    EXPECT_EQ(marks(), QStringList({u8("b.jpg|"), u8("c.jpg|03/04/2021"), u8("o'neil.jpg|")}));
    EXPECT_EQ(results.row(3).checkMark, QString());
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
}

TEST_F(CheckMarksTest, aFailingUpdateIsReportedForItsRowAndTheOthersGoOn)
{
    // The engine refuses every change to the row of b.jpg.
    run(u8("create trigger Refuse before update on Images when old.File = 'b.jpg' "
           "begin select raise(abort, 'refused'); end;"));
    markResult(command(), results, u8("today"));
    EXPECT_EQ(feedback.texts(), QStringList({u8("Cannot set data\nrefused")}));
    EXPECT_EQ(marks(), QStringList({u8("b.jpg|01/02/2020"), u8("c.jpg|03/04/2021"), u8("o'neil.jpg|today")}));
    EXPECT_EQ(results.row(2).checkMark, u8("today")); // the result keeps the state the cell shows

    feedback.messages.clear();
    EXPECT_FALSE(writeImageMark(command(), u8("/photos/"), u8("b.jpg"), QString()));
    EXPECT_EQ(feedback.texts(), QStringList({u8("Cannot set data\nrefused")}));
}

TEST(MarkedImagesRequest, keepsRevisedFilterAndSortAndDropsTheText)
{
    SearchRequest controls;
    controls.text = QStringLiteral("sea");
    controls.revised = RevisedFilter::NeverRevised;
    controls.sortIndex = 4;
    EXPECT_EQ(buildSearchStatement(markedImagesRequest(controls)),
              QStringLiteral("select Folder,File,CheckMark from Images where (CheckMark != '') and "
                             "(LastRevisionDate = '') order by File asc;"));
}
