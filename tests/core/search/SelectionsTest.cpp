// Saved selections: saving the marks under a name, listing, restoring, renaming and removing.
#include "CatalogueFixture.h"

#include "core/search/Selections.h"

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

class SelectionsTest : public CatalogueFixture
{
protected:
    void SetUp() override
    {
        CatalogueFixture::SetUp();
        addImage(u8("/photos/l'été/"), u8("o'neil.jpg"), u8("01/02/2020"));
        addImage(u8("/photos/"), u8("b.jpg"), u8("05/06/2022"));
        addImage(u8("/photos/"), u8("c.jpg"));
    }

    QStringList listed()
    {
        QStringList lines;
        for (const SavedSelection &s : readSavedSelections(command()))
            lines << s.name + u'=' + s.count;
        lines.sort(); // the engine's order of distinct names is its own
        return lines;
    }
};

} // namespace

TEST_F(SelectionsTest, aNameWithAnApostropheIsSavedListedRestoredRenamedAndRemoved)
{
    const QString name = u8("l'été");
    EXPECT_EQ(saveMarkedImagesAs(command(), name), 2);
    EXPECT_EQ(listed(), QStringList({u8("l'été=2")}));
    EXPECT_EQ(rows(u8("select Name,Folder,File,CheckMark from Selections order by File;")),
              QStringList({u8("l'été|/photos/|b.jpg|05/06/2022"), u8("l'été|/photos/l'été/|o'neil.jpg|01/02/2020")}));

    // Restoring discards today's marks and gives back the dates saved with the selection.
    run(u8("update Images set CheckMark='today';"));
    EXPECT_TRUE(restoreSelection(command(), name));
    EXPECT_EQ(marks(), QStringList({u8("b.jpg|05/06/2022"), u8("c.jpg|"), u8("o'neil.jpg|01/02/2020")}));

    renameSavedSelection(command(), name, u8("d'hiver"));
    EXPECT_EQ(listed(), QStringList({u8("d'hiver=2")}));
    removeSavedSelection(command(), u8("d'hiver"));
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
}

TEST_F(SelectionsTest, savingReplacesTheRowsOfItsNameOnlyAndNothingIsStoredWithoutMarks)
{
    run(u8("insert into Selections values('kept','/x/','gone.jpg','1');"));
    run(u8("insert into Selections values('Kept','/x/','other.jpg','1');"));
    EXPECT_EQ(saveMarkedImagesAs(command(), u8("kept")), 2);
    EXPECT_EQ(rows(u8("select File from Selections where Name='kept' order by File;")),
              QStringList({u8("b.jpg"), u8("o'neil.jpg")}));
    EXPECT_EQ(rows(u8("select File from Selections where Name='Kept';")), QStringList({u8("other.jpg")}));

    run(u8("update Images set CheckMark='';"));
    EXPECT_EQ(saveMarkedImagesAs(command(), u8("empty")), 0);
    EXPECT_EQ(listed(), QStringList({u8("Kept=1"), u8("kept=2")}));
}

TEST_F(SelectionsTest, restoringTouchesOnlyImagesStillCatalogued)
{
    run(u8("insert into Selections values('old','/photos/','c.jpg','07/08/2023');"));
    run(u8("insert into Selections values('old','/gone/','c.jpg','07/08/2023');"));
    EXPECT_TRUE(restoreSelection(command(), u8("old")));
    EXPECT_EQ(marks(), QStringList({u8("b.jpg|"), u8("c.jpg|07/08/2023"), u8("o'neil.jpg|")}));
    // A name that was never saved leaves every image unmarked.
    EXPECT_TRUE(restoreSelection(command(), u8("none")));
    EXPECT_EQ(rows(u8("select count(*) from Images where CheckMark != '';")), QStringList({u8("0")}));
}

TEST(SelectionNames, mustBeGivenAndNotListedWithTheSameCase)
{
    const QStringList listed = {QString::fromUtf8("l'été"), QStringLiteral("Trip")};
    EXPECT_EQ(selectionNameProblem(QString(), listed), Message::SelectionNameRequired);
    EXPECT_EQ(selectionNameProblem(QStringLiteral("Trip"), listed), Message::SelectionNameUsed);
    EXPECT_EQ(selectionNameProblem(QString::fromUtf8("l'été"), listed), Message::SelectionNameUsed);
    EXPECT_EQ(selectionNameProblem(QStringLiteral("trip"), listed), std::nullopt);
}

TEST_F(SelectionsTest, aMissingCatalogueIsReportedAndNothingIsSaved)
{
    db.path = folder.file("nowhere/none.db");
    EXPECT_EQ(saveMarkedImagesAs(command(), u8("x")), std::nullopt);
    EXPECT_FALSE(restoreSelection(command(), u8("x")));
    EXPECT_TRUE(readSavedSelections(command()).empty());
    ASSERT_EQ(feedback.messages.size(), 3u);
    EXPECT_TRUE(feedback.messages[0].text.startsWith(u8("Cannot open '") + db.path + u8("'\n")));
}
