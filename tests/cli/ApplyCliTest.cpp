// A real run: zelvarion-cli scan a folder of real and generated JPEG files, template set, apply
// --yes in each mode; then zelvarion-cli read and exiftool agree on every written field, every
// other segment and resource is byte-identical, the catalogue rows equal the files, a TIFF and a
// PSD are listed as not processed and unchanged, a file deleted after the scan is skipped.
#include "CliRunner.h"
#include "UnchangedParts.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueWriteLock.h"
#include "core/session/LanguagePack.h"
#include "support/RecordingFeedback.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/JpegSegments.h"
#include "support/GeneratedJpeg.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>
#include <unistd.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

const char *const kSamples[] = {
    "iptc/metadata-extractor-images/jpg/Canon EOS 7D.jpg",          // 0x03ED before 0x0404, Exif thumbnail, XMP
    "iptc/metadata-extractor-images/jpg/Photoshop (3).jpg",         // UTF-8 declared, digest
    "iptc/metadata-extractor-images/jpg/Issue 258 (dotnet).jpg",    // 26 datasets, repeated keywords
    "iptc/metadata-extractor-images/jpg/Nikon D1X.jpg",             // 8-bit text
    "iptc/pillow/Tests/images/iptc.jpg",
};
const char *const kNotJpeg[] = {"iptc/pillow/Tests/images/hopper.psd", "iptc/pillow/Tests/images/hopper.Lab.tif"};

// The template: five fields, one with text beyond Windows-1252 (so the segment is UTF-8 behind
// 1:90), and a customized dataset.
const QStringList kTemplate = {QStringLiteral("City=Zürich"), QStringLiteral("Headline=Markets rally in Łódź"),
                               QStringLiteral("Caption=Ein Bild aus Zürich \u2014 2005"), QStringLiteral("Credit=Desk"),
                               QStringLiteral("Keywords=desk; wire; Budapest"), QStringLiteral("--customized"),
                               QStringLiteral("200=from the template")};
// Catalogue column -> exiftool tag, for the template's fields.
const std::pair<const char *, const char *> kTags[] = {
    {"City", "City"}, {"Headline", "Headline"}, {"Caption", "Caption-Abstract"}, {"Credit", "Credit"}};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}


QStringList asList(const QJsonValue &value)
{
    if (value.isArray()) {
        QStringList entries;
        for (const QJsonValue &entry : value.toArray())
            entries << entry.toVariant().toString();
        return entries;
    }
    return value.isUndefined() ? QStringList() : QStringList{value.toVariant().toString()};
}

class ApplyCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *sample : kSamples) {
            const QString name = QFileInfo(QLatin1String(sample)).fileName();
            originals[folder.write(QStringLiteral("photos/") + name, readAll(testDataFile(QLatin1String(sample))))] =
                readAll(testDataFile(QLatin1String(sample)));
        }
        for (int i = 0; i < 3; ++i) {
            const QByteArray bytes = generated::generatedJpeg(QSize(640, 480), i + 1,
                                                              generated::iimDataset(90, "Lyon") + generated::iimDataset(25, "kept"));
            originals[folder.write(QStringLiteral("photos/generated%1.jpg").arg(i), bytes)] = bytes;
        }
        for (const char *other : kNotJpeg)
            notJpeg[folder.write(QStringLiteral("photos/") + QFileInfo(QLatin1String(other)).fileName(),
                                 readAll(testDataFile(QLatin1String(other))))] = readAll(testDataFile(QLatin1String(other)));
        deleted = folder.write(QStringLiteral("photos/deleted.jpg"), generated::generatedJpeg(QSize(64, 48), 9, {}));
        const CliRun scan = cli({QStringLiteral("scan"), folder.file(QStringLiteral("photos"))});
        ASSERT_EQ(scan.exitCode, 0) << scan.out.toStdString() << scan.err.toStdString();
        QFile::remove(deleted);
        ASSERT_EQ(cli({QStringLiteral("template"), QStringLiteral("add"), QStringLiteral("Shoot")}).exitCode, 0);
        ASSERT_EQ(cli(QStringList{QStringLiteral("template"), QStringLiteral("set"), QStringLiteral("Shoot")} + kTemplate).exitCode, 0);
        ASSERT_EQ(cli({QStringLiteral("template"), QStringLiteral("use"), QStringLiteral("Shoot")}).exitCode, 0);
    }
    CliRun cli(QStringList arguments)
    {
        arguments.prepend(folder.path());
        arguments.prepend(QStringLiteral("--program-folder"));
        return runCli(arguments);
    }
    QJsonObject readJson(const QString &path)
    {
        const CliRun run = cli({QStringLiteral("read"), QStringLiteral("--json"), path});
        return QJsonDocument::fromJson(run.out.toUtf8()).array().first().toObject()[QStringLiteral("fields")].toObject();
    }
    // What exiftool reads of the written fields.
    void expectExiftoolAgrees(const QString &path)
    {
        const CliRun run = runProgram(exiftoolPath(), {QStringLiteral("-j"), QStringLiteral("-charset"),
                                                       QStringLiteral("iptc=Latin"), QStringLiteral("-IPTC:all"), path});
        const QJsonObject tags = QJsonDocument::fromJson(run.out.toUtf8()).array().first().toObject();
        const QJsonObject ours = readJson(path);
        for (const auto &[column, tag] : kTags)
            EXPECT_EQ(tags[QLatin1String(tag)].toVariant().toString(), ours[QLatin1String(column)].toString())
                << path.toStdString() << " " << tag;
        EXPECT_EQ(asList(tags[QStringLiteral("Keywords")]).join(QStringLiteral("; ")), ours[QStringLiteral("Keywords")].toString())
            << path.toStdString();
    }
    // Rows equal the files; every other segment and resource stays byte for byte.
    void expectFilesRowsAndRest(const QString &mode)
    {
        CatalogueDb db;
        db.path = folder.file(QStringLiteral("Images.db"));
        ASSERT_TRUE(db.open());
        for (const auto &[path, before] : originals) {
            const QByteArray after = readAll(path);
            EXPECT_EQ(withoutIptcXmpAndDigest(after), withoutIptcXmpAndDigest(before)) << mode.toStdString() << path.toStdString();
            EXPECT_EQ(otherResourcesWithoutDigest(after), otherResourcesWithoutDigest(before)) << path.toStdString();
            const IptcFieldSet file = readImageIptc(path, QStringLiteral("Field")).fields;
            const QFileInfo info(path);
            ASSERT_EQ(db.execute(QStringLiteral("select * from Images where Folder=%1 and File=%2;")
                                     .arg(sqlText(info.absolutePath() + u'/'), sqlText(info.fileName()))), 0);
            ASSERT_EQ(db.rowCount(), 1);
            for (int i = 0; i < kIptcFieldCount; ++i)
                EXPECT_EQ(db.cell(2 + i, 1), file.values[std::size_t(i)]) << mode.toStdString() << path.toStdString() << i;
            EXPECT_FALSE(db.cell(42, 1).isEmpty());
            expectExiftoolAgrees(path);
        }
        db.close();
        for (const auto &[path, bytes] : notJpeg)
            EXPECT_EQ(readAll(path), bytes) << path.toStdString();
    }
    void restoreOriginals()
    {
        for (const auto &[path, bytes] : originals)
            folder.write(path.mid(folder.path().size() + 1), bytes);
    }

    TempFolder folder;
    std::map<QString, QByteArray> originals;
    std::map<QString, QByteArray> notJpeg;
    QString deleted;
};

} // namespace

TEST_F(ApplyCliTest, everyModeWritesWhatExiftoolReadsAndLeavesTheRestAlone)
{
    if (exiftoolPath().isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    const QStringList modes[] = {{QStringLiteral("--mode"), QStringLiteral("0")},
                                 {QStringLiteral("--mode"), QStringLiteral("1"), QStringLiteral("--add-keywords")},
                                 {QStringLiteral("--mode"), QStringLiteral("2")}};
    for (const QStringList &mode : modes) {
        restoreOriginals();
        const CliRun run = cli(QStringList{QStringLiteral("apply"), QStringLiteral("--yes")} + mode
                               + QStringList{QStringLiteral("photos")});
        const QString name = mode.join(u' ');
        EXPECT_EQ(run.exitCode, 1) << name.toStdString() << run.err.toStdString(); // the TIFF and the PSD
        for (const auto &[path, bytes] : notJpeg)
            EXPECT_TRUE(run.out.contains(QStringLiteral("not processed: ") + path + QStringLiteral(": not a JPEG file")))
                << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("skipped: ") + deleted));
        EXPECT_EQ(run.out.count(QStringLiteral("written: ")), int(originals.size())) << run.out.toStdString();
        EXPECT_TRUE(run.out.endsWith(QStringLiteral("%1 images processed.\n").arg(originals.size())));
        expectFilesRowsAndRest(name);
    }
    // Mode 2 made every image equal to the template; the image that had its own keywords lost them.
    const QJsonObject canon = readJson(folder.file(QStringLiteral("photos/Canon EOS 7D.jpg")));
    EXPECT_EQ(canon[QStringLiteral("Keywords")].toString(), u"desk; wire; Budapest");
    EXPECT_EQ(canon[QStringLiteral("City")].toString(), u"Zürich");
    EXPECT_TRUE(canon[QStringLiteral("Copyright")].toString().isEmpty());
}

TEST_F(ApplyCliTest, dryRunWritesNothingAndShowsEveryChange)
{
    const CliRun run = cli({QStringLiteral("apply"), QStringLiteral("--dry-run"), QStringLiteral("--mode"), QStringLiteral("1"),
                            QStringLiteral("photos")});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    for (const auto &[path, bytes] : originals)
        EXPECT_EQ(readAll(path), bytes) << path.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("would write: ") + folder.file(QStringLiteral("photos/generated0.jpg"))
                                 + QStringLiteral("\n")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("  City: Lyon \u2192 Zürich\n"))) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("  Keywords: kept \u2192"))); // mode 1 without a keyword option
    CatalogueDb db;
    db.path = folder.file(QStringLiteral("Images.db"));
    ASSERT_TRUE(db.open());
    ASSERT_EQ(db.execute(QStringLiteral("select count(*) from Images where LastRevisionDate != '';")), 0);
    EXPECT_EQ(db.cell(0, 1), u"0");
    db.close();
}

TEST_F(ApplyCliTest, refusesWithoutATerminalAndBadOptions)
{
    const QStringList refused[] = {
        {QStringLiteral("photos")}, // no --yes and standard input is not a terminal
        {QStringLiteral("--yes"), QStringLiteral("--mode"), QStringLiteral("3"), QStringLiteral("photos")},
        {QStringLiteral("--yes"), QStringLiteral("--mode"), QStringLiteral("2"), QStringLiteral("--add-keywords"), QStringLiteral("photos")},
        {QStringLiteral("--yes"), QStringLiteral("--add-keywords"), QStringLiteral("--remove-keywords"), QStringLiteral("photos")},
        {QStringLiteral("--yes"), QStringLiteral("--frobnicate")},
    };
    for (const QStringList &arguments : refused) {
        const CliRun run = cli(QStringList{QStringLiteral("apply")} + arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    ASSERT_EQ(cli({QStringLiteral("template"), QStringLiteral("unuse")}).exitCode, 0);
    EXPECT_EQ(cli({QStringLiteral("apply"), QStringLiteral("--yes"), QStringLiteral("photos")}).exitCode, 1);
    for (const auto &[path, bytes] : originals)
        EXPECT_EQ(readAll(path), bytes) << path.toStdString();
}

// A second run on the catalogue while another command holds it: it says it waits, touches no
// file meanwhile, and runs once the other has ended.
TEST_F(ApplyCliTest, aSecondRunWaitsWithAMessageAndTouchesNothingMeanwhile)
{
    LanguagePack english;
    english.loadShippedEnglish();
    RecordingFeedback told;
    CatalogueWriteLock first(folder.file(QStringLiteral("Images.db")));
    ASSERT_TRUE(first.takeOrRefuse(told, english));
    QProcess second;
    second.start(QStringLiteral(ZELVARION_CLI_PATH), {QStringLiteral("--program-folder"), folder.path(), QStringLiteral("apply"),
                                                      QStringLiteral("--yes"), QStringLiteral("--mode"), QStringLiteral("1"),
                                                      QStringLiteral("photos")});
    second.setReadChannel(QProcess::StandardError);
    ASSERT_TRUE(second.waitForReadyRead(20000));
    QThread::msleep(300);
    const QString waiting = QString::fromUtf8(second.readAllStandardError());
    EXPECT_TRUE(waiting.contains(english.message(Message::CatalogueBusyWaiting).replace(u'#', folder.file(QStringLiteral("Images.db")))))
        << waiting.toStdString();
    for (const auto &[path, bytes] : originals)
        EXPECT_EQ(readAll(path), bytes) << path.toStdString();
    first.release();
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitCode(), 1); // the TIFF and the PSD are not processed
    for (const auto &[path, bytes] : originals)
        EXPECT_EQ(readImageIptc(path, QStringLiteral("Field")).fields.values[20], QStringLiteral("Zürich")) << path.toStdString();
}

// Every row update refused: the files written so far are named, the run ends, and the exit says so.
TEST_F(ApplyCliTest, rowsThatCannotBeUpdatedAreListedAndFailTheRun)
{
    CatalogueDb db;
    db.path = folder.file(QStringLiteral("Images.db"));
    ASSERT_TRUE(db.open());
    ASSERT_EQ(db.execute(QStringLiteral("create trigger refused before update on Images "
                                        "begin select raise(abort, 'database disk image is malformed'); end;")), 0);
    db.close();
    const CliRun run = cli({QStringLiteral("apply"), QStringLiteral("--yes"), QStringLiteral("photos")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Cannot set data"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("catalogue rows could not be updated"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("were left as they were"))) << run.err.toStdString();
    const qsizetype written = run.out.count(QStringLiteral("\nwritten: ")) + (run.out.startsWith(QStringLiteral("written: ")) ? 1 : 0);
    EXPECT_GE(written, 1);
    EXPECT_EQ(run.out.count(QStringLiteral("row not updated: ")), written) << run.out.toStdString();
}

// A catalogue its user may read but not write: the run says so and no file is touched. Root writes
// whatever the permissions say, so the run is made by another user.
TEST_F(ApplyCliTest, aCatalogueThatCannotBeWrittenIsFoundBeforeAnyFile)
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (::geteuid() != 0 || setpriv.isEmpty())
        GTEST_SKIP() << "needs root and setpriv(1) to run as a user who cannot write the catalogue";
    // The catalogue and its folder stay root's; the images, the settings and the lock are open to all.
    const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther
                          | QFile::WriteOther;
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                             | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(folder.file(QStringLiteral("photos")), everyone | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    for (const auto &[path, bytes] : originals)
        QFile::setPermissions(path, everyone);
    folder.write(QStringLiteral("Images.db.lock"), {});
    QFile::setPermissions(folder.file(QStringLiteral("Images.db.lock")), everyone);
    const CliRun run = runProgram(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                            QStringLiteral("--clear-groups"), QStringLiteral(ZELVARION_CLI_PATH),
                                            QStringLiteral("--program-folder"), folder.path(), QStringLiteral("apply"),
                                            QStringLiteral("--yes"), QStringLiteral("--mode"), QStringLiteral("1"),
                                            QStringLiteral("photos")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("cannot be written, so no image was changed"))) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("written: "))) << run.out.toStdString();
    for (const auto &[path, bytes] : originals)
        EXPECT_EQ(readAll(path), bytes) << path.toStdString();
}
