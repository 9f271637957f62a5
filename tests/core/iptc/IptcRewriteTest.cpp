#include "IptcFieldSetPrinter.h"
#include "IptcTestBytes.h"

#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcWriter.h"
#include "core/iptc/JpegSegments.h"
#include "platform/AtomicFile.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::test::iptcbytes;

namespace {

IptcSegment segmentWith(int index, const QString &value)
{
    IptcFieldSet values;
    values.values[std::size_t(index)] = value;
    return buildIptcSegment(values, {}, {});
}

IptcFieldSet captionSet(const QString &caption)
{
    IptcFieldSet values;
    values.values[30] = caption;
    return values;
}

} // namespace

// --- composing the new content ---

TEST(IptcRewriteContent, fileWithoutIptcGainsSegmentRightAfterStartOfImage)
{
    const QByteArray original = jpeg({app0()});
    const IptcSegment segment = segmentWith(0, QStringLiteral("abc")); // D = 8
    const QByteArray rewritten = composeJpegContent(original, findIptcSegmentOnChain(original), segment);
    EXPECT_EQ(rewritten.size(), original.size() + 8 + 30);
    EXPECT_EQ(rewritten.mid(2, segment.bytes.size()), segment.bytes);
    EXPECT_EQ(rewritten.mid(2 + segment.bytes.size()), original.mid(2));
}

TEST(IptcRewriteContent, rewritingOwnSegmentReplacesIt)
{
    const QByteArray once = composeJpegContent(jpeg({app0()}), std::nullopt, segmentWith(0, QStringLiteral("one")));
    const IptcSegment second = segmentWith(0, QStringLiteral("two"));
    const QByteArray twice = composeJpegContent(once, findIptcSegmentOnChain(once), second);
    EXPECT_EQ(twice, composeJpegContent(jpeg({app0()}), std::nullopt, second));
}

TEST(IptcRewriteContent, allEmptyRemovesTheOldSegmentAndAddsNone)
{
    const QByteArray original = jpegWithIptc(dataset2(5, "old"));
    IptcFieldSet empty;
    const IptcSegment none = buildIptcSegment(empty, {}, {});
    EXPECT_EQ(composeJpegContent(original, findIptcSegmentOnChain(original), none), jpeg({app0()}));
}

TEST(IptcRewriteContent, markerBytesInsideAPreviewAreNeverCut)
{
    // An embedded preview carrying its own IPTC segment inside APP1: the chain walk passes it.
    const QByteArray preview = segment(0xE1, QByteArray("Exif\0\0", 6) + app13(resource(0x0404, dataset2(5, "preview"))));
    const QByteArray original = jpeg({preview, app13(resource(0x0404, dataset2(5, "main")))});
    const auto old = findIptcSegmentOnChain(original);
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(old->marker, 2 + preview.size());
    const QByteArray rewritten = composeJpegContent(original, old, segmentWith(0, QStringLiteral("new")));
    EXPECT_TRUE(rewritten.contains(preview));
    EXPECT_EQ(readIptcFromBytes(rewritten, QStringLiteral("a.jpg"), QStringLiteral("Field")).fields.values[0], u"new");
}

TEST(IptcRewriteContent, segmentsABlockRunsOnIntoAreReplacedTogether)
{
    const QByteArray split = resource(0x0406, QByteArray(40, 'c'));
    const QByteArray first = app13(resource(0x0404, dataset2(5, "old")) + split.left(20));
    const QByteArray second = app13(split.mid(20));
    const QByteArray original = jpeg({app0(), first, second, app13(resource(0x0409, "other"))});
    const auto old = findIptcSegmentOnChain(original);
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(old->length + 2, first.size() + second.size()); // the next, whole segment is not part of it
    EXPECT_FALSE(resourcesContinueInNextSegment(original, old));
    EXPECT_EQ(otherPhotoshopResources(original, old), split);
    IptcFieldSet values;
    values.values[0] = QStringLiteral("new");
    const IptcSegment segment = buildIptcSegment(values, {}, {}, otherPhotoshopResources(original, old));
    const QByteArray rewritten = composeJpegContent(original, old, segment);
    EXPECT_EQ(rewritten, jpeg({segment.bytes, app0(), app13(resource(0x0409, "other"))}));
}

TEST(IptcRewriteContent, aPaddingByteSplitIntoTheNextSegmentBelongsToTheRun)
{
    const QByteArray odd = resource(0x0406, "odd"); // three data bytes and a padding byte
    const QByteArray blocks = resource(0x0404, dataset2(5, "x")) + odd + resource(0x0409, "next");
    const qsizetype cut = blocks.indexOf(odd) + odd.size() - 1;
    const QByteArray original = jpeg({app13(blocks.left(cut)), app13(blocks.mid(cut)), app0()});
    const auto run = findIptcSegmentOnChain(original);
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->length + 2, original.indexOf(app0()) - 2);
    EXPECT_EQ(otherPhotoshopResources(original, run), odd + resource(0x0409, "next"));
}

TEST(IptcRewriteContent, chainWalkStopsAtBrokenOrOverlongSegments)
{
    const QByteArray iptc = app13(resource(0x0404, dataset2(5, "x")));
    EXPECT_FALSE(findIptcSegmentOnChain(QByteArray("\xFF\xD8\x00\x00", 4) + iptc).has_value());
    EXPECT_FALSE(findIptcSegmentOnChain(QByteArray("\xFF\xD8", 2) + iptc.left(iptc.size() - 1)).has_value());
    EXPECT_FALSE(findIptcSegmentOnChain(QByteArray("\xFF\xD9", 2) + iptc).has_value());
    EXPECT_TRUE(findIptcSegmentOnChain(QByteArray("\xFF\xD8\xFF\xFF", 4) + iptc).has_value()); // fill byte
}

// --- files ---

TEST(IptcRewriteFile, writesAndReadsBackKeepingOtherSegmentsByteForByte)
{
    TempFolder folder;
    const QByteArray exif = segment(0xE1, QByteArray("Exif\0\0 some data", 16));
    const QByteArray original = jpeg({app0(), exif, app13(resource(0x03ED, QByteArray(16, 'r')) + resource(0x0404, dataset2(5, "old")))});
    const QString path = folder.write(QStringLiteral("a.jpg"), original);
    IptcFieldSet values = captionSet(QStringLiteral("new caption"));
    const IptcWriteResult result = writeImageIptc(path, values, {QStringLiteral("k")}, {}, IptcWriteOptions{});
    ASSERT_TRUE(result.written) << result.reason.toStdString();
    const QByteArray written = folder.read(QStringLiteral("a.jpg"));
    const IptcReadResult read = readImageIptc(path, QStringLiteral("Field"));
    EXPECT_EQ(read.fields.values[30], u"new caption");
    EXPECT_EQ(read.fields.values[kKeywordsIndex], u"k");
    EXPECT_TRUE(read.fields.values[0].isEmpty());
    // Everything after the new segment is the original without its old segment.
    const auto oldSegment = findIptcSegmentOnChain(original);
    QByteArray expectedRest = original;
    expectedRest.remove(oldSegment->marker, oldSegment->length + 2);
    EXPECT_EQ(written.mid(2 + read.segment->length + 2), expectedRest.mid(2));
    EXPECT_TRUE(written.contains(resource(0x03ED, QByteArray(16, 'r'))));
}

TEST(IptcRewriteFile, refusesFilesThatAreNotJpeg)
{
    TempFolder folder;
    struct Case { const char *name; QByteArray bytes; };
    const Case cases[] = {
        {"photo.tif", QByteArray("II*\0", 4) + resource(0x0404, dataset2(5, "t"))},
        {"half.jpg", QByteArray("\xFF\x00", 2) + app13(resource(0x0404, dataset2(5, "t")))},
        {"empty.jpg", QByteArray()},
    };
    for (const Case &c : cases) {
        const QString path = folder.write(QString::fromLatin1(c.name), c.bytes);
        IptcFieldSet values = captionSet(QStringLiteral("x"));
        EXPECT_FALSE(writeImageIptc(path, values, {}, {}, IptcWriteOptions{}).written) << c.name;
        EXPECT_EQ(folder.read(QString::fromLatin1(c.name)), c.bytes) << c.name;
    }
    IptcFieldSet values = captionSet(QStringLiteral("x"));
    EXPECT_FALSE(writeImageIptc(folder.file(QStringLiteral("missing.jpg")), values, {}, {}, {}).written);
}

TEST(IptcRewriteFile, readOnlyFileIsNotWritten)
{
    TempFolder folder;
    const QByteArray original = jpeg({app0()});
    const QString path = folder.write(QStringLiteral("a.jpg"), original);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup);
    IptcFieldSet values = captionSet(QStringLiteral("x"));
    const IptcWriteResult result = writeImageIptc(path, values, {}, {}, {});
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason, u"the file is read-only");
    EXPECT_EQ(folder.read(QStringLiteral("a.jpg")), original);
}

TEST(IptcRewriteFile, resourceSplitOverSegmentsIsWrittenBackWhole)
{
    TempFolder folder;
    QStringList keywords;
    QByteArray data;
    for (int i = 0; i < 8000; ++i) {
        keywords << QStringLiteral("keyword %1").arg(i);
        data += dataset2(25, keywords.last().toLatin1());
    }
    // Split as other programs split it: the blocks cut where a segment is full.
    const QByteArray blocks = resource(0x0404, data) + resource(0x0406, "kept");
    QList<QByteArray> segments = {app0()};
    for (qsizetype at = 0; at < blocks.size(); at += 65519)
        segments << app13(blocks.mid(at, 65519));
    const QString path = folder.write(QStringLiteral("a.jpg"), jpeg(segments));
    const IptcReadResult read = readImageIptc(path, QStringLiteral("Field"));
    ASSERT_EQ(read.keywordEntries.size(), 8000);
    IptcFieldSet values = read.fields;
    values.values[30] = QStringLiteral("new caption");
    const IptcWriteResult result = writeImageIptc(path, values, read.keywordEntries, {}, {});
    ASSERT_TRUE(result.written) << result.reason.toStdString();
    const IptcReadResult back = readImageIptc(path, QStringLiteral("Field"));
    EXPECT_EQ(back.keywordEntries, keywords);
    EXPECT_EQ(back.fields.values[30], u"new caption");
    EXPECT_TRUE(back.damage.isEmpty());
    const QByteArray written = folder.read(QStringLiteral("a.jpg"));
    EXPECT_TRUE(otherPhotoshopResources(written, findIptcSegmentOnChain(written)).startsWith(resource(0x0406, "kept")));
    EXPECT_EQ(written.count(QByteArray("Photoshop 3.0")), 3); // 130 kB of blocks in three segments
}

TEST(IptcRewriteFile, damagedResourceLeavesTheFileUnchanged)
{
    TempFolder folder;
    QByteArray block = resource(0x0404, dataset2(5, "old"));
    block[8] = char(0x7F); // the size claims far more than the segment holds
    const QByteArray original = jpeg({app0(), app13(block)});
    const QString path = folder.write(QStringLiteral("a.jpg"), original);
    IptcFieldSet values;
    values.values[0] = QStringLiteral("new");
    const IptcWriteResult result = writeImageIptc(path, values, {}, {}, {});
    EXPECT_FALSE(result.written);
    EXPECT_TRUE(result.reason.contains(QStringLiteral("damaged")));
    EXPECT_EQ(folder.read(QStringLiteral("a.jpg")), original);
}

TEST(IptcRewriteFile, valueOverItsLimitLeavesTheFileUnchanged)
{
    TempFolder folder;
    const QByteArray original = jpegWithIptc(dataset2(5, "old"));
    const QString path = folder.write(QStringLiteral("a.jpg"), original);
    IptcFieldSet values;
    values.values[30] = QString(1200, QChar(0x65E5));
    const IptcWriteResult result = writeImageIptc(path, values, {}, {}, {});
    EXPECT_FALSE(result.written);
    EXPECT_TRUE(result.reason.contains(QStringLiteral("3600"))) << result.reason.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("a.jpg")), original);
}

TEST(IptcRewriteFile, failureAtAnyReplacementStepLeavesTheOriginalIntact)
{
    using atomicfile::Step;
    for (Step step : {Step::CreateTemporary, Step::Write, Step::Flush, Step::CopyAttributes, Step::Rename}) {
        TempFolder folder;
        const QByteArray original = jpegWithIptc(dataset2(5, "old"));
        const QString path = folder.write(QStringLiteral("a.jpg"), original);
        atomicfile::setInjectedFailure(step);
        IptcFieldSet values = captionSet(QStringLiteral("new"));
        const IptcWriteResult result = writeImageIptc(path, values, {}, {}, {});
        atomicfile::setInjectedFailure(Step::None);
        EXPECT_FALSE(result.written) << int(step);
        EXPECT_FALSE(result.reason.isEmpty()) << int(step);
        EXPECT_EQ(folder.read(QStringLiteral("a.jpg")), original) << int(step);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.jpg")}) << int(step);
    }
}

TEST(IptcRewriteFile, keepsPermissionsAndExtendedAttributes)
{
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("a.jpg"), jpeg({app0()}));
    const QByteArray native = QFile::encodeName(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const bool withAttribute = ::setxattr(native.constData(), "user.zelvarion.test", "kept", 4, 0) == 0;
    IptcFieldSet values = captionSet(QStringLiteral("x"));
    ASSERT_TRUE(writeImageIptc(path, values, {}, {}, {}).written);
    struct stat info{};
    ASSERT_EQ(::stat(native.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (!withAttribute)
        GTEST_SKIP() << "this file system takes no user attributes";
    char value[8] = {};
    EXPECT_EQ(::getxattr(native.constData(), "user.zelvarion.test", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
}

// A file made by the atomic path (a first backup copy, an export) is readable by others as any
// new file would be, not left with the temporary file's owner-only mode.
TEST(IptcRewriteFile, newFileTakesTheModeOfAnOrdinaryNewFile)
{
    TempFolder folder;
    const mode_t mask = ::umask(022);
    const QString path = folder.file(QStringLiteral("new.xml"));
    const atomicfile::Result result = atomicfile::replaceFileContent(path, QByteArrayView("<a/>"));
    ::umask(mask);
    ASSERT_TRUE(result.ok) << result.systemText.toStdString();
    struct stat info{};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST(IptcRewriteFile, backupKeepsFirstOrLatestVersionAsAsked)
{
    for (bool firstVersion : {true, false}) {
        TempFolder folder;
        QDir().mkpath(folder.file(QStringLiteral("backup")));
        const QByteArray original = jpeg({app0()});
        const QString path = folder.write(QStringLiteral("a.jpg"), original);
        const IptcWriteOptions options{true, firstVersion, folder.file(QStringLiteral("backup/")), false};
        IptcFieldSet one = captionSet(QStringLiteral("one"));
        ASSERT_TRUE(writeImageIptc(path, one, {}, {}, options).written);
        const QByteArray afterFirst = folder.read(QStringLiteral("a.jpg"));
        IptcFieldSet two = captionSet(QStringLiteral("two"));
        ASSERT_TRUE(writeImageIptc(path, two, {}, {}, options).written);
        EXPECT_EQ(folder.read(QStringLiteral("backup/a.jpg")), firstVersion ? original : afterFirst);
    }
}

TEST(IptcRewriteFile, noBackupWithoutOptionOrFolder)
{
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("a.jpg"), jpeg({app0()}));
    EXPECT_TRUE(backupOriginalFile(path, IptcWriteOptions{false, false, folder.path() + u'/', false}).ok);
    // Asked for and impossible: a failure the caller must heed.
    EXPECT_FALSE(backupOriginalFile(path, IptcWriteOptions{true, false, folder.file(QStringLiteral("none/")), false}).ok);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("a.jpg")});
}

TEST(IptcRewriteFile, noFileIsRewrittenWithoutTheBackupAskedFor)
{
    TempFolder folder;
    const QByteArray original = jpeg({app0()});
    const QString path = folder.write(QStringLiteral("a.jpg"), original);
    struct Case { const char *name; IptcWriteOptions options; };
    const Case cases[] = {
        {"folder gone", {true, false, folder.file(QStringLiteral("gone/")), false}},
        {"no folder set", {true, false, QString(), false}},
        {"backup onto the image itself", {true, true, folder.path() + u'/', false}},
    };
    for (const Case &c : cases) {
        IptcFieldSet values = captionSet(QStringLiteral("x"));
        const IptcWriteResult result = writeImageIptc(path, values, {}, {}, c.options);
        EXPECT_FALSE(result.written) << c.name;
        EXPECT_FALSE(result.reason.isEmpty()) << c.name;
        EXPECT_EQ(folder.read(QStringLiteral("a.jpg")), original) << c.name;
    }
}

TEST(IptcRewriteFile, keepingTheCreationDateKeepsTheModificationTime)
{
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("a.jpg"), jpeg({app0()}));
    const QDateTime old = QDateTime(QDate(2004, 7, 15), QTime(9, 5, 0));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append) && file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    for (bool keep : {true, false}) {
        IptcFieldSet values = captionSet(keep ? QStringLiteral("kept") : QStringLiteral("new"));
        ASSERT_TRUE(writeImageIptc(path, values, {}, {}, IptcWriteOptions{false, false, {}, keep}).written);
        EXPECT_EQ(QFileInfo(path).lastModified() == old, keep);
    }
}

TEST(IptcRewriteFile, customizedDatasetsPastTheSlotsAreWrittenAfterThem)
{
    IptcFieldSet values;
    values.slots[0] = {200, QStringLiteral("slot")};
    const std::vector<CustomizedDataset> more{{201, QStringLiteral("more")}, {202, QStringLiteral("again")}};
    const IptcSegment segment = buildIptcSegment(values, {}, {}, {}, more);
    const IptcReadResult read = readIptcFromBytes(jpeg({segment.bytes}), QStringLiteral("a.jpg"), QStringLiteral("Field"));
    EXPECT_EQ(read.fields.values[kCustomizedIndex],
              u"Field 200: slot\r\nField 201: more\r\nField 202: again\r\n");
}
