// Spell checking with the system's real dictionary: the correction pass over one text, the
// commands of the edit dialog over a form, and the service turning itself off without one.
#include "core/spelling/CorrectionPass.h"
#include "core/spelling/SpellCheckCommands.h"
#include "core/spelling/Speller.h"

#include "core/iptc/IptcField.h"
#include "core/session/LanguagePack.h"
#include "platform/HunspellSpeller.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <map>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

// Takes the first suggestion for every unknown word, as a user pressing Change would.
class FirstSuggestionCorrector : public TextCorrector
{
public:
    Correction correct(Speller &speller, const QString &text) override
    {
        checked << text;
        if (failNext) {
            failNext = false;
            return {Correction::Outcome::Failed, text};
        }
        CorrectionPass pass(speller, text);
        while (pass.next()) {
            const QStringList suggestions = pass.suggestions();
            if (!suggestions.isEmpty())
                pass.change(suggestions.first());
        }
        return {Correction::Outcome::Finished, pass.text()};
    }
    QStringList checked;
    bool failNext = false;
};

// The edit dialog's texts, as the commands see them.
class FakeForm : public SpellCheckForm
{
public:
    QString fieldText(int index) const override { return fields.count(index) ? fields.at(index) : QString(); }
    void setFieldText(int index, const QString &text) override { fields[index] = text; }
    QStringList listEntries(int index) const override { return lists.count(index) ? lists.at(index) : QStringList(); }
    void setListEntry(int index, int entry, const QString &text) override { lists[index][entry] = text; }
    QString customizedText(int row) const override { return customized.count(row) ? customized.at(row) : QString(); }
    void setCustomizedText(int row, const QString &text) override { customized[row] = text; }
    void markChecking(const SpellTarget &, bool on) override { marks += on ? 1 : -1; }
    void selectTab(int tab) override { tabs << tab; }
    void showStatus(const QString &text) override { status = text; }

    std::map<int, QString> fields;
    std::map<int, QStringList> lists;
    std::map<int, QString> customized;
    QList<int> tabs;
    QString status;
    int marks = 0;
};

class SpellingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pack.setBuiltInDefaults();
        pack.setMessage(int(Message::NothingToCheck), QStringLiteral("nothing"));
        pack.setMessage(int(Message::SpellerUnavailable), QStringLiteral("unavailable"));
        pack.setMessage(int(Message::SpellCheckFailed), QStringLiteral("failed"));
        choice.languagePack = QStringLiteral("English");
        choice.personalFolder = personal.path();
        service.setOpener([this] { return openHunspellSpeller(choice); });
    }

    TempFolder personal;
    DictionaryChoice choice;
    SpellingService service;
    FirstSuggestionCorrector corrector;
    LanguagePack pack;
    SpellCheckCommands commands{service, corrector, pack};
    FakeForm form;
};

TEST_F(SpellingTest, dictionaryFollowsTheLanguagePackAndFallsBackWithinTheLanguage)
{
    EXPECT_EQ(dictionaryNameFor(QStringLiteral("English")), QStringLiteral("en_US"));
    EXPECT_EQ(dictionaryNameFor(QStringLiteral("French")), QStringLiteral("fr_FR"));
    EXPECT_EQ(dictionaryNameFor(QStringLiteral("German")), QStringLiteral("de_DE"));
    EXPECT_TRUE(findDictionary(choice).endsWith(QStringLiteral("/en_US")));
    choice.name = QStringLiteral("fr_XX");
    EXPECT_TRUE(findDictionary(choice).contains(QStringLiteral("/fr"))); // another French one
    choice.name = QStringLiteral("xx_YY");
    EXPECT_TRUE(findDictionary(choice).isEmpty());
}

TEST_F(SpellingTest, correctionPassFindsUnknownWordsAndChangesThem)
{
    auto speller = openHunspellSpeller(choice);
    ASSERT_TRUE(speller);
    CorrectionPass pass(*speller, QStringLiteral("The ligth house, the ligth ship and 2005 e-mail"));
    ASSERT_TRUE(pass.next());
    EXPECT_EQ(pass.word(), QStringLiteral("ligth"));
    EXPECT_TRUE(pass.suggestions().contains(QStringLiteral("light")));
    pass.changeAll(QStringLiteral("light"));
    EXPECT_FALSE(pass.next());
    EXPECT_EQ(pass.text(), QStringLiteral("The light house, the light ship and 2005 e-mail"));
}

TEST_F(SpellingTest, ignoreAllLastsForTheCommandAndAddedWordsForLaterOnes)
{
    {
        auto speller = openHunspellSpeller(choice);
        CorrectionPass pass(*speller, QStringLiteral("Zelvarionic and Kerlouan"));
        ASSERT_TRUE(pass.next());
        pass.ignoreAll();
        ASSERT_TRUE(pass.next());
        EXPECT_EQ(pass.word(), QStringLiteral("Kerlouan"));
        EXPECT_TRUE(pass.addToDictionary());
        EXPECT_TRUE(speller->isCorrect(QStringLiteral("Zelvarionic")));
    }
    auto later = openHunspellSpeller(choice);
    EXPECT_FALSE(later->isCorrect(QStringLiteral("Zelvarionic")));
    EXPECT_TRUE(later->isCorrect(QStringLiteral("Kerlouan")));
}

TEST_F(SpellingTest, keywordListIsCheckedEntryByEntry)
{
    form.lists[kKeywordsIndex] = {QStringLiteral("colour"), QStringLiteral("ligth")};
    commands.checkField(form, kKeywordsIndex);
    EXPECT_EQ(corrector.checked, QStringList({"colour", "ligth"}));
    EXPECT_EQ(form.lists[kKeywordsIndex], QStringList({"color", "light"}));
    EXPECT_EQ(form.marks, 0); // lit and put back
    EXPECT_TRUE(form.status.isEmpty());
}

TEST_F(SpellingTest, checkAllOverOneFilledFieldChecksOneText)
{
    form.fields[30] = QStringLiteral("A bote on the see");
    form.customized[0] = QStringLiteral("not checked: customized fields are off");
    commands.checkAll(form, false);
    EXPECT_EQ(corrector.checked, QStringList({"A bote on the see"}));
    EXPECT_NE(form.fields[30], QStringLiteral("A bote on the see"));
    EXPECT_EQ(form.tabs, QList<int>({1, 2, 3, 4, 5, 1}));
}

TEST_F(SpellingTest, checkAllGoesTabByTabAndAFailureEndsOnlyItsTab)
{
    form.fields[0] = QStringLiteral("one");
    form.fields[1] = QStringLiteral("two");
    form.fields[20] = QStringLiteral("Brest");
    form.customized[3] = QStringLiteral("row");
    corrector.failNext = true;
    commands.checkAll(form, true);
    EXPECT_EQ(corrector.checked, QStringList({"one", "Brest", "row"})); // "two" is passed over with tab 1
    EXPECT_EQ(form.status, QStringLiteral("failed"));
    EXPECT_EQ(form.tabs, QList<int>({1, 2, 3, 4, 5, 6, 1}));
}

TEST_F(SpellingTest, emptyFieldsChecksNothingAndCheckAllSaysSo)
{
    commands.checkField(form, 30);
    commands.checkField(form, kKeywordsIndex);
    EXPECT_TRUE(corrector.checked.isEmpty());
    form.customized[2] = QStringLiteral("customized rows do not count");
    commands.checkAll(form, true);
    EXPECT_EQ(form.status, QStringLiteral("nothing"));
    EXPECT_TRUE(corrector.checked.isEmpty());
}

// Dates, times and codes are no words: a speller would offer "Un" for "Jun" and "FAR" for "FRA".
TEST_F(SpellingTest, checkAllPassesOverDatesTimesAndCodes)
{
    form.fields[iptcIndex("CreatedDate")] = QStringLiteral("21 Jun 2026");
    form.fields[iptcIndex("CreatedTime")] = QStringLiteral("14:30:00");
    form.fields[iptcIndex("ReleaseTime")] = QStringLiteral("08:00:00");
    form.fields[iptcIndex("ReferenceDate")] = QStringLiteral("20260621");
    form.fields[iptcIndex("CountryCode")] = QStringLiteral("FRA");
    form.fields[iptcIndex("Category")] = QStringLiteral("SPO");
    form.fields[iptcIndex("ImageType")] = QStringLiteral("1C");
    commands.checkAll(form, false);
    EXPECT_TRUE(corrector.checked.isEmpty());
    EXPECT_EQ(form.status, QStringLiteral("nothing"));

    form.fields[iptcIndex("City")] = QStringLiteral("Bordeax");
    commands.checkAll(form, false);
    EXPECT_EQ(corrector.checked, QStringList({"Bordeax"}));
    EXPECT_EQ(form.fields[iptcIndex("CountryCode")], QStringLiteral("FRA"));
    EXPECT_EQ(form.fields[iptcIndex("CreatedDate")], QStringLiteral("21 Jun 2026"));
    // A field's own button still checks it when asked.
    form.fields[iptcIndex("Country")] = QStringLiteral("Frence");
    commands.checkField(form, iptcIndex("Country"));
    EXPECT_EQ(corrector.checked.last(), QStringLiteral("Frence"));
}

TEST_F(SpellingTest, missingDictionaryTurnsSpellingOffForTheRestOfTheRun)
{
    choice.folders = {personal.file(QStringLiteral("no-dictionaries"))};
    form.fields[30] = QStringLiteral("text");
    commands.checkField(form, 30);
    EXPECT_EQ(form.status, QStringLiteral("unavailable"));
    EXPECT_FALSE(service.available());
    choice.folders.clear(); // a dictionary now: the switch stays off all the same
    commands.checkAll(form, true);
    commands.checkCustomizedRow(form, 0);
    EXPECT_TRUE(form.status.isEmpty());
    EXPECT_TRUE(corrector.checked.isEmpty());
}

} // namespace
