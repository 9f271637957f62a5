#include "core/search/SearchQueryBuilder.h"

#include <gtest/gtest.h>

using namespace zelvarion;

TEST(SearchHistory, movesARepeatedTextToTheTopWithoutDroppingTheLast)
{
    QStringList ten;
    for (int i = 1; i <= 10; ++i)
        ten << QString::number(i);

    const QStringList moved = searchHistoryAfter(ten, "3");
    EXPECT_EQ(moved.size(), 10);
    EXPECT_EQ(moved.first(), "3");
    EXPECT_EQ(moved.last(), "10");

    const QStringList added = searchHistoryAfter(ten, "new");
    EXPECT_EQ(added.size(), 10);
    EXPECT_EQ(added.first(), "new");
    EXPECT_EQ(added.last(), "9");

    EXPECT_EQ(searchHistoryAfter({"Paris"}, "paris"), QStringList({"paris", "Paris"}));
    EXPECT_EQ(searchHistoryAfter(ten + ten, "x").size(), 10);
}
