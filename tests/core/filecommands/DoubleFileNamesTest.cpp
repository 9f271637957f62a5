// Grouping of double file names in the order the catalogue returns them.
#include "core/search/CatalogueFixture.h"

#include "core/catalogue/ImagesTable.h"
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

namespace {

using DoubleFileNamesOnCatalogue = CatalogueFixture;

QStringList listedWithMarks(const std::vector<ResultRow> &rows)
{
    QStringList lines;
    for (const ResultRow &row : rows)
        lines << row.folder + row.file + u'|' + row.checkMark;
    return lines;
}

} // namespace

// The search streams the catalogue's rows instead of holding them in a table: it finds what the
// grouping of the whole table finds, names that are no UTF-8 and marks included.
TEST_F(DoubleFileNamesOnCatalogue, streamedSearchFindsWhatTheWholeTableGives)
{
    addImage(u8("/a/"), u8("IMG_1.JPG"), u8("01/02/2024"));
    addImage(u8("/b/"), u8("img_1.jpg"));
    addImage(u8("/c/"), u8("single.jpg"));
    addImage(u8("/d/"), u8("été.jpg"));
    addImage(u8("/e/"), u8("ÉTÉ.JPG"), u8("x"));
    run(QStringLiteral("insert into Images(Folder, File, CheckMark) values('/f/', cast(x'4aff2e6a7067' as text), ''),"
                       " ('/g/', cast(x'4aff2e6a7067' as text), ''), ('/h/', cast(x'4afe2e6a7067' as text), '');"));

    const std::optional<std::vector<ResultRow>> found = findDoubleFileNames(db, feedback);
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(feedback.messages.empty());
    ASSERT_TRUE(db.open());
    ASSERT_EQ(db.execute(QLatin1String(imagesTable::kByFileNameStatement)), 0);
    const std::vector<ResultRow> fromTable = groupDoubleFileNames(db.result());
    db.close();
    EXPECT_EQ(listedWithMarks(*found), listedWithMarks(fromTable));
    // Both bytes that are no UTF-8 read as U+FFFD: the three J?.jpg names are one name. The
    // IMG_1 pair is no run: those names sort apart, with the J names between them.
    ASSERT_EQ(found->size(), 5u);
    EXPECT_EQ(found->at(0).folder + found->at(0).file, u8("/h/J\uFFFD.jpg"));
    EXPECT_EQ(listedWithMarks(*found).mid(3), QStringList({u8("/e/ÉTÉ.JPG|x"), u8("/d/été.jpg|")}));

    run(QStringLiteral("drop table Images;"));
    const std::optional<std::vector<ResultRow>> failed = findDoubleFileNames(db, feedback);
    ASSERT_TRUE(failed.has_value());
    EXPECT_TRUE(failed->empty());
    ASSERT_EQ(feedback.texts().size(), 1);
    EXPECT_TRUE(feedback.texts().front().startsWith(QStringLiteral("Cannot get data\nno such table"))) << feedback.texts().front().toStdString();
}
