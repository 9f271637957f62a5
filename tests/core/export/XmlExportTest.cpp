// The export document written from a real catalogue: its lines, the File blocks and their
// presence rules, the thumbnail copies, and what a failure leaves.
#include "core/export/XmlExport.h"
#include "core/export/XmlExportDocument.h"

#include "ExportCatalogue.h"
#include "platform/ThumbnailStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

const QString kPhotos = QStringLiteral("/photos/");
const QByteArray kJpegA("\xFF\xD8\xFF\xE0 first thumbnail\xFF\xD9");
const QByteArray kJpegB("\xFF\xD8\xFF\xE0 second thumbnail\xFF\xD9");

class XmlExportTest : public ::testing::Test
{
protected:
    XmlExportOutcome run(bool thumbnails = true, const QString &title = {})
    {
        XmlExportRequest request;
        request.folder = {catalogue.folder.file(QStringLiteral("XML"))};
        request.title = title;
        request.copyThumbnails = thumbnails;
        request.generatedAt = QDateTime(QDate(2024, 3, 5), QTime(9, 7));
        request.locale = QLocale(QLocale::English, QLocale::UnitedStates);
        request.beforeImage = [this](int rank) { ranks << rank; };
        return exportXml(request, catalogue.results, catalogue.db, feedback, store);
    }
    QString document() const
    {
        return QString::fromLatin1(catalogue.folder.read(QStringLiteral("XML/Zelvarion.xml")));
    }
    QString thumbs() const { return catalogue.folder.file(QStringLiteral("XML/thumbs")); }

    ExportCatalogue catalogue;
    RecordingFeedback feedback;
    ThumbnailStore store{catalogue.folder.file(QStringLiteral("store"))};
    QList<int> ranks;
};

TEST_F(XmlExportTest, documentLinesEndWithCrLfAndABlankTitleWritesNoTitleLine)
{
    catalogue.add(kPhotos, QStringLiteral("a.jpg"));
    EXPECT_TRUE(run(false, QStringLiteral("   ")).written);
    const QStringList lines = document().split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>"));
    EXPECT_EQ(lines[1], QStringLiteral("<!-- Created with Zelvarion version 1.0.0 [Marlowen] -->"));
    EXPECT_EQ(lines[2], QStringLiteral("<IPTCtoXML dategeneration=\"Tuesday, March 5, 2024 09:07\">"));
    EXPECT_EQ(lines[3], QStringLiteral("<File>"));
    EXPECT_EQ(lines.last(), QString()); // the closing line ends with CR LF too
    EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("</IPTCtoXML>"));
    EXPECT_EQ(document().count(QStringLiteral("\r\n")), document().count(u'\n'));
    EXPECT_EQ(ranks, QList<int>({1}));

    run(false, QStringLiteral("  Tour & Co  "));
    EXPECT_TRUE(document().contains(QStringLiteral("\">\r\n<Title>Tour &amp; Co</Title>\r\n<File>")));
}

TEST_F(XmlExportTest, fileBlockWritesNamesFileColumnsAndIptcLinesInCatalogueOrder)
{
    catalogue.add(kPhotos, QStringLiteral("O'Neil.beach.JPG"),
                  {{"Keywords", QStringLiteral("  sea; \"sand\"; ;sun  ")},
                   {"SupplementalCategory", QStringLiteral("travel")},
                   {"Caption", QStringLiteral("R&D <x> \"y\"\r\nline 2")},
                   {"City", QStringLiteral("Zürich")},
                   {"Customized", QStringLiteral("Field 200: Box 12\r\nField 201: B")},
                   {"FileSize", QStringLiteral("0")},
                   {"Width", QString()},
                   {"Height", QStringLiteral("480")},
                   {"SupportIPTC", QStringLiteral("1")},
                   {"CheckMark", QStringLiteral("2024-03-01")}});
    run(false);
    const QString expected = QStringLiteral(
        "<File>\r\n<id>1</id>\r\n<extension>JPG</extension>\r\n<Name>O&apos;Neil.beach.JPG</Name>\r\n"
        "<Dir>/photos/</Dir>\r\n<FullName>/photos/O&apos;Neil.beach.JPG</FullName>\r\n"
        "<FileSize>0</FileSize>\r\n<Height>480</Height>\r\n<iptc>\r\n"
        "<SupplementalCategory>travel</SupplementalCategory>\r\n"
        "<Keyword>sea</Keyword>\r\n<Keyword>sand</Keyword>\r\n<Keyword>sun</Keyword>\r\n"
        "<City>Zürich</City>\r\n<Caption>R&amp;D &lt;x&gt; &quot;y&quot;line 2</Caption>\r\n"
        "<Customized>Field 200: Box 12Field 201: B</Customized>\r\n</iptc>\r\n</File>\r\n");
    EXPECT_TRUE(document().contains(expected)) << document().toStdString();
    EXPECT_FALSE(document().contains(QStringLiteral("CheckMark")));
    EXPECT_FALSE(document().contains(QStringLiteral("SupportIPTC")));
}

TEST_F(XmlExportTest, keywordEntriesFollowTheSplitRule)
{
    using xmlExport::listEntries;
    EXPECT_EQ(listEntries(QStringLiteral("a; b; c")), QStringList({"a", "b", "c"}));
    EXPECT_EQ(listEntries(QStringLiteral("\"Paris\"; \"a\"b\"")), QStringList({"Paris", "a\"b"}));
    EXPECT_EQ(listEntries(QStringLiteral(" ;; x ;")), QStringList({"x "})); // blanks before ";" stay
    EXPECT_EQ(listEntries(QStringLiteral("  ")), QStringList());
}

TEST_F(XmlExportTest, imageWithoutIptcHasNoIptcElementAndANameWithoutDotKeepsItsName)
{
    catalogue.add(kPhotos, QStringLiteral("README"), {{"Width", QStringLiteral("10")}});
    store.store(kPhotos + QStringLiteral("README"), kJpegA);
    run();
    EXPECT_TRUE(document().contains(QStringLiteral("<extension></extension>")));
    EXPECT_FALSE(document().contains(QStringLiteral("<iptc>")));
    EXPECT_TRUE(document().contains(QStringLiteral("<ThumbName>") + thumbs() + QStringLiteral("/README</ThumbName>")));
    EXPECT_TRUE(QFileInfo::exists(thumbs() + QStringLiteral("/README")));
}

// Two images of one name in different folders once shared one thumbnail, and the contact sheet
// showed the later picture for both.
TEST_F(XmlExportTest, everyImageGetsAThumbnailOfItsOwnAndAMissingStreamGivesNoThumbName)
{
    const QString a = QStringLiteral("/a/"), b = QStringLiteral("/b/");
    struct Image { QString folder; const char *file; QString thumbnail; };
    const Image images[] = {
        {a, "img.jpg", "img.jpg"},    {b, "img.jpg", "img-2.jpg"}, {a, "Pic.JPG", "Pic.jpg"},
        {a, "Pic.jpg", "Pic-4.jpg"},  {a, "photo.tif", "photo.jpg"}, {a, "photo.jpg", "photo-6.jpg"},
        {a, "img-2.jpg", "img-2-7.jpg"}, {a, "README", "README"}, {b, "README", "README-9"},
    };
    for (const Image &image : images) {
        catalogue.add(image.folder, QLatin1String(image.file));
        const QByteArray jpeg = kJpegA + image.folder.toLatin1() + image.file;
        store.store(image.folder + QLatin1String(image.file), jpeg);
    }
    catalogue.add(b, QStringLiteral("no-stream.jpg"));
    const XmlExportOutcome outcome = run();
    EXPECT_EQ(outcome.thumbnails, int(std::size(images)));
    EXPECT_EQ(QDir(thumbs()).entryList(QDir::Files).size(), int(std::size(images)));
    for (const Image &image : images) {
        const QString thumbnail = thumbs() + u'/' + image.thumbnail;
        EXPECT_EQ(document().count(QStringLiteral("<ThumbName>") + thumbnail + QStringLiteral("</ThumbName>")), 1)
            << image.file;
        EXPECT_EQ(catalogue.folder.read(QStringLiteral("XML/thumbs/") + image.thumbnail),
                  kJpegA + image.folder.toLatin1() + image.file)
            << image.file;
    }
    EXPECT_EQ(document().count(QStringLiteral("<ThumbName>")), int(std::size(images)));
    EXPECT_EQ(outcome.withoutThumbnail, 1);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(feedback.messages[0].text.endsWith(QStringLiteral(": 1")));
}

// A store that is not there (a cleared cache) made a document without a single picture and said
// nothing: it is named once, the images without thumbnails not counted again.
TEST_F(XmlExportTest, aMissingThumbnailStoreIsReportedOnceAndNotWhenNoThumbnailIsAsked)
{
    catalogue.add(kPhotos, QStringLiteral("a.jpg"));
    catalogue.add(kPhotos, QStringLiteral("b.jpg"));
    store = ThumbnailStore(catalogue.folder.file(QStringLiteral("cleared-cache")));
    XmlExportOutcome outcome = run();
    EXPECT_TRUE(outcome.written);
    EXPECT_TRUE(outcome.thumbnailStoreMissing);
    EXPECT_EQ(outcome.withoutThumbnail, 2);
    EXPECT_EQ(document().count(QStringLiteral("<ThumbName>")), 0);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(feedback.messages[0].text.contains(store.root()));

    feedback.messages.clear();
    outcome = run(false);
    EXPECT_FALSE(outcome.thumbnailStoreMissing);
    EXPECT_EQ(outcome.withoutThumbnail, 0);
    EXPECT_TRUE(feedback.messages.empty());
}

TEST(ThumbnailNames, aNameIsTakenOnceWhateverItsCase)
{
    xmlExport::ThumbnailNames names;
    EXPECT_EQ(names.claim(QStringLiteral("a.JPG"), 1), QStringLiteral("a.jpg"));
    EXPECT_EQ(names.claim(QStringLiteral("A.tif"), 2), QStringLiteral("A-2.jpg"));
    EXPECT_EQ(names.claim(QStringLiteral("a-2.jpeg"), 3), QStringLiteral("a-2-3.jpg"));
    EXPECT_EQ(names.claim(QStringLiteral("a.jpg"), 2), QStringLiteral("a-2-2.jpg")); // the rank's name is taken too
}

// A "thumbs" that is a link to a folder of photos would have been emptied by every export.
TEST_F(XmlExportTest, thumbnailsFolderLinkedElsewhereIsNeverEmptiedNorWritten)
{
    catalogue.add(kPhotos, QStringLiteral("a.jpg"));
    store.store(kPhotos + QStringLiteral("a.jpg"), kJpegA);
    TempFolder photos;
    photos.write(QStringLiteral("a.jpg"), "my only copy");
    QDir().mkpath(catalogue.folder.file(QStringLiteral("XML")));
    ASSERT_TRUE(QFile::link(photos.path(), thumbs()));
    const XmlExportOutcome outcome = run();
    EXPECT_EQ(photos.read(QStringLiteral("a.jpg")), QByteArray("my only copy"));
    EXPECT_EQ(QDir(photos.path()).entryList(QDir::Files), QStringList({"a.jpg"}));
    EXPECT_EQ(outcome.thumbnails, 0);
    EXPECT_EQ(outcome.exported, 1);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.messages[0].text.endsWith(u'\n' + thumbs()));
    EXPECT_FALSE(document().contains(QStringLiteral("ThumbName")));
}

TEST_F(XmlExportTest, documentLinkedOutsideTheExportFolderIsNotWrittenThrough)
{
    catalogue.add(kPhotos, QStringLiteral("a.jpg"));
    TempFolder elsewhere;
    elsewhere.write(QStringLiteral("photo.jpg"), "my only copy");
    QDir().mkpath(catalogue.folder.file(QStringLiteral("XML")));
    ASSERT_TRUE(QFile::link(elsewhere.file(QStringLiteral("photo.jpg")), catalogue.folder.file(QStringLiteral("XML/Zelvarion.xml"))));
    EXPECT_FALSE(run().written);
    EXPECT_EQ(elsewhere.read(QStringLiteral("photo.jpg")), QByteArray("my only copy"));
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Critical);
}

TEST_F(XmlExportTest, thumbnailsFolderIsEmptiedWhicheverOptionIsChosen)
{
    catalogue.add(kPhotos, QStringLiteral("a.jpg"));
    catalogue.folder.write(QStringLiteral("XML/thumbs/old.jpg"), kJpegA);
    store.store(kPhotos + QStringLiteral("a.jpg"), kJpegA);
    run(false);
    EXPECT_TRUE(QDir(thumbs()).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(document().contains(QStringLiteral("ThumbName")));
}

TEST_F(XmlExportTest, imagesWithoutRowAreLeftOutAndIdsKeepResultPositionsAcrossBatches)
{
    const int count = ResultRowReader::kBatchSize + 20;
    for (int i = 1; i <= count; ++i) {
        const QString name = QStringLiteral("img%1.jpg").arg(i);
        if (i == 7 || i == count)
            catalogue.resultOnly(kPhotos, name); // in the result, gone from the catalogue
        else
            catalogue.add(kPhotos, name, {{"Headline", QStringLiteral("head %1").arg(i)}});
    }
    const XmlExportOutcome outcome = run(false);
    EXPECT_EQ(outcome.exported, count - 2);
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_FALSE(document().contains(QStringLiteral("<id>7</id>")));
    const QString last = QStringLiteral("<id>%1</id>\r\n<extension>jpg</extension>\r\n<Name>img%1.jpg</Name>").arg(count - 1);
    EXPECT_TRUE(document().contains(last));
    EXPECT_TRUE(document().contains(QStringLiteral("<Headline>head %1</Headline>").arg(count - 1)));
    EXPECT_LT(document().indexOf(QStringLiteral("<id>6</id>")), document().indexOf(QStringLiteral("<id>8</id>")));
}

TEST_F(XmlExportTest, duplicateCatalogueRowsExportTheFirstRow)
{
    catalogue.add(kPhotos, QStringLiteral("twice.jpg"), {{"Headline", QStringLiteral("first")}});
    catalogue.addRowOnly(kPhotos, QStringLiteral("twice.jpg"), {{"Headline", QStringLiteral("second")}});
    run(false);
    EXPECT_TRUE(document().contains(QStringLiteral("<Headline>first</Headline>")));
    EXPECT_FALSE(document().contains(QStringLiteral("second")));
}

TEST_F(XmlExportTest, catalogueThatCannotOpenIsReportedAndLeavesAnEmptyDocument)
{
    catalogue.add(kPhotos, QStringLiteral("a.jpg"));
    catalogue.db.path = catalogue.folder.file(QStringLiteral("missing/none.db"));
    EXPECT_TRUE(run(false, QStringLiteral("T")).written);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.messages[0].text.startsWith(QStringLiteral("Cannot open '")));
    EXPECT_TRUE(document().endsWith(QStringLiteral("<Title>T</Title>\r\n</IPTCtoXML>\r\n")));
}

// The rows are streamed as the engine's bytes, no longer read as texts first: a cell of bytes
// that are no UTF-8 (a blob, a text written by another program), line breaks and numbers come
// out as the texts of the catalogue's table gave them.
TEST_F(XmlExportTest, cellsOfEveryKindAreWrittenAsTheirTexts)
{
    catalogue.add(kPhotos, QStringLiteral("odd.jpg"), {{"Caption", QStringLiteral("on\r\ntwo <lines>")}});
    ASSERT_TRUE(catalogue.db.open());
    ASSERT_EQ(catalogue.db.execute(QStringLiteral("update Images set Headline = x'41ff42', City = cast(x'c3a9e282ac' as text),"
                                                  " Width = 640, Height = NULL, Keywords = x'6f6e653b20ff' where File = 'odd.jpg';")),
              0);
    catalogue.db.close();
    run(false);
    const QString text = document();
    EXPECT_TRUE(text.contains(QStringLiteral("<Caption>ontwo &lt;lines&gt;</Caption>\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("<Headline>A&#xFFFD;B</Headline>\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("<City>\u00E9<euro/></City>\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("<Width>640</Width>\r\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("<Height>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<Keyword>one</Keyword>\r\n<Keyword>&#xFFFD;</Keyword>\r\n")));
}

TEST_F(XmlExportTest, documentWithEveryKindOfTextIsWellFormed)
{
    QString awkward = QStringLiteral("a\x01\x1f\x7f & <b> \" ' ");
    awkward += QChar(0x20AC);
    awkward += QStringLiteral(" 中文 ");
    awkward += QString::fromUtf8("\xF0\x9F\x93\xB7");
    catalogue.add(QStringLiteral("/ph&otos<1>/"), QStringLiteral("x&y.j<p>g"),
                  {{"Caption", awkward}, {"Keywords", awkward + u';' + awkward}, {"Customized", awkward}});
    run(false, awkward);
    QProcess xmllint;
    xmllint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), catalogue.folder.file(QStringLiteral("XML/Zelvarion.xml"))});
    ASSERT_TRUE(xmllint.waitForFinished(30000));
    EXPECT_EQ(xmllint.exitCode(), 0) << xmllint.readAllStandardError().toStdString();
}

} // namespace
