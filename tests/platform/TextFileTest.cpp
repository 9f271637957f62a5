#include "platform/TextFile.h"

#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::TempFolder;

TEST(DecodeTextFile, readsValidUtf8AndDropsItsByteOrderMark)
{
    EXPECT_EQ(decodeTextFile("d\xC3\xA9j\xC3\xA0"), QString::fromUtf8("déjà"));
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBFword"), QStringLiteral("word"));
    EXPECT_EQ(decodeTextFile(QByteArray()), QString());
}

TEST(DecodeTextFile, fallsBackToWindows1252WhenAnyByteIsNotUtf8)
{
    // One stray 8-bit byte makes the whole file 8-bit, valid UTF-8 sequences included.
    EXPECT_EQ(decodeTextFile("caf\xE9"), QString::fromUtf8("café"));
    EXPECT_EQ(decodeTextFile("\x80 \xC3\xA9"), QString::fromUtf8("€ Ã©"));
    EXPECT_EQ(decodeTextFile("truncated \xC3"), QString::fromUtf8("truncated Ã"));
}

TEST(TextFile, writesUtf8AtomicallyAndReadsItBack)
{
    TempFolder folder;
    const QString path = folder.file("Translations.txt");
    ASSERT_TRUE(writeTextFileAtomically(path, QString::fromUtf8("français / English\n")));
    EXPECT_EQ(folder.read("Translations.txt"), QByteArray("fran\xC3\xA7" "ais / English\n"));
    EXPECT_EQ(readTextFile(path), QString::fromUtf8("français / English\n"));
    ASSERT_TRUE(writeTextFileAtomically(path, QStringLiteral("second")));
    EXPECT_EQ(readTextFile(path), QStringLiteral("second"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(TextFile, readGivesNothingForMissingFileAndWriteFailsInMissingFolder)
{
    TempFolder folder;
    EXPECT_FALSE(readTextFile(folder.file("missing.txt")));
    EXPECT_FALSE(writeTextFileAtomically(folder.file("no/such/folder/a.txt"), QStringLiteral("x")));
}
