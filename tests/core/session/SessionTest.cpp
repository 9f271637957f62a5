#include "core/session/RunOptions.h"
#include "core/session/Session.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

// A session on a program folder of its own, its configuration file laid out from text.
class SessionTest : public ::testing::Test
{
protected:
    void SetUp() override { programFolder::setOverride(folder.path()); }
    void TearDown() override { programFolder::setOverride(QString()); }

    void layOut(const QByteArray &ini) { folder.write(QStringLiteral("Zelvarion.ini"), ini); }
    QString packs() const { return folder.file(QStringLiteral("packs/")); }

    TempFolder folder;
};

} // namespace

TEST_F(SessionTest, readsTheSettingsAndThePackTheyName)
{
    folder.write(QStringLiteral("packs/Deutsch.lng"), "[Interface]\n133=Feld\n");
    layOut("[Configuration]\nLanguage=Deutsch\nStayOnTop=1\n[EditIPTCOptions]\nReadIPTC=0\n");
    Session session;
    EXPECT_TRUE(session.loadSettingsAndLanguage(packs()));
    EXPECT_EQ(session.ini.path(), programFolder::configFilePath());
    EXPECT_TRUE(session.settings.stayOnTop);
    EXPECT_FALSE(session.settings.readIPTC);
    EXPECT_EQ(session.customizedLabel(), QStringLiteral("Feld"));
    // A pack that lacks a key speaks English there.
    EXPECT_EQ(session.language.text(InterfaceText::CancelButton), Session().language.text(InterfaceText::CancelButton));

    Session missingPack;
    missingPack.ini.write(QStringLiteral("Configuration"), QStringLiteral("Language"), QStringLiteral("Klingon"));
    EXPECT_FALSE(missingPack.loadSettingsAndLanguage(packs()));
    EXPECT_EQ(missingPack.customizedLabel(), QStringLiteral("Field"));
}

TEST_F(SessionTest, catalogueIsTheGivenElseTheRememberedElseTheDefault)
{
    Session session;
    session.loadSettings();
    EXPECT_EQ(session.cataloguePath(QString()), programFolder::defaultCataloguePath());
    session.rememberCatalogue(QStringLiteral("/photos/Archive.db"));
    EXPECT_EQ(session.cataloguePath(QString()), QStringLiteral("/photos/Archive.db"));
    EXPECT_EQ(session.cataloguePath(QStringLiteral("/given.db")), QStringLiteral("/given.db"));
    // Remembered in the file too: the next session starts from it.
    Session next;
    next.loadSettings();
    EXPECT_EQ(next.settings.lastDB, QStringLiteral("/photos/Archive.db"));

    session.setSetting(&AppSettings::lastDB, QString());
    EXPECT_EQ(session.cataloguePath(QString()), programFolder::defaultCataloguePath()) << "an empty remembered path";
}

TEST_F(SessionTest, applyOptionsComeFromTheStoredChoicesAndEditOptions)
{
    layOut("[Configuration]\nApplyTemplateOption=2\nAddKeywordsOption=1\nRemoveKeywordsOption=1\n"
                             "[EditIPTCOptions]\nSaveOriginalFile=1\nSaveFirstVersion=0\nSaveFolder=/backups/\n"
                             "KeepCreationDate=0\n");
    Session session;
    session.loadSettings();
    const ApplyOptions options = applyOptionsFrom(session);
    EXPECT_EQ(options.mode, MergeMode(2));
    EXPECT_EQ(options.keywords, KeywordOption::Add) << "adding wins over removing";
    EXPECT_TRUE(options.writeOptions.saveOriginalFile);
    EXPECT_FALSE(options.writeOptions.saveFirstVersion);
    EXPECT_EQ(options.writeOptions.saveFolder, QStringLiteral("/backups/"));
    EXPECT_FALSE(options.writeOptions.keepCreationDate);
    EXPECT_EQ(options.customizedLabel, QStringLiteral("Field"));
    EXPECT_EQ(options.language, &session.language);

    session.setSetting(&AppSettings::addKeywordsOption, false);
    EXPECT_EQ(applyOptionsFrom(session).keywords, KeywordOption::Remove);
    session.setSetting(&AppSettings::removeKeywordsOption, false);
    EXPECT_EQ(applyOptionsFrom(session).keywords, KeywordOption::None);
    for (const int outside : {-1, 3, 17}) {
        session.settings.applyTemplateOption = outside;
        EXPECT_EQ(applyOptionsFrom(session).mode, MergeMode(0)) << outside;
    }
}
