#include "platform/IniFile.h"

#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

using zelvarion::IniFile;
using zelvarion::test::TempFolder;

namespace {

QString q(const char *text) { return QString::fromUtf8(text); }

} // namespace

TEST(IniFileRead, matchesSectionAndKeyNamesWithoutRegardToCase)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini", "[Configuration]\nLastDB=/data/Images.db\n"));
    EXPECT_EQ(ini.read(q("configuration"), q("lastdb")), q("/data/Images.db"));
    EXPECT_EQ(ini.read(q("CONFIGURATION"), q("LASTDB")), q("/data/Images.db"));
}

TEST(IniFileRead, treatsEmptyValueAndMissingFileSectionOrKeyAsAbsent)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini", "[S]\nEmpty=\nBlank=   \nFull=x\n"));
    EXPECT_FALSE(ini.read(q("S"), q("Empty")));
    EXPECT_FALSE(ini.read(q("S"), q("Blank")));
    EXPECT_FALSE(ini.read(q("S"), q("Other")));
    EXPECT_FALSE(ini.read(q("T"), q("Full")));
    EXPECT_FALSE(IniFile(folder.file("missing.ini")).read(q("S"), q("Full")));
}

TEST(IniFileRead, stripsSpacesAroundNamesAndValuesButKeepsInnerOnes)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini", "  [ Search ]  \n  Contents1 =  red  car  \n"));
    EXPECT_EQ(ini.read(q("Search"), q("Contents1")), q("red  car"));
}

TEST(IniFileRead, ignoresCommentsStrayLinesAndKeysOutsideSections)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini",
                                   "Orphan=1\n; Comment=2\n[S]\n;Key=commented\nno equals sign\n"
                                   "\nKey=value\n"));
    EXPECT_FALSE(ini.read(q(""), q("Orphan")));
    EXPECT_EQ(ini.read(q("S"), q("Key")), q("value"));
    EXPECT_FALSE(ini.read(q("S"), q("no equals sign")));
}

TEST(IniFileRead, keepsEverythingAfterTheFirstEqualsSign)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini", "[SQLQuery]\nSQLQuery1=select * from Images where Width = '12';\n"));
    EXPECT_EQ(ini.read(q("SQLQuery"), q("SQLQuery1")), q("select * from Images where Width = '12';"));
}

// Regression: values used to be cut at 254 characters, which made a long catalogue path read
// as a missing catalogue.
TEST(IniFileRead, readsLongValuesWhole)
{
    TempFolder folder;
    const IniFile ini(folder.file("Zelvarion.ini"));
    const QString longPath = q("/photos/") + QString(392, u'x');
    ASSERT_EQ(longPath.size(), 400);
    ini.write(q("Configuration"), q("LastDB"), longPath);
    EXPECT_EQ(ini.read(q("Configuration"), q("LastDB")), longPath);
}

TEST(IniFileRead, decodesWindows1252FileThatIsNotUtf8)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini", "[EmptyWords]\nWord0=caf\xE9\nWord1=\x80uro\n"));
    EXPECT_EQ(ini.read(q("EmptyWords"), q("Word0")), q("café"));
    EXPECT_EQ(ini.read(q("EmptyWords"), q("Word1")), q("€uro"));
}

TEST(IniFileWrite, createsFileSectionAndKey)
{
    TempFolder folder;
    const IniFile ini(folder.file("new.ini"));
    ini.write(q("Configuration"), q("Language"), q("Français"));
    EXPECT_EQ(folder.read("new.ini"), QByteArray("[Configuration]\nLanguage=Fran\xC3\xA7" "ais\n"));
}

TEST(IniFileWrite, replacesValueAndKeepsCommentsOrderAndNameSpelling)
{
    TempFolder folder;
    const QByteArray before = "; settings\n[MainWindow]\nLEFT=10\nTop=20\n\n[Search]\nContents1=a\n";
    const IniFile ini(folder.write("a.ini", before));
    ini.write(q("mainwindow"), q("left"), q("1500"));
    EXPECT_EQ(folder.read("a.ini"),
              QByteArray("; settings\n[MainWindow]\nLEFT=1500\nTop=20\n\n[Search]\nContents1=a\n"));
}

TEST(IniFileWrite, addsNewKeyAtTheEndOfItsSectionBeforeTheBlankLine)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini", "[MainWindow]\nLeft=10\n\n[Search]\nContents1=a\n"));
    ini.write(q("MainWindow"), q("Top"), q("20"));
    ini.write(q("Other"), q("Key"), q("v"));
    EXPECT_EQ(folder.read("a.ini"),
              QByteArray("[MainWindow]\nLeft=10\nTop=20\n\n[Search]\nContents1=a\n[Other]\nKey=v\n"));
}

TEST(IniFileWrite, keepsWindowsLineBreaksOfTheFile)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini", "[A]\r\nX=1\r\n"));
    ini.write(q("A"), q("Y"), q("2"));
    EXPECT_EQ(folder.read("a.ini"), QByteArray("[A]\r\nX=1\r\nY=2\r\n"));
}

TEST(IniFileWrite, keepsValueWithLineBreaksOnOneLine)
{
    TempFolder folder;
    const IniFile ini(folder.file("a.ini"));
    ini.write(q("SQLQuery"), q("SQLQuery1"), q("select *\r\nfrom Images\n[Injected]"));
    ini.write(q("SQLQuery"), q("SQLQuery2"), q("second"));
    EXPECT_EQ(ini.read(q("SQLQuery"), q("SQLQuery1")), q("select * from Images [Injected]"));
    EXPECT_EQ(ini.read(q("SQLQuery"), q("SQLQuery2")), q("second"));
    EXPECT_FALSE(ini.read(q("Injected"), q("SQLQuery2")));
}

TEST(IniFileWrite, rewritesWindows1252FileAsUtf8WithoutLosingText)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini", "[EmptyWords]\nWord0=d\xE9j\xE0\n"));
    ini.write(q("Configuration"), q("Language"), q("English"));
    EXPECT_EQ(ini.read(q("EmptyWords"), q("Word0")), q("déjà"));
    EXPECT_TRUE(folder.read("a.ini").contains("d\xC3\xA9j\xC3\xA0"));
}

TEST(IniFileWrite, leavesNoTemporaryFileBehind)
{
    TempFolder folder;
    const IniFile ini(folder.file("Zelvarion.ini"));
    for (int i = 0; i < 5; ++i)
        ini.write(q("Search"), q("Contents%1").arg(i), q("words"));
    ini.deleteSection(q("Search"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{q("Zelvarion.ini")});
}

TEST(IniFileDeleteSection, removesTheSectionWithItsKeysAndCommentsOnly)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini",
                                   "[Search]\nContents1=a\n; note\nContents2=b\n[Configuration]\n"
                                   "Language=English\n[search]\nContents3=c\n"));
    ini.deleteSection(q("SEARCH"));
    EXPECT_EQ(folder.read("a.ini"), QByteArray("[Configuration]\nLanguage=English\n"));
}

TEST(IniFileDeleteSection, leavesFileUntouchedWhenSectionIsMissing)
{
    TempFolder folder;
    const IniFile ini(folder.file("a.ini"));
    ini.deleteSection(q("Search"));
    EXPECT_FALSE(QFile::exists(folder.file("a.ini")));
}

TEST(IniFileReplaceSection, writesTheNewEntriesInPlaceOfTheOldSection)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini", "[Search]\nContents1=a\nContents2=b\nContents3=c\n[X]\nY=1\n"));
    ini.replaceSection(q("Search"), {{q("Contents1"), q("new")}, {q("Contents2"), q("more")}});
    EXPECT_EQ(folder.read("a.ini"), QByteArray("[Search]\nContents1=new\nContents2=more\n[X]\nY=1\n"));
}

TEST(IniFileRead, readsKeysOfARepeatedSection)
{
    TempFolder folder;
    const IniFile ini(folder.write("a.ini", "[A]\nX=1\n[B]\nZ=3\n[a]\nY=2\nX=9\n"));
    EXPECT_EQ(ini.read(q("A"), q("X")), q("1"));
    EXPECT_EQ(ini.read(q("A"), q("Y")), q("2"));
}
