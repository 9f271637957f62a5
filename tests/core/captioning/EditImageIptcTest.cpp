// Saving one edited image: the values from the row come back as the file's slots, the datasets
// past the slots survive, the backup is made, and TIFF and PSD files are never written.
#include "core/catalogue/ScanTestSupport.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcTestBytes.h"
#include "core/captioning/EditImageIptc.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::test::iptcbytes;

namespace {

QByteArray captionedWithTwentyCustomized()
{
    QByteArray datasets = dataset2(120, "caption") + dataset2(25, "one") + dataset2(25, "two");
    for (int i = 0; i < 20; ++i)
        datasets += dataset2(200 + i, "value " + QByteArray::number(i));
    return jpegWithIptc(datasets);
}

template <typename Datasets>
QStringList texts(const Datasets &datasets)
{
    QStringList out;
    for (const CustomizedDataset &d : datasets)
        out << QString::number(d.number) + u'/' + d.value;
    return out;
}

class EditImageTest : public ::testing::Test
{
protected:
    IptcReadResult readBack(const QString &file) { return readImageIptc(scan.root + file, defaultCustomizedLabel()); }
    ImageSaveResult save(const QString &file, const ImageEdit &edit, const IptcWriteOptions &options = {})
    {
        return saveImageIptc(scan.db, scan.feedback, scan.root, file, edit, options, defaultCustomizedLabel(), nullptr,
                             QLocale::c());
    }
    ScanFixture scan;
};

TEST_F(EditImageTest, theRowsCustomizedLinesBecomeSlotsAndTheDatasetsPastThemSurvive)
{
    scan.write(QStringLiteral("a.jpg"), captionedWithTwentyCustomized());
    scan.registerFolders({scan.root});
    scan.scanFolder(scan.root);
    ASSERT_TRUE(scan.db.open());
    std::optional<ImageEdit> edit = imageEditFromCatalogue(scan.db, scan.feedback, scan.root, QStringLiteral("a.jpg"));
    scan.db.close();
    ASSERT_TRUE(edit);
    const IptcReadResult before = readBack(QStringLiteral("a.jpg"));
    EXPECT_EQ(texts(edit->fields.slots), texts(before.fields.slots)) << "the slots read back from the Customized column";
    EXPECT_EQ(edit->keywords, QStringList({QStringLiteral("one"), QStringLiteral("two")}));

    edit->fields.values[kCaptionIndex] = QStringLiteral("new caption");
    edit->fields.slots[0].value = QStringLiteral("changed");
    edit->keywords << QStringLiteral("three");
    const QString backups = scan.folder.path() + QStringLiteral("/backup/");
    ASSERT_TRUE(QDir().mkpath(backups));
    const ImageSaveResult saved = save(QStringLiteral("a.jpg"), *edit, {true, false, backups, false});
    ASSERT_TRUE(saved.saved) << saved.reason.toStdString();

    const IptcReadResult after = readBack(QStringLiteral("a.jpg"));
    EXPECT_EQ(after.fields.values[kCaptionIndex], QStringLiteral("new caption"));
    EXPECT_EQ(after.keywordEntries.size(), 3);
    EXPECT_EQ(after.fields.slots[0].value, QStringLiteral("changed"));
    EXPECT_EQ(texts(after.moreCustomized), texts(before.moreCustomized));
    ASSERT_EQ(after.moreCustomized.size(), 4u);
    QFile backup(backups + QStringLiteral("a.jpg"));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), captionedWithTwentyCustomized());
    const auto row = scan.rows(QStringLiteral("select Caption, LastRevisionDate from Images;"));
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0][0], QStringLiteral("new caption"));
    EXPECT_FALSE(row[0][1].isEmpty());
}

TEST_F(EditImageTest, onlyRowsWithAValueAndACustomizedNumberBecomeSlots)
{
    TemplateValues values;
    values.customized[0] = {QStringLiteral("25"), QStringLiteral("a keywords dataset")};
    values.customized[1] = {QStringLiteral("abc"), QStringLiteral("no number")};
    values.customized[2] = {QStringLiteral("201"), QString()};
    values.customized[3] = {QStringLiteral("202"), QStringLiteral("kept")};
    const ImageEdit edit = imageEditFrom(values, {}, {});
    EXPECT_EQ(edit.fields.slots[0].number, 202);
    EXPECT_EQ(edit.fields.slots[0].value, QStringLiteral("kept"));
    EXPECT_EQ(edit.fields.slots[1].number, -1);
}

TEST_F(EditImageTest, tiffAndPsdFilesAreNeverWritten)
{
    const QByteArray tiff = QByteArray("II*\0", 4) + QByteArray(64, '\0');
    for (const QString &name : {QStringLiteral("scan.TIF"), QStringLiteral("layers.psd")}) {
        scan.write(name, tiff);
        ImageEdit edit;
        edit.fields.values[kCaptionIndex] = QStringLiteral("never");
        EXPECT_FALSE(save(name, edit).saved);
        QFile file(scan.root + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), tiff);
    }
    EXPECT_FALSE(isReadOnlyForIptc(QStringLiteral("/p/a.jpeg")));
}

} // namespace
