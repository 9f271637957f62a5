// The program folder: the paths inside it and the seeding of a per-user folder.
#include "platform/ProgramFolder.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

class ProgramFolderTest : public ::testing::Test
{
protected:
    void TearDown() override { programFolder::setOverride(QString()); }
};

} // namespace

TEST_F(ProgramFolderTest, filesOfTheProgramLieInTheChosenFolder)
{
    TempFolder folder;
    programFolder::setOverride(folder.path());
    EXPECT_EQ(programFolder::path(), folder.path());
    EXPECT_EQ(programFolder::configFilePath(), folder.file(QStringLiteral("Zelvarion.ini")));
    EXPECT_EQ(programFolder::defaultCataloguePath(), folder.file(QStringLiteral("Images.db")));
    EXPECT_EQ(programFolder::languageFolder(), folder.file(QStringLiteral("Zelvarion-Language/")));
    EXPECT_EQ(programFolder::translationsFilePath(), folder.file(QStringLiteral("Zelvarion-Language/Translations.txt")));
}

TEST_F(ProgramFolderTest, seedingCopiesMissingShippedFilesAndKeepsTheUsersOwn)
{
    TempFolder shipped;
    shipped.write(QStringLiteral("Zelvarion-Language/English.lng"), "[Interface]\r\n1=&File\r\n");
    shipped.write(QStringLiteral("Zelvarion-Language/French.lng"), "[Interface]\r\n1=&Fichier\r\n");
    shipped.write(QStringLiteral("help/index.html"), "<html></html>");
    shipped.write(QStringLiteral("Zelvarion.ini"), "[Configuration]\r\nLanguage=French\r\n");
    TempFolder user;
    user.write(QStringLiteral("Zelvarion-Language/French.lng"), "[Interface]\r\n1=&Mon fichier\r\n");

    programFolder::seedFrom(shipped.path(), user.path());

    EXPECT_EQ(user.read(QStringLiteral("Zelvarion-Language/English.lng")), QByteArray("[Interface]\r\n1=&File\r\n"));
    EXPECT_EQ(user.read(QStringLiteral("Zelvarion-Language/French.lng")), QByteArray("[Interface]\r\n1=&Mon fichier\r\n"));
    EXPECT_EQ(user.read(QStringLiteral("help/index.html")), QByteArray("<html></html>"));
    EXPECT_FALSE(QFile::exists(user.file(QStringLiteral("Zelvarion.ini")))) << "settings are the user's, never shipped";
}

TEST_F(ProgramFolderTest, anInstalledLayoutUsesThePerUserFolderEvenWhenItsBinFolderIsWritable)
{
    TempFolder prefix; // bin/ and share/zelvarion/ as an installation lays them out
    prefix.write(QStringLiteral("bin/zelvarion"), "");
    prefix.write(QStringLiteral("share/zelvarion/Zelvarion-Language/English.lng"), "[Interface]\r\n");
    TempFolder user;

    const programFolder::FolderChoice choice = programFolder::chooseFolder(prefix.file(QStringLiteral("bin")), user.path());

    EXPECT_EQ(choice.folder, user.path());
    EXPECT_EQ(choice.seedSource, prefix.file(QStringLiteral("share/zelvarion")));
}

TEST_F(ProgramFolderTest, aWritableFolderWithoutAnInstalledLayoutIsItsOwnProgramFolder)
{
    TempFolder portable;
    portable.write(QStringLiteral("Zelvarion-Language/English.lng"), "[Interface]\r\n");
    TempFolder user;

    const programFolder::FolderChoice choice = programFolder::chooseFolder(portable.path(), user.path());

    EXPECT_EQ(choice.folder, portable.path());
    EXPECT_TRUE(choice.seedSource.isEmpty()) << "a portable folder is used as it is";

    // A folder that cannot be written sends the files to the user's folder, seeded from beside the program.
    const programFolder::FolderChoice missing = programFolder::chooseFolder(portable.file(QStringLiteral("gone")), user.path());
    EXPECT_EQ(missing.folder, user.path());
    EXPECT_EQ(missing.seedSource, portable.file(QStringLiteral("gone")));
}

// A folder seeded from (a build folder, a portable copy) is also a program folder in use: its
// exports, thumbnails and the user's word list are the user's, never copied into another folder.
TEST_F(ProgramFolderTest, seedingCopiesOnlyTheShippedFilesOfAFolderInUse)
{
    TempFolder source;
    const char *shipped[] = {"XML/captions.xsl", "XML/fop.sh", "Zelvarion-Language/English.lng", "help/images/one.png"};
    const char *users[] = {"XML/Zelvarion.xml", "XML/Zelvarion.html", "XML/thumbs/IMG_1.jpg",
                           "Zelvarion-Language/Translations.txt", "Images.db", "Zelvarion.ini"};
    for (const char *name : shipped)
        source.write(QLatin1String(name), "shipped");
    for (const char *name : users)
        source.write(QLatin1String(name), "the user's");
    TempFolder target;

    programFolder::seedFrom(source.path(), target.path());

    for (const char *name : shipped)
        EXPECT_EQ(target.read(QLatin1String(name)), QByteArray("shipped")) << name;
    for (const char *name : users)
        EXPECT_FALSE(QFile::exists(target.file(QLatin1String(name)))) << name;
}

TEST_F(ProgramFolderTest, shippedDataLieInShareOfAnInstallationElseBesideTheProgram)
{
    TempFolder prefix;
    prefix.write(QStringLiteral("bin/zelvarion-cli"), "");
    EXPECT_EQ(programFolder::shippedDataFolder(prefix.file(QStringLiteral("bin"))), prefix.file(QStringLiteral("bin")));
    prefix.write(QStringLiteral("share/zelvarion/XML/captions.xsl"), "");
    EXPECT_EQ(programFolder::shippedDataFolder(prefix.file(QStringLiteral("bin"))),
              QDir::cleanPath(prefix.file(QStringLiteral("share/zelvarion"))));
}
