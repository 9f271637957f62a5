// Texts composed from a pack alike in both programs: counted words, a label before its value, and
// the locale a pack stands for.
#include "core/session/PackText.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

const QString kShippedPacks = QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language");

LanguagePack shipped(const char *language)
{
    LanguagePack pack;
    pack.load(kShippedPacks, QString::fromLatin1(language));
    return pack;
}

LanguagePack withOneCounts(const char *counts)
{
    LanguagePack pack;
    pack.setMessage(int(Message::PluralOneCounts), QString::fromLatin1(counts));
    return pack;
}

} // namespace

TEST(PackText, eachGroupTakesTheFormOfTheCountBeforeIt)
{
    const LanguagePack english = withOneCounts("1");
    const QString text = QStringLiteral("# {file|files} restored. % {file|files} skipped because {it|they} changed");
    EXPECT_EQ(countedText(english, text, {{u'#', 1}, {u'%', 2}}), u"1 file restored. 2 files skipped because they changed");
    EXPECT_EQ(countedText(english, text, {{u'#', 0}, {u'%', 1}}), u"0 files restored. 1 file skipped because it changed");
    // French takes the singular for 0 as for 1.
    const LanguagePack french = withOneCounts("0 1");
    EXPECT_EQ(countedText(french, QStringLiteral("# {fichier ignoré|fichiers ignorés}"), {{u'#', 0}}), u"0 fichier ignoré");
    EXPECT_EQ(countedText(french, QStringLiteral("# {fichier ignoré|fichiers ignorés}"), {{u'#', 3}}), u"3 fichiers ignorés");
    // A group before any count takes the first; other placeholders and texts without groups stay.
    EXPECT_EQ(countedText(english, QStringLiteral("{One|Many} of \"$\": #"), {{u'#', 5}}), u"Many of \"$\": 5");
    EXPECT_EQ(countedText(english, QStringLiteral("# images"), {{u'#', 1}}), u"1 images");
    EXPECT_EQ(countedText(english, QStringLiteral("# {unclosed"), {{u'#', 1}}), u"1 {unclosed");
}

TEST(PackText, shippedPacksCountInTheirOwnLanguage)
{
    const LanguagePack english = shipped("English");
    const LanguagePack french = shipped("French");
    const QString englishReport = english.message(Message::UndoTemplateRunReport);
    const QString frenchReport = french.message(Message::UndoTemplateRunReport);
    EXPECT_TRUE(countedText(english, englishReport, {{u'#', 1}, {u'%', 1}}).startsWith(u"1 file restored. 1 file skipped"));
    EXPECT_TRUE(countedText(french, frenchReport, {{u'#', 1}, {u'%', 1}}).startsWith(u"1 fichier restauré. 1 fichier ignoré"));
    EXPECT_TRUE(countedText(french, frenchReport, {{u'#', 2}, {u'%', 0}}).startsWith(u"2 fichiers restaurés. 0 fichier ignoré"));
    EXPECT_EQ(counted(french, Message::CliFilesCount, 1), u"1 fichier");
    EXPECT_EQ(counted(english, Message::CliFilesCount, 0), u"0 files");
}

TEST(PackText, labelsTakeTheColonOfTheirLanguage)
{
    EXPECT_EQ(withColon(shipped("English"), QStringLiteral("Size")), u"Size: ");
    EXPECT_EQ(withColon(shipped("French"), QStringLiteral("Taille")), u"Taille\u00A0: "); // never "Taille" and ":" on two lines
    EXPECT_EQ(withColon(LanguagePack(), QStringLiteral("Size")), u"Size: "); // a pack without the key
}

TEST(PackText, localeIsTheOneThePackNamesElseTheLanguageOfItsFile)
{
    const QLocale french = packLocale(shipped("French"));
    EXPECT_EQ(french.language(), QLocale::French);
    if (QLocale::system().language() != QLocale::French)
        EXPECT_EQ(french.name(), u"fr_FR");
    EXPECT_EQ(packLocale(shipped("English")).language(), QLocale::English);
    TempFolder folder;
    folder.write(QStringLiteral("German.lng"), "[Interface]\r\n1=&Datei\r\n");
    folder.write(QStringLiteral("Klingon.lng"), "[Interface]\r\n421=xx_YY\r\n");
    LanguagePack pack = shipped("French");
    ASSERT_TRUE(pack.load(folder.path(), QStringLiteral("German")));
    EXPECT_EQ(packLocale(pack).language(), QLocale::German); // not the French the pack held before
    EXPECT_EQ(languageOwnName(folder.path(), QStringLiteral("German")), u"German");
    EXPECT_EQ(languageOwnName(kShippedPacks, QStringLiteral("French")), u"Français");
    ASSERT_TRUE(pack.load(folder.path(), QStringLiteral("Klingon")));
    EXPECT_EQ(packLocale(pack), QLocale::system());
}
