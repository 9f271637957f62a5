// Grouping of double file names in the order the catalogue returns them.
#include "core/search/CatalogueFixture.h"

#include "core/filecommands/DoubleFileNames.h"

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

ResultTable tableOf(const std::vector<std::pair<const char *, const char *>> &folderAndFile)
{
    ResultTable table;
    table.setColumns({u8("Folder"), u8("File"), u8("CheckMark")});
    for (const auto &[folderName, file] : folderAndFile)
        table.appendRow({u8(folderName), u8(file), {}});
    return table;
}

QStringList listed(const std::vector<ResultRow> &rows)
{
    QStringList lines;
    for (const ResultRow &row : rows)
        lines << row.folder + row.file;
    return lines;
}

} // namespace

TEST(DoubleFileNames, groupNeighboursOfOneNameWhateverTheirCase)
{
    EXPECT_EQ(listed(groupDoubleFileNames(tableOf({{"/a/", "IMG.JPG"}, {"/b/", "img.jpg"}, {"/c/", "x.jpg"}}))),
              QStringList({u8("/a/IMG.JPG"), u8("/b/img.jpg")}));
    // Another name between them keeps them apart.
    EXPECT_TRUE(groupDoubleFileNames(tableOf({{"/a/", "A.jpg"}, {"/b/", "B.jpg"}, {"/c/", "a.jpg"}})).empty());
    EXPECT_EQ(listed(groupDoubleFileNames(tableOf({{"/a/", "a.jpg"}, {"/b/", "z.jpg"}, {"/c/", "z.jpg"}, {"/d/", "Z.JPG"}}))),
              QStringList({u8("/b/z.jpg"), u8("/c/z.jpg"), u8("/d/Z.JPG")}));
    EXPECT_EQ(listed(groupDoubleFileNames(tableOf({{"/a/", "été.jpg"}, {"/b/", "ÉTÉ.JPG"}}))),
              QStringList({u8("/a/été.jpg"), u8("/b/ÉTÉ.JPG")}));
    EXPECT_TRUE(groupDoubleFileNames(tableOf({{"/a/", "one.jpg"}})).empty());
    EXPECT_TRUE(groupDoubleFileNames(tableOf({})).empty());
}
