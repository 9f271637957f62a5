// Template variables and code replacements as a user meets them: a template naming the file, its
// date, its rank and its city applied to copies of real photographs in each mode, read back with
// zelvarion-cli read and exiftool file by file; templates and writes refused when a variable cannot
// be expanded; a value too long for one image leaving that image alone; codes replaced in values.
#include "CliRunner.h"

#include "support/GeneratedJpeg.h"
#include "support/TempFolder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

const char *const kSamples[] = {
    "iptc/metadata-extractor-images/jpg/Canon EOS 7D.jpg",       // City, caption and headline
    "iptc/metadata-extractor-images/jpg/Photoshop (3).jpg",      // a caption, no city
    "iptc/metadata-extractor-images/jpg/Issue 258 (dotnet).jpg", // every field
    "iptc/metadata-extractor-images/jpg/Nikon D1X.jpg",          // 8-bit text, no city
    "iptc/pillow/Tests/images/iptc.jpg",                         // a city only
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString fileBase(const QString &path) { return QFileInfo(path).completeBaseName(); }

class VariablesCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *sample : kSamples) {
            const QByteArray bytes = readAll(testDataFile(QLatin1String(sample)));
            originals[folder.write(QStringLiteral("Shoot/") + QFileInfo(QLatin1String(sample)).fileName(), bytes)] = bytes;
        }
        const CliRun scan = cli({QStringLiteral("scan"), folder.file(QStringLiteral("Shoot"))});
        ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
        ASSERT_EQ(cli({QStringLiteral("template"), QStringLiteral("add"), QStringLiteral("Var")}).exitCode, 0);
        ASSERT_EQ(cli({QStringLiteral("template"), QStringLiteral("use"), QStringLiteral("Var")}).exitCode, 0);
    }
    CliRun cli(QStringList arguments)
    {
        arguments.prepend(folder.path());
        arguments.prepend(QStringLiteral("--program-folder"));
        return runCli(arguments);
    }
    CliRun setTemplate(const QStringList &values)
    {
        return cli(QStringList{QStringLiteral("template"), QStringLiteral("set"), QStringLiteral("Var")} + values);
    }
    // The fields of a file as the program's own read gives them.
    QJsonObject read(const QString &path)
    {
        const CliRun run = cli({QStringLiteral("read"), QStringLiteral("--json"), path});
        return QJsonDocument::fromJson(run.out.toUtf8()).array().first().toObject()[QStringLiteral("fields")].toObject();
    }
    QString field(const QString &path, const char *column) { return read(path)[QLatin1String(column)].toString(); }
    // The images of the folder in the order the run takes them: the search's.
    QStringList resultOrder()
    {
        QStringList paths;
        for (const QString &line : cli({QStringLiteral("search"), QStringLiteral("Shoot")}).out.split(u'\n', Qt::SkipEmptyParts))
            paths << line.section(u'\t', 0, 0) + line.section(u'\t', 1);
        return paths;
    }
    QJsonObject exiftool(const QStringList &arguments, const QString &path)
    {
        const CliRun run = runProgram(exiftoolPath(), QStringList{QStringLiteral("-j")} + arguments + QStringList{path});
        return QJsonDocument::fromJson(run.out.toUtf8()).array().first().toObject();
    }
    void restoreOriginals()
    {
        for (const auto &[path, bytes] : originals)
            folder.write(path.mid(folder.path().size() + 1), bytes);
    }

    TempFolder folder;
    std::map<QString, QByteArray> originals;
};

} // namespace

TEST_F(VariablesCliTest, eachImageGetsItsOwnValuesInEveryMode)
{
    if (exiftoolPath().isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    const CliRun set = setTemplate({QStringLiteral("Caption={FileBase}, {FileDate:yyyy-MM-dd}, #{Seq:3}, {City}"),
                                    QStringLiteral("Headline={Width}x{Height} {{px}}"), QStringLiteral("City={Folder}")});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    for (int mode = 0; mode <= 2; ++mode) {
        restoreOriginals();
        const QStringList order = resultOrder();
        ASSERT_EQ(order.size(), qsizetype(originals.size()));
        std::map<QString, QJsonObject> before;
        std::map<QString, QString> size, date;
        for (const QString &path : order) {
            before[path] = read(path);
            const QJsonObject frame = exiftool({QStringLiteral("-n"), QStringLiteral("-ImageWidth"), QStringLiteral("-ImageHeight")}, path);
            size[path] = QStringLiteral("%1x%2").arg(frame[QStringLiteral("ImageWidth")].toInt()).arg(frame[QStringLiteral("ImageHeight")].toInt());
            date[path] = QFileInfo(path).lastModified().toString(QStringLiteral("yyyy-MM-dd"));
        }
        const CliRun run = cli({QStringLiteral("apply"), QStringLiteral("--yes"), QStringLiteral("--mode"), QString::number(mode),
                                QStringLiteral("Shoot")});
        ASSERT_EQ(run.exitCode, 0) << mode << run.out.toStdString() << run.err.toStdString();
        for (int rank = 1; rank <= order.size(); ++rank) {
            const QString &path = order[rank - 1];
            const QJsonObject old = before[path];
            const QString city = old[QStringLiteral("City")].toString();
            const QString caption = QStringLiteral("%1, %2, #%3, %4").arg(fileBase(path), date[path]).arg(rank, 3, 10, QChar(u'0')).arg(city);
            const QString headline = size[path] + QStringLiteral(" {px}");
            // Mode 0 fills only the empty fields; 1 and 2 take every value the template gives. The
            // reader trims what it reads: an empty {City} at the end leaves a blank in the file.
            const auto expected = [&](const char *column, const QString &value) {
                const QString was = old[QLatin1String(column)].toString();
                return mode == 0 && !was.isEmpty() ? was : value.trimmed();
            };
            const QJsonObject now = read(path);
            EXPECT_EQ(now[QStringLiteral("Caption")].toString(), expected("Caption", caption)) << mode << " " << path.toStdString();
            EXPECT_EQ(now[QStringLiteral("Headline")].toString(), expected("Headline", headline)) << mode << " " << path.toStdString();
            EXPECT_EQ(now[QStringLiteral("City")].toString(), expected("City", QStringLiteral("Shoot"))) << mode;
            if (mode == 2) {
                EXPECT_TRUE(now[QStringLiteral("Credit")].toString().isEmpty()) << path.toStdString();
            }
            const QJsonObject tags = exiftool({QStringLiteral("-charset"), QStringLiteral("iptc=Latin"), QStringLiteral("-IPTC:all")}, path);
            EXPECT_EQ(tags[QStringLiteral("Caption-Abstract")].toVariant().toString().trimmed(), now[QStringLiteral("Caption")].toString())
                << path.toStdString();
            EXPECT_EQ(tags[QStringLiteral("Headline")].toVariant().toString(), now[QStringLiteral("Headline")].toString())
                << path.toStdString();
            EXPECT_EQ(tags[QStringLiteral("City")].toVariant().toString(), now[QStringLiteral("City")].toString()) << path.toStdString();
        }
    }
}

TEST_F(VariablesCliTest, aDryRunShowsTheExpandedValues)
{
    ASSERT_EQ(setTemplate({QStringLiteral("Caption=#{Seq:2} {File}")}).exitCode, 0);
    const CliRun run = cli({QStringLiteral("apply"), QStringLiteral("--dry-run"), QStringLiteral("--mode"), QStringLiteral("1"),
                            QStringLiteral("Shoot")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList order = resultOrder();
    for (int rank = 1; rank <= order.size(); ++rank)
        EXPECT_TRUE(run.out.contains(QStringLiteral(" \u2192 #%1 %2\n").arg(rank, 2, 10, QChar(u'0')).arg(QFileInfo(order[rank - 1]).fileName())))
            << run.out.toStdString();
    for (const auto &[path, bytes] : originals)
        EXPECT_EQ(readAll(path), bytes);
}

TEST_F(VariablesCliTest, aTemplateWithAVariableThatCannotBeExpandedIsRefused)
{
    ASSERT_EQ(setTemplate({QStringLiteral("Caption={FileBase}")}).exitCode, 0);
    const std::pair<const char *, const char *> refused[] = {
        {"Caption=in {Town}", "Caption: {Town}"},
        {"Headline={FileDate:qq}", "Headline: {FileDate:qq}"},
        {"City={Seq:0}", "City: {Seq:0}"},
        {"Credit={File", "Credit: {File"},
    };
    for (const auto &[value, told] : refused) {
        const CliRun run = setTemplate({QString::fromUtf8(value)});
        EXPECT_EQ(run.exitCode, 2) << value;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(told))) << run.err.toStdString();
    }
    const CliRun customized = setTemplate({QStringLiteral("--customized"), QStringLiteral("200={Nope}")});
    EXPECT_EQ(customized.exitCode, 2);
    EXPECT_TRUE(customized.err.contains(QStringLiteral("--customized 200: {Nope}"))) << customized.err.toStdString();
    const CliRun show = cli({QStringLiteral("template"), QStringLiteral("show"), QStringLiteral("Var")});
    EXPECT_TRUE(show.out.contains(QStringLiteral("  Caption: {FileBase}\n"))) << show.out.toStdString();
    EXPECT_TRUE(show.out.contains(QStringLiteral("  Headline: \n")));
}

TEST_F(VariablesCliTest, aValueTooLongForOneImageLeavesOnlyThatImage)
{
    // Country code: three characters with length control. "FRA" fits; "Paris" does not.
    const QByteArray small = generated::generatedJpeg(QSize(32, 24), 1, {});
    const QString fits = folder.write(QStringLiteral("Shoot/FRA.jpg"), small);
    const QString tooLong = folder.write(QStringLiteral("Shoot/Paris.jpg"), small);
    ASSERT_EQ(cli({QStringLiteral("scan"), folder.file(QStringLiteral("Shoot"))}).exitCode, 0);
    ASSERT_EQ(setTemplate({QStringLiteral("CountryCode={FileBase}")}).exitCode, 0);
    const CliRun run = cli({QStringLiteral("apply"), QStringLiteral("--yes"), QStringLiteral("--mode"), QStringLiteral("1"),
                            QStringLiteral("Shoot")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains(tooLong + QStringLiteral(": CountryCode takes 5 bytes"))) << run.out.toStdString();
    EXPECT_EQ(readAll(tooLong), small);
    EXPECT_EQ(field(fits, "CountryCode"), u"FRA");

    const CliRun write = cli({QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--set"),
                              QStringLiteral("CountryCode={FileBase}"), fits, tooLong});
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_TRUE(write.err.contains(QStringLiteral("CountryCode"))) << write.err.toStdString();
    EXPECT_EQ(readAll(tooLong), small);
}

TEST_F(VariablesCliTest, writeExpandsCodesThenVariablesForEachFile)
{
    const QString codes = folder.write(QStringLiteral("codes.txt"), "cc8\tCentre culturel\tCC de Lyon\nph\tPhoto {Seq:2}\n");
    const QString first = folder.file(QStringLiteral("Shoot/iptc.jpg"));
    const QString second = folder.file(QStringLiteral("Shoot/Nikon D1X.jpg"));
    const CliRun run = cli({QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--codes"), codes,
                            QStringLiteral("--set"), QStringLiteral("Caption==ph= au =cc8#2= de {City} =zz="),
                            QStringLiteral("--set"), QStringLiteral("Headline={FileBase}"), first, second});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("=zz="))) << run.err.toStdString(); // unknown: kept, and said
    EXPECT_EQ(field(first, "Caption"), u"Photo 01 au CC de Lyon de Budapest =zz=");
    EXPECT_EQ(field(second, "Caption"), u"Photo 02 au CC de Lyon de  =zz=");
    EXPECT_EQ(field(second, "Headline"), u"Nikon D1X");

    const CliRun slash = cli({QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--codes"), codes,
                              QStringLiteral("--code-delimiter"), QStringLiteral("/"), QStringLiteral("--set"),
                              QStringLiteral("Credit=/cc8/ =cc8="), first});
    EXPECT_EQ(slash.exitCode, 0) << slash.err.toStdString();
    EXPECT_EQ(field(first, "Credit"), u"Centre culturel =cc8=");

    const CliRun refused = cli({QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--set"),
                                QStringLiteral("Caption={Nope}"), first});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Caption: {Nope}"))) << refused.err.toStdString();
    for (const char *bad : {"ab", "x", "#"}) {
        const CliRun delimiter = cli({QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--code-delimiter"),
                                      QLatin1String(bad), QStringLiteral("--set"), QStringLiteral("Credit=x"), first});
        EXPECT_EQ(delimiter.exitCode, 2) << bad;
    }
    const CliRun missing = cli({QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--codes"),
                                folder.file(QStringLiteral("none.txt")), QStringLiteral("--set"), QStringLiteral("Credit=x"), first});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(field(first, "Credit"), u"Centre culturel =cc8=");
}

TEST_F(VariablesCliTest, templateSetReplacesCodesAndWarnsOfCodesGivenTwice)
{
    const QString places = folder.write(QStringLiteral("places.txt"), "cc8\tCentre culturel\n");
    const QString again = folder.write(QStringLiteral("again.txt"), "cc8\tautre\nsea\tLa mer\n");
    const CliRun run = cli({QStringLiteral("template"), QStringLiteral("set"), QStringLiteral("Var"), QStringLiteral("--codes"),
                            places, QStringLiteral("--codes"), again, QStringLiteral("Caption==cc8= et =sea= ({FileBase})"),
                            QStringLiteral("--customized"), QStringLiteral("200==sea#2=")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("cc8")) && run.err.contains(again)) << run.err.toStdString(); // given twice
    EXPECT_TRUE(run.err.contains(QStringLiteral("=sea#2="))) << run.err.toStdString();                        // no second
    const CliRun show = cli({QStringLiteral("template"), QStringLiteral("show"), QStringLiteral("Var")});
    EXPECT_TRUE(show.out.contains(QStringLiteral("  Caption: Centre culturel et La mer ({FileBase})\n"))) << show.out.toStdString();
    EXPECT_TRUE(show.out.contains(QStringLiteral("200/=sea#2=")));
    const CliRun elsewhere = cli({QStringLiteral("template"), QStringLiteral("list"), QStringLiteral("--codes"), places});
    EXPECT_EQ(elsewhere.exitCode, 2);
}
