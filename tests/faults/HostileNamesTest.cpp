// Photos with names that break careless code: quotes, a line break, leading dashes, SQL wildcards,
// Latin-1 bytes that are not UTF-8, a name of 250 bytes, and links that loop. The scan catalogues
// each photo once and ends, apply rewrites each with its backup, option-like names are operands
// only after "--", search text is taken literally, and a delete of a long name ends.
#include "FaultWorkspace.h"

#include "support/GeneratedJpeg.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <set>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

const QString kLongName = QString(246, u'L') + QStringLiteral(".jpg"); // 250 bytes, the most a temp prefix leaves room for
const QByteArray kLatin1Name("caf\xE9 cr\xE8me.jpg");                 // not UTF-8

const QStringList kHostileNames{QStringLiteral("it's \"quoted\".jpg"), QStringLiteral("new\nline.jpg"),
                                QStringLiteral("-rf.jpg"),             QStringLiteral("--yes.jpg"),
                                QStringLiteral("100%_off.jpg"),        QStringLiteral("back\\slash $(x) `y`.jpg"),
                                kLongName};

QByteArray photo(int seed, const QByteArray &caption)
{
    return generated::generatedJpeg(QSize(160, 120), seed, generated::iimDataset(90, "Lyon") + generated::iimDataset(120, caption));
}

bool writeRaw(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), std::size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}

QByteArray readRaw(const QByteArray &path)
{
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return bytes;
    char buffer[65536];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, got);
    ::close(fd);
    return bytes;
}

// The names in a folder as the file system holds them, whether or not they are UTF-8.
std::set<QByteArray> rawNamesIn(const QByteArray &folder)
{
    std::set<QByteArray> names;
    DIR *listing = ::opendir(folder.constData());
    if (!listing)
        return names;
    while (const dirent *entry = ::readdir(listing))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.insert(QByteArray(entry->d_name));
    ::closedir(listing);
    return names;
}

QStringList cataloguedPaths(const FaultWorkspace &workspace)
{
    QStringList paths;
    for (const QStringList &row : catalogueRows(workspace.catalogue(), QStringLiteral("select Folder || File from Images order by 1;")))
        paths << row[0];
    return paths;
}

} // namespace

TEST(HostileNames, areCataloguedOnceAndRewrittenWithTheirBackups)
{
    TempFolder folder;
    FaultWorkspace workspace(folder.path());
    QStringList paths;
    for (int i = 0; i < kHostileNames.size(); ++i)
        paths << workspace.addPhoto(kHostileNames[i], photo(i, "caption " + QByteArray::number(i)));
    const QByteArray latin1Path = QFile::encodeName(workspace.photos) + '/' + kLatin1Name;
    const QByteArray latin1Original = photo(99, "caption latin");
    ASSERT_TRUE(writeRaw(latin1Path, latin1Original));
    // A name the temporary folder's clean-up cannot spell goes by its bytes, however the test ends.
    const std::unique_ptr<const QByteArray, void (*)(const QByteArray *)> removeLatin1(
        &latin1Path, [](const QByteArray *path) { ::unlink(path->constData()); });
    ASSERT_TRUE(QFile::link(QStringLiteral("."), workspace.photos + QStringLiteral("/loop")));
    QDir().mkpath(workspace.photos + QStringLiteral("/sub"));
    ASSERT_TRUE(QFile::link(QStringLiteral(".."), workspace.photos + QStringLiteral("/sub/up")));
    ASSERT_TRUE(QFile::link(QStringLiteral("nowhere.jpg"), workspace.photos + QStringLiteral("/gone.jpg")));
    workspace.askForBackups();

    const CliRun scan = workspace.run({QStringLiteral("scan"), workspace.photos}, 60000);
    ASSERT_NE(scan.exitCode, -2) << "the scan did not end: links that loop";
    EXPECT_TRUE(scan.exitCode == 0 || scan.exitCode == 1) << scan.err.toStdString();
    const QStringList catalogued = cataloguedPaths(workspace);
    for (const QString &path : paths)
        EXPECT_EQ(catalogued.count(path), 1) << path.toStdString();
    for (const QString &path : catalogued)
        EXPECT_FALSE(path.contains(QStringLiteral("/loop/")) || path.contains(QStringLiteral("/up/")))
            << path.toStdString() << ": a photo catalogued again through a link";
    const bool latin1Catalogued = !catalogued.filter(QStringLiteral("/caf")).isEmpty();
    if (!latin1Catalogued) {
        EXPECT_TRUE(scan.exitCode == 1 && scan.err.contains(QStringLiteral("caf")))
            << "a photo with a Latin-1 name was left out without a word: " << scan.err.toStdString();
    }

    ASSERT_EQ(workspace.run({QStringLiteral("template"), QStringLiteral("add"), QStringLiteral("T")}).exitCode, 0);
    ASSERT_EQ(workspace.run({QStringLiteral("template"), QStringLiteral("set"), QStringLiteral("T"), QStringLiteral("City=Paris")}).exitCode, 0);
    ASSERT_EQ(workspace.run({QStringLiteral("template"), QStringLiteral("use"), QStringLiteral("T")}).exitCode, 0);
    const CliRun apply = workspace.run(FaultWorkspace::applyArguments());
    for (const QString &path : paths) {
        EXPECT_EQ(iptcValue(readWhole(path), "City"), u"Paris") << path.toStdString() << "\n" << apply.out.toStdString();
        // A line of plain output holds a name whole: its backslashes and line breaks are escaped.
        const QString shown = QString(path).replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n"));
        EXPECT_TRUE(apply.out.contains(QStringLiteral("written: ") + shown + u'\n')) << path.toStdString();
    }
    expectBackupsOfChangedFiles(workspace.originals, workspace.backups, "apply");
    const QByteArray latin1Now = readRaw(latin1Path);
    if (latin1Now != latin1Original) {
        EXPECT_EQ(iptcValue(latin1Now, "City"), u"Paris") << "the Latin-1 named photo is damaged";
        expectBackupsOfChangedFiles({{QStringLiteral("latin-1"), latin1Original}}, workspace.backups, "the Latin-1 named photo");
    } else {
        EXPECT_EQ(apply.exitCode, 1) << "the Latin-1 named photo was left without a word";
    }
    if (latin1Catalogued) {
        EXPECT_NE(latin1Now, latin1Original) << "a catalogued photo was not rewritten: " << apply.out.toStdString();
    }

    // Names that look like options are refused as options, and taken as files after "--".
    const CliRun dashes = workspace.run({QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--set"),
                                         QStringLiteral("Headline=Dash"), QStringLiteral("-rf.jpg")},
                                        30000, workspace.photos);
    EXPECT_EQ(dashes.exitCode, 2);
    EXPECT_NE(iptcValue(readWhole(workspace.photos + QStringLiteral("/-rf.jpg")), "Headline"), u"Dash");
    const CliRun operands = workspace.run({QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--set"),
                                           QStringLiteral("Headline=Dash"), QStringLiteral("--"), QStringLiteral("-rf.jpg"),
                                           QStringLiteral("--yes.jpg")},
                                          30000, workspace.photos);
    EXPECT_EQ(operands.exitCode, 0) << operands.err.toStdString();
    for (const char *name : {"/-rf.jpg", "/--yes.jpg"})
        EXPECT_EQ(iptcValue(readWhole(workspace.photos + QLatin1String(name)), "Headline"), u"Dash") << name;
    expectCatalogueIntact(workspace.catalogue(), "after the writes");
    expectCatalogueAgreesWithFiles(workspace.catalogue(), latin1Catalogued ? cataloguedPaths(workspace) : paths,
                                   "as the commands left it", RowSize::NotChecked);

    const CliRun rescan = workspace.run({QStringLiteral("scan"), workspace.photos}, 60000);
    EXPECT_NE(rescan.exitCode, -2);
    std::set<QByteArray> names{kLatin1Name, "gone.jpg", "loop", "sub"};
    for (const QString &name : kHostileNames)
        names.insert(QFile::encodeName(name));
    EXPECT_EQ(rawNamesIn(QFile::encodeName(workspace.photos)), names) << "a temporary file was left beside the photos";
    expectCatalogueIntact(workspace.catalogue(), "after the rescan");
}

TEST(HostileNames, searchTextWithWildcardsFindsOnlyTheLiteralText)
{
    TempFolder folder;
    FaultWorkspace workspace(folder.path());
    const QString percent = workspace.addPhoto(QStringLiteral("percent.jpg"), photo(1, "100% cotton"));
    const QString digits = workspace.addPhoto(QStringLiteral("digits.jpg"), photo(2, "1000 cotton"));
    const QString underscore = workspace.addPhoto(QStringLiteral("underscore.jpg"), photo(3, "a_c key"));
    const QString letters = workspace.addPhoto(QStringLiteral("letters.jpg"), photo(4, "abc key"));
    ASSERT_EQ(workspace.run({QStringLiteral("scan"), workspace.photos}).exitCode, 0);

    struct Case
    {
        const char *text;
        QString found;
        QString notFound;
    };
    // The command prints the folder and the file name apart, separated by a tab.
    auto listed = [](const QString &path) { return u'\t' + QFileInfo(path).fileName() + u'\n'; };
    for (const Case &search : {Case{"100%", listed(percent), listed(digits)}, Case{"a_c", listed(underscore), listed(letters)}}) {
        const CliRun run = workspace.run({QStringLiteral("search"), QString::fromLatin1(search.text)});
        EXPECT_EQ(run.exitCode, 0) << search.text << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(search.found)) << search.text << ": " << run.out.toStdString();
        EXPECT_FALSE(run.out.contains(search.notFound)) << search.text << " matched as a wildcard: " << run.out.toStdString();
    }
}

// The trash names its entries after the file: a name near the limit must neither hang the delete
// nor part the file from its row.
TEST(HostileNames, deleteOfALongNameEndsWithTheFileAndItsRowInStep)
{
    TempFolder folder;
    FaultWorkspace workspace(folder.path());
    const QByteArray original = photo(5, "long");
    const QString path = workspace.addPhoto(kLongName, original);
    ASSERT_EQ(workspace.run({QStringLiteral("scan"), workspace.photos}).exitCode, 0);

    const CliRun removal = workspace.run({QStringLiteral("delete"), QStringLiteral("--yes"), path}, 20000);
    ASSERT_NE(removal.exitCode, -2) << "the delete did not end";
    const bool rowLeft = cataloguedPaths(workspace).contains(path);
    if (removal.exitCode == 0) {
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_FALSE(rowLeft) << "the row of a deleted photo stayed";
        bool inTrash = false;
        for (const auto &[trashed, bytes] : filesUnder(workspace.home))
            inTrash = inTrash || bytes == original;
        EXPECT_TRUE(inTrash) << "the deleted photo is not in the trash";
    } else {
        EXPECT_EQ(removal.exitCode, 1);
        EXPECT_EQ(readWhole(path), original) << "a refused delete changed the photo";
        EXPECT_TRUE(rowLeft) << "the row went while the photo stayed";
        EXPECT_FALSE(removal.err.trimmed().isEmpty()) << "a refused delete says nothing";
    }
}
