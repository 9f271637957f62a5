// The export written as a search streams its rows: the same document as the export of that
// search's result, and an export folder left as it was when the search finds nothing or fails.
#include "core/export/XmlExport.h"
#include "core/export/XmlExportDocument.h"
#include "core/search/RunSearch.h"

#include "ExportCatalogue.h"
#include "core/catalogue/CatalogueTables.h"
#include "platform/ThumbnailStore.h"

#include <QDir>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

class SearchExportTest : public ::testing::Test
{
protected:
    XmlExportRequest request(bool thumbnails) const
    {
        XmlExportRequest made;
        made.folder = {catalogue.folder.file(QStringLiteral("XML"))};
        made.title = QStringLiteral("Coast & sea");
        made.copyThumbnails = thumbnails;
        made.generatedAt = QDateTime(QDate(2024, 3, 5), QTime(9, 7));
        made.locale = QLocale(QLocale::English, QLocale::UnitedStates);
        return made;
    }

    XmlExportOutcome streamed(const SearchRequest &search, bool thumbnails, SearchOutcome &found)
    {
        SearchEnvironment environment{catalogue.db, feedback, {}};
        return exportSearch(request(thumbnails), search, environment, store, found);
    }

    // The export as the window makes it: the search's result list first, then its rows.
    QByteArray ofResultList(const SearchRequest &search, bool thumbnails)
    {
        SearchEnvironment environment{catalogue.db, feedback, {}};
        SearchState state;
        runSearch(search, state, environment);
        EXPECT_TRUE(exportXml(request(thumbnails), state.results, catalogue.db, feedback, store).written);
        return document();
    }

    QByteArray document() const { return catalogue.folder.read(QStringLiteral("XML/Zelvarion.xml")); }

    ExportCatalogue catalogue;
    RecordingFeedback feedback;
    ThumbnailStore store{catalogue.folder.file(QStringLiteral("store"))};
};

SearchRequest everyImage()
{
    SearchRequest search;
    search.withIptc = search.withoutIptc = true;
    return search;
}

TEST_F(SearchExportTest, writesTheDocumentTheExportOfTheSearchsResultWrites)
{
    catalogue.add(QStringLiteral("/photos/Été à Brest/"), QStringLiteral("IMG_2.JPG"),
                  {{"Caption", QStringLiteral("Brest & <Crozon>\r\nsecond line")}, {"Keywords", QStringLiteral("sea; \"sand\"")},
                   {"Width", QStringLiteral("640")}, {"CheckMark", QStringLiteral("2024-03-01")}});
    catalogue.add(QStringLiteral("/photos/Été à Brest/"), QStringLiteral("README"), {{"City", QStringLiteral("Zürich €")}});
    catalogue.add(QStringLiteral("/ph&otos<1>/"), QStringLiteral("x&y.j<p>g"), {{"Headline", QStringLiteral("brest harbour")}});
    catalogue.add(QStringLiteral("/other/"), QStringLiteral("plain.tif"), {{"FileSize", QStringLiteral("1200")}});
    catalogue.add(QStringLiteral("/other/"), QStringLiteral("a.jpg"), {{"FileSize", QStringLiteral("900")}});
    store.store(QStringLiteral("/other/a.jpg"), QByteArray("\xFF\xD8\xFF\xE0 a\xFF\xD9"));
    store.store(QStringLiteral("/photos/Été à Brest/README"), QByteArray("\xFF\xD8\xFF\xE0 b\xFF\xD9"));

    SearchRequest bySize = everyImage();
    bySize.sortIndex = 1; // FileSize, by its number
    SearchRequest brest;
    brest.text = QStringLiteral("brest");
    SearchRequest byFileDescending = brest;
    byFileDescending.sortIndex = 4;
    byFileDescending.sortAscending = false;
    for (const SearchRequest &search : {everyImage(), bySize, brest, byFileDescending}) {
        for (const bool thumbnails : {false, true}) {
            const QByteArray expected = ofResultList(search, thumbnails);
            SearchOutcome found;
            const XmlExportOutcome outcome = streamed(search, thumbnails, found);
            EXPECT_TRUE(outcome.written);
            EXPECT_EQ(outcome.exported, found.found.value_or(-1));
            EXPECT_EQ(document(), expected) << search.text.toStdString() << ' ' << search.sortIndex;
            EXPECT_EQ(outcome.withoutThumbnail, thumbnails ? outcome.exported - outcome.thumbnails : 0);
        }
    }
    // Only the images without a stored thumbnail are reported, by either way of exporting.
    for (const QString &text : feedback.texts())
        EXPECT_TRUE(text.startsWith(QStringLiteral("Images exported without a thumbnail"))) << text.toStdString();
}

TEST_F(SearchExportTest, aSearchThatFindsNothingLeavesTheExportFolderAsItWas)
{
    catalogue.add(QStringLiteral("/photos/"), QStringLiteral("a.jpg"));
    catalogue.folder.write(QStringLiteral("XML/Zelvarion.xml"), "the last export");
    catalogue.folder.write(QStringLiteral("XML/thumbs/a.jpg"), "its thumbnail");
    SearchRequest nowhere;
    nowhere.text = QStringLiteral("nowhere");
    SearchOutcome found;
    const XmlExportOutcome outcome = streamed(nowhere, true, found);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(found.found.value_or(-1), 0);
    EXPECT_FALSE(found.failed);
    EXPECT_EQ(document(), QByteArray("the last export"));
    EXPECT_EQ(catalogue.folder.read(QStringLiteral("XML/thumbs/a.jpg")), QByteArray("its thumbnail"));
    EXPECT_EQ(QDir(catalogue.folder.file(QStringLiteral("XML"))).entryList(QDir::Files | QDir::Hidden),
              QStringList({"Zelvarion.xml"}));
}

// A select that fails after some rows were written must not pass for a shorter result: the
// failure is reported and the document being written is thrown away.
TEST(SearchExport, aSelectFailingPartWayIsReportedAndLeavesTheLastDocument)
{
    TempFolder folder;
    CatalogueDb db;
    db.path = folder.file(QStringLiteral("Images.db"));
    ASSERT_TRUE(db.open());
    QStringList columns = imagesColumnNames();
    ASSERT_EQ(db.execute(QStringLiteral("create table Stored(%1);").arg(columns.join(u','))), 0);
    for (const char *file : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        ASSERT_EQ(db.execute(QStringLiteral("insert into Stored(Folder, File) values ('/p/', '%1');").arg(QLatin1String(file))), 0);
    // The third row's CheckMark cannot be computed (the absolute value of the lowest integer):
    // the engine stops there with an error.
    columns.replace(columns.indexOf(QStringLiteral("CheckMark")),
                    QStringLiteral("case when abs(-9223372036854775807 - (File = 'c.jpg')) > 0 then CheckMark end as CheckMark"));
    ASSERT_EQ(db.execute(QStringLiteral("create view Images as select %1 from Stored;").arg(columns.join(u','))), 0);
    db.close();
    folder.write(QStringLiteral("XML/Zelvarion.xml"), "the last export");

    RecordingFeedback feedback;
    SearchEnvironment environment{db, feedback, {}};
    XmlExportRequest request;
    request.folder = {folder.file(QStringLiteral("XML"))};
    request.copyThumbnails = false;
    SearchOutcome found;
    const XmlExportOutcome outcome = exportSearch(request, everyImage(), environment, ThumbnailStore(), found);
    EXPECT_TRUE(found.failed);
    EXPECT_EQ(found.found.value_or(-1), 2);
    EXPECT_FALSE(outcome.written);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.messages[0].text.contains(QStringLiteral("integer overflow"))) << feedback.messages[0].text.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("XML/Zelvarion.xml")), QByteArray("the last export"));
    EXPECT_EQ(QDir(folder.file(QStringLiteral("XML"))).entryList(QDir::Files | QDir::Hidden), QStringList({"Zelvarion.xml"}));
}

// The extension is cut from the engine's bytes: for names that are no UTF-8 too, what follows the
// last dot decodes to what follows it in the decoded name.
TEST(ExportedExtension, theBytesAfterTheLastDotDecodeToTheDecodedNamesExtension)
{
    const QByteArray names[] = {"photo.JPG", "README", "a.b.tif", "end.", ".hidden", "\xC3\xA9t\xC3\xA9.j\xC3\xA9g",
                                "cut\xE2\x82.jpg", "x.\xE2\x82", "\xFF.\xFE\xFF", "\xF0\x9F\x93\xB7.png"};
    for (const QByteArray &name : names) {
        const QString decoded = QString::fromUtf8(name);
        const qsizetype dot = decoded.lastIndexOf(u'.');
        const QString expected = dot < 0 ? QString() : decoded.sliced(dot + 1);
        EXPECT_EQ(QString::fromUtf8(xmlExport::extensionOf(QByteArrayView(name))), expected) << name.toHex().toStdString();
    }
}

} // namespace
