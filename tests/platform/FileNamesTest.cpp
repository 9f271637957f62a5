// Names in any byte encoding: one text per name, the name's own bytes back from its text, and the
// file reached by them.
#include "platform/FileMoves.h"
#include "platform/FileNames.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

const QChar kMark(0x034F);

QByteArray bytes(const char *text) { return QByteArray(text); }

// Writes a file under its raw name; true when it was made.
bool writeRaw(const QByteArray &path, const QByteArray &content)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    return ::close(fd) == 0 && written;
}

} // namespace

TEST(FileNames, everyNameComesBackAsItsOwnBytesAndNoTwoNamesShareAText)
{
    const QByteArray names[] = {
        bytes("plain.jpg"),
        bytes("caf\xC3\xA9.jpg"),         // UTF-8
        bytes("caf\xE9.jpg"),             // Latin-1
        bytes("\xE9t\xE9 caf\xC3\xA9"),   // both in one name
        bytes("a\xCD\x8F" "b"),           // the mark itself, really in the name
        bytes("\xC3\xA9\xCD\x8F"),        // a UTF-8 letter followed by the mark
        bytes("\xC0\xAF"),                // an overlong slash
        bytes("\xED\xA0\x80"),            // a surrogate written as UTF-8
        bytes("\xE2\x82"),                // a sequence cut short
        bytes("\x81\x8D\x8F\x90\x9D"),    // the bytes Windows-1252 leaves unassigned
        bytes("\xF0\x9F\x93\xB7 \xF4\x90\x80\x80"), // a 4-byte letter, and one beyond U+10FFFF
        bytes("\xFF\xFE"),
        bytes("/photos/\xE9t\xE9/caf\xE9.jpg"),
    };
    std::set<QString> texts;
    for (const QByteArray &name : names) {
        const QString text = filenames::decode(name);
        EXPECT_EQ(filenames::encode(text), name) << name.toHex().toStdString();
        EXPECT_TRUE(texts.insert(text).second) << name.toHex().toStdString();
    }
}

TEST(FileNames, readsALatinOneNameAsItsLettersAndKeepsUtf8NamesAsQtDoes)
{
    const QString latin = filenames::decode(bytes("caf\xE9.jpg"));
    EXPECT_EQ(latin, QStringLiteral("café") + kMark + QStringLiteral(".jpg"));
    EXPECT_EQ(QString(latin).remove(kMark), QStringLiteral("café.jpg")); // what the eye sees
    for (const char *utf8 : {"caf\xC3\xA9.jpg", "\xE6\x97\xA5\xE6\x9C\xAC", "it's 100%.jpg"})
        EXPECT_EQ(filenames::decode(bytes(utf8)), QString::fromUtf8(utf8)) << utf8;
    EXPECT_FALSE(filenames::needsEncoding(QStringLiteral("café.jpg")));
    EXPECT_TRUE(filenames::needsEncoding(latin));
    // A mark after a letter without a byte of its own is plain text.
    EXPECT_EQ(filenames::encode(QStringLiteral("a") + QChar(0x4E2D) + kMark), (QStringLiteral("a") + QChar(0x4E2D) + kMark).toUtf8());
}

TEST(FileNames, listsOpensAndDatesAFileByTheBytesOfItsName)
{
    TempFolder folder;
    const QByteArray root = QFile::encodeName(folder.path());
    ASSERT_EQ(::mkdir((root + "/\xE9t\xE9").constData(), 0755), 0);
    ASSERT_TRUE(writeRaw(root + "/\xE9t\xE9/caf\xE9.jpg", "latin"));
    ASSERT_TRUE(writeRaw(root + "/\xE9t\xE9/caf\xC3\xA9.jpg", "utf8"));

    const QString summer = folder.path() + u'/' + filenames::decode(bytes("\xE9t\xE9"));
    const auto entries = filenames::listFolder(summer);
    ASSERT_TRUE(entries.has_value());
    std::map<QString, QByteArray> contents;
    for (const filenames::FolderEntry &entry : *entries) {
        EXPECT_EQ(entry.kind, filenames::FolderEntry::Kind::File);
        QFile file;
        ASSERT_TRUE(filenames::openForReading(file, summer + u'/' + entry.name)) << entry.name.toStdString();
        contents[entry.name] = file.readAll();
    }
    EXPECT_EQ(contents, (std::map<QString, QByteArray>{{filenames::decode(bytes("caf\xE9.jpg")), "latin"},
                                                       {QStringLiteral("café.jpg"), "utf8"}}));

    const QString latinFile = summer + u'/' + filenames::decode(bytes("caf\xE9.jpg"));
    const filenames::FileFacts facts = filenames::fileFacts(latinFile);
    EXPECT_TRUE(facts.exists && facts.isFile);
    EXPECT_EQ(facts.size, 5);
    const QDateTime old(QDate(2004, 7, 15), QTime(9, 5, 0, 250));
    ASSERT_TRUE(filenames::setLastWrite(latinFile, old));
    EXPECT_EQ(filenames::fileFacts(latinFile).lastWrite, old);
    EXPECT_FALSE(filenames::fileFacts(folder.path() + QStringLiteral("/été/café.jpg")).exists);
}

TEST(FileNames, aFileIsRenamedFromAndToNamesThatAreNotUtf8)
{
    TempFolder folder;
    const QByteArray root = QFile::encodeName(folder.path());
    ASSERT_EQ(::mkdir((root + "/\xE9t\xE9").constData(), 0755), 0);
    ASSERT_TRUE(writeRaw(root + "/\xE9t\xE9/caf\xE9.jpg", "photo"));
    const QString summer = folder.path() + u'/' + filenames::decode(bytes("\xE9t\xE9")) + u'/';
    const QString latin = summer + filenames::decode(bytes("caf\xE9.jpg"));
    ASSERT_EQ(filemoves::renameWithoutReplacing(latin, summer + QStringLiteral("th\u00E9.jpg")).status,
              filemoves::RenameStatus::Renamed);
    EXPECT_EQ(::access((root + "/\xE9t\xE9/th\xC3\xA9.jpg").constData(), F_OK), 0);
    ASSERT_EQ(filemoves::renameWithoutReplacing(summer + QStringLiteral("th\u00E9.jpg"), latin).status,
              filemoves::RenameStatus::Renamed);
    EXPECT_EQ(::access((root + "/\xE9t\xE9/caf\xE9.jpg").constData(), F_OK), 0);
}

TEST(FileNames, tellsWhyAFileCannotBeOpened)
{
    TempFolder folder;
    QFile file;
    QString reason;
    EXPECT_FALSE(filenames::openForReading(file, folder.file(QStringLiteral("missing.jpg")), &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(filenames::listFolder(folder.file(QStringLiteral("missing"))).has_value());
}

// Run from a folder reached through a link, a relative name kept the resolved folder, which the
// catalogue does not hold when it was scanned through the link.
TEST(FileNames, aRelativePathKeepsTheLinkTheShellWentThrough)
{
    TempFolder folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("store")));
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("store")), folder.file(QStringLiteral("album"))));
    const QByteArray oldPwd = qgetenv("PWD");
    const QString oldCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.file(QStringLiteral("album"))));
    const QString resolved = QDir::currentPath() + QStringLiteral("/photo.jpg");
    ASSERT_NE(resolved, folder.file(QStringLiteral("album/photo.jpg")));

    qputenv("PWD", QFile::encodeName(folder.file(QStringLiteral("album"))));
    EXPECT_EQ(filenames::absolutePath(QStringLiteral("photo.jpg")), folder.file(QStringLiteral("album/photo.jpg")));
    EXPECT_EQ(filenames::absolutePath(QStringLiteral("./sub/../photo.jpg")), folder.file(QStringLiteral("album/photo.jpg")));
    EXPECT_EQ(filenames::absolutePath(QStringLiteral("/elsewhere/./x.jpg")), QStringLiteral("/elsewhere/x.jpg"));
    // A PWD that is not the current folder (a program that changed folder) is not trusted.
    qputenv("PWD", QFile::encodeName(folder.path()));
    EXPECT_EQ(filenames::absolutePath(QStringLiteral("photo.jpg")), resolved);
    qunsetenv("PWD");
    EXPECT_EQ(filenames::absolutePath(QStringLiteral("photo.jpg")), resolved);

    QDir::setCurrent(oldCurrent);
    qputenv("PWD", oldPwd);
}

namespace {

// Installs mappings for one test and leaves none behind, as the other tests expect.
struct MappingsInstalled
{
    explicit MappingsInstalled(const std::vector<filenames::PathMapping> &mappings) { filenames::setPathMappings(mappings); }
    ~MappingsInstalled() { filenames::setPathMappings({}); }
};

QString s(const char *text) { return QString::fromUtf8(text); }

} // namespace

TEST(PathMapping, mapsWholeFoldersBothWaysAndTheLongestPrefixWins)
{
    const MappingsInstalled installed({{s("/mnt/photos/"), s("/media/archive")},
                                       {s("/mnt/photos/2020"), s("/media/fast")},
                                       {s("relative"), s("/x")},
                                       {s("/"), s("/y")},
                                       {s("/z"), QString()}});
    EXPECT_EQ(filenames::pathMappings().size(), 2u); // the unusable ones are left out
    const struct
    {
        const char *stored;
        const char *local;
    } cases[] = {
        {"/mnt/photos", "/media/archive"},
        {"/mnt/photos/", "/media/archive/"},
        {"/mnt/photos/a/b.jpg", "/media/archive/a/b.jpg"},
        {"/mnt/photos/2020/c.jpg", "/media/fast/c.jpg"},
        {"/mnt/photos/20201/c.jpg", "/media/archive/20201/c.jpg"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(filenames::localPath(s(c.stored)), s(c.local)) << c.stored;
        EXPECT_EQ(filenames::storedPath(s(c.local)), s(c.stored)) << c.local;
    }
    for (const char *outside : {"/mnt/photos2/a.jpg", "/mnt/photo", "/y/a.jpg", "relative/a.jpg", ""})
        EXPECT_EQ(filenames::localPath(s(outside)), s(outside)) << outside;
    EXPECT_EQ(filenames::absolutePath(s("/media/archive/./a/../b.jpg")), s("/mnt/photos/b.jpg"));

    filenames::setPathMappings({});
    EXPECT_EQ(filenames::localPath(s("/mnt/photos/a.jpg")), s("/mnt/photos/a.jpg"));
    EXPECT_EQ(filenames::absolutePath(s("/media/archive/b.jpg")), s("/media/archive/b.jpg"));
}

// A catalogue path names a folder that does not exist here; every door to the file reaches the
// mounted one, and a name that is not UTF-8 keeps its bytes through the mapping.
TEST(PathMapping, everyDoorToAFileReachesItThroughTheMount)
{
    TempFolder folder;
    const QString stored = s("/zelvarion-not-here-") + QFileInfo(folder.path()).fileName();
    const MappingsInstalled installed({{stored, folder.path()}});
    ASSERT_TRUE(writeRaw(QFile::encodeName(folder.path()) + "/caf\xE9.jpg", bytes("photo")));
    const QString latin = stored + s("/caf\u00E9") + kMark + s(".jpg");

    EXPECT_EQ(filenames::encode(latin), QFile::encodeName(folder.path()) + "/caf\xE9.jpg");
    const filenames::FileFacts facts = filenames::fileFacts(latin);
    EXPECT_TRUE(facts.isFile);
    EXPECT_EQ(facts.size, 5);
    QFile file;
    ASSERT_TRUE(filenames::openForReading(file, latin));
    EXPECT_EQ(file.readAll(), bytes("photo"));
    const auto entries = filenames::listFolder(stored);
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(entries->size(), 1u);
    EXPECT_EQ(filenames::canonicalPath(latin), QFileInfo(folder.path()).canonicalFilePath() + s("/caf\u00E9") + kMark + s(".jpg"));
    EXPECT_TRUE(filenames::canonicalPath(stored + s("/missing.jpg")).isEmpty());
    EXPECT_TRUE(filenames::fileUrl(latin).toString(QUrl::FullyEncoded).endsWith(s("/caf%E9.jpg")));
    EXPECT_TRUE(filenames::fileUrl(latin).toString(QUrl::FullyEncoded).contains(QString::fromUtf8(QUrl::toPercentEncoding(folder.path(), "/"))));
}
