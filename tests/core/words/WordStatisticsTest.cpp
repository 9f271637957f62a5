// Word counting: the splitting rules, one entry per word whatever its case, the groups and their
// order, empty words, the group limit, the sorts, and an analysis over a real catalogue.
#include "core/words/EmptyWords.h"
#include "core/words/WordAnalysis.h"
#include "core/words/WordStatistics.h"

#include "../export/ExportCatalogue.h"
#include "core/session/LanguagePack.h"
#include "platform/IniFile.h"

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

QStringList wordsOf(const QString &text)
{
    QStringList words;
    forEachWord(text, kEnglish, [&](QStringView word) { words << word.toString(); });
    return words;
}

QStringList counted(const WordCounter &counter)
{
    QStringList list;
    for (const WordCount &w : counter.words())
        list << w.word + u'=' + QString::number(w.count);
    return list;
}

TEST(WordSplitting, separatorsShortWordsAndNumbers)
{
    EXPECT_EQ(wordsOf(QStringLiteral("l'eau (e-mail) R&D;x_y\r\n\"quote\" a/b\\c [2005] {2005a} -3.5e2 1e5")),
              QStringList({"eau", "e-mail", "R&D", "quote", "2005a"}));
    EXPECT_EQ(wordsOf(QStringLiteral("  two   spaces,,,and...dots ")), QStringList({"two", "spaces", "and", "dots"}));
    EXPECT_TRUE(readsAsNumber(u"2005", kEnglish));
    EXPECT_TRUE(readsAsNumber(u"-12", kEnglish));
    EXPECT_FALSE(readsAsNumber(u"2005a", kEnglish));
    EXPECT_FALSE(readsAsNumber(u"nan", kEnglish));
}

TEST(WordCounting, oneEntryPerWordSpelledAsFirstMet)
{
    WordCounter counter(nullptr, kEnglish);
    counter.addText(QStringLiteral("Paris paris PARIS Été été"));
    EXPECT_EQ(counted(counter), QStringList({"Paris=3", "Été=2"}));
}

TEST(WordCounting, groupsPutAccentedAndDigitInitialWordsAfterZ)
{
    WordCounter counter(nullptr, kEnglish);
    counter.addText(QStringLiteral("zebra Écluse 2005a apple Banana azure"));
    EXPECT_EQ(counted(counter), QStringList({"apple=1", "azure=1", "Banana=1", "zebra=1", "2005a=1", "Écluse=1"}));
    EXPECT_EQ(wordGroup(u"APPLE"), 0);
    EXPECT_EQ(wordGroup(u"ZEBRA"), 25);
    EXPECT_EQ(wordGroup(u"ÉCLUSE"), 26);
    EXPECT_EQ(wordGroup(u"2005A"), 26);
}

TEST(WordCounting, emptyWordsAreLeftOutOnlyWhenAsked)
{
    const EmptyWordTable empty(QStringList{QStringLiteral("LE"), QStringLiteral("de")});
    WordCounter ignoring(&empty, kEnglish);
    ignoring.addText(QStringLiteral("le Le chat DE la"));
    EXPECT_EQ(counted(ignoring), QStringList({"chat=1", "la=1"}));
    WordCounter counting(nullptr, kEnglish);
    counting.addText(QStringLiteral("le Le chat"));
    EXPECT_EQ(counted(counting), QStringList({"chat=1", "le=2"}));
}

TEST(WordCounting, aFullGroupRefusesNewWordsButStillCountsKnownOnes)
{
    WordCounter counter(nullptr, kEnglish);
    for (int i = 0; i < WordCounter::kGroupLimit; ++i)
        ASSERT_EQ(counter.add(QStringLiteral("w%1").arg(i)), WordCounter::Added::Counted);
    EXPECT_EQ(counter.add(u"wnew"), WordCounter::Added::GroupFull);
    EXPECT_EQ(counter.add(u"W0"), WordCounter::Added::Counted);
    EXPECT_EQ(counter.add(u"other"), WordCounter::Added::Counted); // another group has room
    EXPECT_FALSE(counter.addText(QStringLiteral("again wfull")));
}

TEST(WordSorting, countsSortNumericallyAndWordsWithoutRegardToCase)
{
    std::vector<WordCount> words = {{"b", 999}, {"A", 1000}, {"c", 2}, {"d", 999}};
    const WordOrder order(kEnglish);
    sortWords(words, WordSortKey::Count, false, order);
    EXPECT_EQ(words[0].word, QStringLiteral("A"));
    EXPECT_EQ(words[1].word, QStringLiteral("b")); // equal counts keep their order
    EXPECT_EQ(words[2].word, QStringLiteral("d"));
    sortWords(words, WordSortKey::Count, true, order);
    EXPECT_EQ(words[0].word, QStringLiteral("c"));
    sortWords(words, WordSortKey::Word, true, order);
    EXPECT_EQ(words[0].word, QStringLiteral("A"));
    sortWords(words, WordSortKey::Word, false, order);
    EXPECT_EQ(words[0].word, QStringLiteral("d"));
}

class WordAnalysisTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pack.setBuiltInDefaults();
        pack.setMessage(int(Message::ListLimitReached), QStringLiteral("At most # entries."));
        pack.setMessage(int(Message::ElapsedTime), QStringLiteral("Elapsed time:"));
        pack.setText(int(InterfaceText::AnalysisSummary), QStringLiteral("# words in % images\\n"));
        catalogue.add(QStringLiteral("/p/"), QStringLiteral("1.jpg"),
                      {{"Keywords", QStringLiteral("Paris; harbour")}, {"Caption", QStringLiteral("Boats in Paris")}});
        catalogue.add(QStringLiteral("/p/"), QStringLiteral("2.jpg"),
                      {{"Keywords", QStringLiteral("paris")}, {"City", QStringLiteral("Brest")}});
    }
    WordAnalysisOutcome analyse(bool allFields)
    {
        WordAnalysisRequest request;
        request.allFields = allFields;
        request.locale = kEnglish;
        request.beforeImage = [this](int rank) { ranks << rank; };
        return analyseWords(request, catalogue.results, catalogue.db, feedback, pack);
    }
    static QStringList list(const WordAnalysisOutcome &outcome)
    {
        QStringList words;
        for (const WordCount &w : outcome.words)
            words << w.word + u'=' + QString::number(w.count);
        return words;
    }

    ExportCatalogue catalogue;
    RecordingFeedback feedback;
    LanguagePack pack;
    QList<int> ranks;
};

TEST_F(WordAnalysisTest, keywordsOnlyOrAllFields)
{
    EXPECT_EQ(list(analyse(false)), QStringList({"harbour=1", "Paris=2"}));
    EXPECT_EQ(list(analyse(true)), QStringList({"Boats=1", "Brest=1", "harbour=1", "in=1", "Paris=3"}));
    EXPECT_EQ(ranks, QList<int>({1, 2, 1, 2}));
}

TEST_F(WordAnalysisTest, stopAfterTheFirstImageShowsItsWordsOnly)
{
    feedback.stop = true;
    const WordAnalysisOutcome outcome = analyse(true);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.imagesRead, 1);
    EXPECT_EQ(list(outcome), QStringList({"Boats=1", "harbour=1", "in=1", "Paris=2"}));
}

TEST_F(WordAnalysisTest, aFullGroupShowsMessage25AndEndsTheCountAsAStop)
{
    QStringList many;
    for (int i = 0; i <= WordCounter::kGroupLimit; ++i)
        many << QStringLiteral("w%1").arg(i);
    catalogue.add(QStringLiteral("/p/"), QStringLiteral("0.jpg"), {{"Caption", many.join(u' ')}});
    std::vector<ResultRow> rows = catalogue.results.rows();
    std::rotate(rows.begin(), rows.end() - 1, rows.end()); // the crowded image first
    catalogue.results.assign(rows);
    const WordAnalysisOutcome outcome = analyse(true);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].text, QStringLiteral("At most 32000 entries."));
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.imagesRead, 0);
    EXPECT_EQ(ranks, QList<int>({1}));
    EXPECT_EQ(std::count_if(outcome.words.begin(), outcome.words.end(),
                            [](const WordCount &w) { return w.word.startsWith(u'w'); }),
              WordCounter::kGroupLimit);
}

TEST_F(WordAnalysisTest, catalogueThatCannotOpenCountsNothing)
{
    catalogue.db.path = catalogue.folder.file(QStringLiteral("no/such.db"));
    const WordAnalysisOutcome outcome = analyse(true);
    EXPECT_FALSE(outcome.opened);
    EXPECT_TRUE(outcome.words.empty());
    ASSERT_EQ(feedback.messages.size(), 1u);
}

TEST_F(WordAnalysisTest, summaryLineNamesTimeWordsAndImages)
{
    EXPECT_EQ(analysisSummary(pack, 3, 12, 40), QStringLiteral(" Elapsed time: 3 s   12 words in 40 images\n"));
}

// A gap once ended the list, so a blank entry lost every word after it at the next OK.
TEST(EmptyWords, readingSkipsGapsAndBlanksInNumberOrder)
{
    struct Case { const char *section; QStringList words; };
    const Case cases[] = {
        {"0Word=le\n1Word=la\n", {"le", "la"}},
        {"0Word=le\n1Word=la\n3Word=kept\n", {"le", "la", "kept"}},
        {"0Word=le\n1Word=\n2Word=la\n3Word=  \n4Word=du\n", {"le", "la", "du"}},
        {"2Word=b\n0Word=a\n10Word=c\n1word=d\nWord=x\nnote=y\n", {"a", "d", "b", "c"}},
        {"1Word= de \n", {"de"}},
        {"", {}},
    };
    for (const Case &c : cases) {
        TempFolder folder;
        const IniFile ini(folder.write(QStringLiteral("Zelvarion.ini"), QByteArray("[EmptyWords]\n") + c.section));
        EXPECT_EQ(readEmptyWords(ini), c.words) << c.section;
    }
}

TEST(EmptyWords, writingReplacesTheSectionWithoutGapsOrBlanks)
{
    TempFolder folder;
    const IniFile ini(folder.write(QStringLiteral("Zelvarion.ini"), "[EmptyWords]\n0Word=le\n5Word=gone\n"));
    writeEmptyWords(ini, {QStringLiteral("de"), QStringLiteral(" "), QString(), QStringLiteral("du")});
    EXPECT_EQ(readEmptyWords(ini), QStringList({"de", "du"}));
    EXPECT_EQ(ini.keys(QStringLiteral("EmptyWords")), QStringList({"0Word", "1Word"}));
}

TEST(EmptyWords, aBlankWordNeverReplacesAnEntry)
{
    EmptyWordsList list({QStringLiteral("de"), QStringLiteral("du"), QStringLiteral("le")});
    for (const char *blank : {"", " ", "\t", "  \t "})
        EXPECT_EQ(list.replace(1, QLatin1String(blank)), EmptyWordsList::Refusal::BlankWord) << blank;
    EXPECT_EQ(list.words(), QStringList({"de", "du", "le"}));
}

TEST(EmptyWords, listRefusesDuplicatesWithoutRegardToCaseAndKeepsItsOrder)
{
    EmptyWordsList list({QStringLiteral("le"), QStringLiteral("Du"), QStringLiteral("à")});
    EXPECT_EQ(list.words(), QStringList({"Du", "le", "à"}));
    int at = -1;
    EXPECT_EQ(list.add(QStringLiteral("  de "), &at), EmptyWordsList::Refusal::None);
    EXPECT_EQ(at, 0);
    EXPECT_EQ(list.add(QStringLiteral("LE")), EmptyWordsList::Refusal::AlreadyInList);
    EXPECT_EQ(list.replace(1, QStringLiteral("DU")), EmptyWordsList::Refusal::AlreadyInList); // itself, other case
    EXPECT_EQ(list.replace(-1, QStringLiteral("x")), EmptyWordsList::Refusal::NoEntrySelected);
    EXPECT_EQ(list.replace(0, QStringLiteral("zz")), EmptyWordsList::Refusal::None);
    EXPECT_EQ(list.words().first(), QStringLiteral("zz")); // not re-sorted
    int selected = -2;
    EXPECT_EQ(list.remove(3, &selected), EmptyWordsList::Refusal::None);
    EXPECT_EQ(selected, 2); // past the end: the last entry
    EXPECT_EQ(list.remove(7), EmptyWordsList::Refusal::NoEntrySelected);
}

} // namespace
