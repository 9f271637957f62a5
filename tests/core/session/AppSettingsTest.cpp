#include "core/session/AppSettings.h"
#include "platform/IniFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <limits>
#include <type_traits>
#include <variant>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

QString q(const char *text) { return QString::fromUtf8(text); }

// A configuration file laid out from its text.
struct IniFixture
{
    explicit IniFixture(const QByteArray &text = {})
        : ini(text.isEmpty() ? folder.file("Zelvarion.ini") : folder.write("Zelvarion.ini", text))
    {
    }
    TempFolder folder;
    IniFile ini;
};

} // namespace

TEST(SettingValue, switchesAreRecognisedOnlyAsExactlyOneOrZero)
{
    struct Case
    {
        std::optional<QString> value;
        bool defaultOff;
        bool defaultOn;
    };
    const Case cases[] = {
        {std::nullopt, false, true}, {q("1"), true, true},     {q("0"), false, false},
        {q("yes"), false, true},     {q("true"), false, true}, {q("no"), false, true},
        {q("01"), false, true},      {q("2"), false, true},    {q("-1"), false, true},
    };
    for (const Case &c : cases) {
        const std::string name = c.value ? c.value->toStdString() : "<absent>";
        EXPECT_EQ(settingValue::switchDefaultOff(c.value), c.defaultOff) << name;
        EXPECT_EQ(settingValue::switchDefaultOn(c.value), c.defaultOn) << name;
    }
    EXPECT_EQ(settingValue::switchText(true), q("1"));
    EXPECT_EQ(settingValue::switchText(false), q("0"));
}

TEST(SettingValue, wholeNumberTakesTheLeadingNumberAndRoundsHalvesAwayFromZero)
{
    struct Case
    {
        const char *text;
        long long expected;
    };
    const Case cases[] = {
        {"12abc", 12}, {"x", 0},     {"", 0},       {" 3.6", 4},     {"3.4", 3},   {"2.5", 3},
        {"-2.5", -3},  {"-7", -7},   {"+8", 8},     {"-", 0},        {".5", 1},    {"1.", 1},
        {"9 9", 9},    {"1,5", 1},   {"\t42", 42},  {"0015", 15},    {"-x3", 0},   {"1e3", 1},
        {"99999999999999999999999", std::numeric_limits<long long>::max()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(settingValue::wholeNumber(q(c.text)), c.expected) << c.text;
    EXPECT_FALSE(settingValue::wholeNumber(std::optional<QString>()));
}

TEST(AppSettings, missingFileGivesEveryDefault)
{
    IniFixture file;
    const AppSettings settings = readAllSettings(file.ini);
    EXPECT_FALSE(settings.displayImage);
    EXPECT_TRUE(settings.useThumbnails);
    EXPECT_EQ(settings.language, q("English"));
    EXPECT_FALSE(settings.lastDB);
    EXPECT_TRUE(settings.searchAllIPTC);
    EXPECT_TRUE(settings.searchFolderNames);
    EXPECT_TRUE(settings.searchFileNames);
    EXPECT_EQ(settings.translation, 0);
    EXPECT_EQ(settings.indexFieldIPTC, -1);
    EXPECT_TRUE(settings.readIPTC);
    EXPECT_TRUE(settings.editCustomizedFields);
    EXPECT_TRUE(settings.saveFirstVersion);
    EXPECT_FALSE(settings.saveOriginalFile);
    for (const CustomizedFieldName &row : settings.customizedFieldNames) {
        EXPECT_TRUE(row.index.isEmpty());
        EXPECT_TRUE(row.name.isEmpty());
    }
}

TEST(AppSettings, handWrittenYesOrTrueReadsAsTheSwitchDefault)
{
    IniFixture file("[Configuration]\nDisplayImage=yes\nUseThumbnails=false\nStayOnTop=true\n"
                    "[SearchOptions]\nSearchAllIPTC=no\nSearchKeywords=TRUE\n");
    const AppSettings settings = readAllSettings(file.ini);
    EXPECT_FALSE(settings.displayImage);
    EXPECT_FALSE(settings.stayOnTop);
    EXPECT_TRUE(settings.useThumbnails);
    EXPECT_TRUE(settings.searchAllIPTC);
    EXPECT_FALSE(settings.searchKeywords);
}

TEST(AppSettings, readsEveryConfigurationKey)
{
    IniFixture file("[configuration]\nDisplayImage=1\nStayOnTop=1\nUseThumbnails=0\n"
                    "CreateThumbnails=1\nReCreateThumbnails=1\nLanguage=Deutsch\n"
                    "LastDB=/photos/Images.db\nDestinationFolder=/copies/\n"
                    "ApplyTemplateOption=7\nAddKeywordsOption=1\nRemoveKeywordsOption=1\n");
    AppSettings settings;
    readConfiguration(file.ini, settings);
    EXPECT_TRUE(settings.displayImage && settings.stayOnTop && settings.createThumbnails
                && settings.reCreateThumbnails && settings.addKeywordsOption
                && settings.removeKeywordsOption);
    EXPECT_FALSE(settings.useThumbnails);
    EXPECT_EQ(settings.language, q("Deutsch"));
    EXPECT_EQ(settings.lastDB, q("/photos/Images.db"));
    EXPECT_EQ(settings.destinationFolder, q("/copies/"));
    EXPECT_EQ(settings.applyTemplateOption, 7); // kept: it then selects no mode
}

TEST(AppSettings, emptyLanguageAndLastDBCountAsAbsent)
{
    IniFixture file("[Configuration]\nLanguage=\nLastDB=\n");
    AppSettings settings;
    settings.lastDB = q("/old.db");
    readConfiguration(file.ini, settings);
    EXPECT_EQ(settings.language, q("English"));
    EXPECT_FALSE(settings.lastDB);
}

TEST(AppSettings, translationOutsideZeroToTwoReadsAsZero)
{
    const std::pair<const char *, int> cases[] = {{"0", 0}, {"1", 1}, {"2", 2},  {"5", 0},
                                                  {"-1", 0}, {"2.4", 2}, {"1x", 1}, {"x", 0}};
    for (const auto &[text, expected] : cases) {
        IniFixture file("[SearchOptions]\nTranslation=" + QByteArray(text) + "\n");
        AppSettings settings;
        readSearchOptions(file.ini, settings);
        EXPECT_EQ(settings.translation, expected) << text;
    }
}

TEST(AppSettings, indexFieldOutsideTheListSelectsNoField)
{
    IniFixture file("[SearchOptions]\nIndexFieldIPTC=99\nFieldIPTC=1\nWholeWord=1\n");
    AppSettings settings;
    readSearchOptions(file.ini, settings);
    EXPECT_EQ(settings.indexFieldIPTC, 99);
    EXPECT_EQ(selectedFieldPosition(settings, 35), -1);
    EXPECT_TRUE(settings.fieldIPTC);
    EXPECT_TRUE(settings.wholeWord);
    EXPECT_FALSE(settings.useTranslation);
    for (const auto &[index, expected] : {std::pair{0, 0}, {34, 34}, {35, -1}, {-1, -1}, {-5, -1}}) {
        settings.indexFieldIPTC = index;
        EXPECT_EQ(selectedFieldPosition(settings, 35), expected) << index;
    }
}

TEST(AppSettings, readIptcOffForcesEditCustomizedFieldsOff)
{
    IniFixture file("[EditIPTCOptions]\nReadIPTC=0\nEditCustomizedFields=1\nSaveOriginalFile=1\n"
                    "SaveFirstVersion=0\nSaveFolder=/backup/\n");
    AppSettings settings;
    readEditIptcOptions(file.ini, settings);
    EXPECT_FALSE(settings.readIPTC);
    EXPECT_FALSE(settings.editCustomizedFields);
    EXPECT_TRUE(settings.saveOriginalFile);
    EXPECT_FALSE(settings.saveFirstVersion);
    EXPECT_EQ(settings.saveFolder, q("/backup/"));
}

TEST(AppSettings, readsCustomizedFieldRowsWithGaps)
{
    IniFixture file("[CustomizedFieldNames]\nIndex0=200\nName0=Project\nIndex15=201\nName3=Only name\n");
    AppSettings settings;
    readCustomizedFieldNames(file.ini, settings);
    EXPECT_EQ(settings.customizedFieldNames[0].index, q("200"));
    EXPECT_EQ(settings.customizedFieldNames[0].name, q("Project"));
    EXPECT_EQ(settings.customizedFieldNames[3].index, QString());
    EXPECT_EQ(settings.customizedFieldNames[3].name, q("Only name"));
    EXPECT_EQ(settings.customizedFieldNames[15].index, q("201"));
    EXPECT_EQ(settings.customizedFieldNames[1].name, QString());
}

TEST(AppSettings, exportStatisticsAndSpellingSectionsAreRead)
{
    IniFixture file("[XML]\nXMLTitle=Spring tour\nXSLFile=captions.xsl\n"
                    "[Statistics]\nAllFields=yes\nIgnoreEmptyWords=1\n[Spelling]\nDictionary=de_DE\n");
    AppSettings settings = readAllSettings(file.ini);
    EXPECT_EQ(settings.xmlTitle, q("Spring tour"));
    EXPECT_EQ(settings.xslFile, q("captions.xsl"));
    EXPECT_TRUE(settings.statisticsAllFields); // only "0" means keywords only
    EXPECT_TRUE(settings.ignoreEmptyWords);
    EXPECT_EQ(settings.spellingDictionary, q("de_DE"));

    file.ini.write(q("Statistics"), q("AllFields"), q("0"));
    file.ini.write(q("Statistics"), q("IgnoreEmptyWords"), q("yes"));
    readExportOptions(file.ini, settings);
    EXPECT_FALSE(settings.statisticsAllFields);
    EXPECT_FALSE(settings.ignoreEmptyWords);
    EXPECT_EQ(settings.xmlTitle, q("Spring tour")); // the sections are read again as a whole
}

TEST(SearchHistory, writesEveryEntryButReadsBackTheFirstTen)
{
    IniFixture file;
    QStringList twelve;
    for (int i = 1; i <= 12; ++i)
        twelve << q("search %1").arg(i);
    writeSearchHistory(file.ini, twelve);
    EXPECT_EQ(file.ini.read(q("Search"), q("Contents12")), q("search 12"));
    EXPECT_EQ(readSearchHistory(file.ini), twelve.mid(0, 10));
}

TEST(SearchHistory, skipsMissingKeysAndStillReadsLaterOnes)
{
    IniFixture file("[Search]\nContents1=a\nContents3=c\nContents10=j\nContents11=k\n");
    EXPECT_EQ(readSearchHistory(file.ini), (QStringList{q("a"), q("c"), q("j")}));
}

TEST(SearchHistory, writingDropsEntriesNoLongerInTheList)
{
    IniFixture file("[Search]\nContents1=a\nContents2=b\nContents3=c\n[Configuration]\nLanguage=Deutsch\n");
    writeSearchHistory(file.ini, {q("new")});
    EXPECT_EQ(readSearchHistory(file.ini), QStringList{q("new")});
    EXPECT_EQ(file.ini.read(q("Configuration"), q("Language")), q("Deutsch"));
    writeSearchHistory(file.ini, {});
    EXPECT_TRUE(readSearchHistory(file.ini).isEmpty());
    EXPECT_FALSE(file.folder.read("Zelvarion.ini").contains("[Search]"));
}

TEST(NumberedLists, emptyWordsAreReadUntilTheFirstGap)
{
    IniFixture file("[EmptyWords]\nWord0=the\nWord1=a\nWord2=of\nWord3=and\nWord4=in\nWord6=lost\n");
    EXPECT_EQ(readListUntilGap(file.ini, q("EmptyWords"), q("Word")),
              (QStringList{q("the"), q("a"), q("of"), q("and"), q("in")}));
}

TEST(NumberedLists, writtenListReadsBackFromItsFirstNumber)
{
    IniFixture file;
    const QStringList statements{q("select * from Images;"), q("select count(*) from Folders;")};
    writeNumberedList(file.ini, q("SQLQuery"), q("SQLQuery"), 1, statements);
    EXPECT_EQ(readNumberedList(file.ini, q("SQLQuery"), q("SQLQuery"), 1, 10), statements);
    writeNumberedList(file.ini, q("EmptyWords"), q("Word"), 0, {q("x"), q("y")});
    EXPECT_EQ(readListUntilGap(file.ini, q("EmptyWords"), q("Word")), (QStringList{q("x"), q("y")}));
}

TEST(WindowGeometry, presentKeysAreRoundedAndMissingOnesKeepTheDesignValue)
{
    IniFixture file("[MainWindow]\nLeft=1500.5\nTop=abc\nWidth= 10728\n");
    const QRect design(100, 200, 300, 400);
    const QRect read = readWindowTwips(file.ini, q("MainWindow"), design);
    EXPECT_EQ(read, QRect(1501, 0, 10728, 400));
    EXPECT_EQ(readWindowTwips(file.ini, q("DisplayWindow"), design), design);
}

TEST(WindowGeometry, roundTripsIncludingNegativePositions)
{
    IniFixture file;
    const QRect twips(-1200, 450, 10728, 7356);
    writeWindowTwips(file.ini, q("MainWindow"), twips);
    EXPECT_EQ(file.ini.read(q("MainWindow"), q("Left")), q("-1200"));
    EXPECT_EQ(readWindowTwips(file.ini, q("MainWindow"), QRect()), twips);
}

TEST(WriteSwitch, writesOneOrZeroThatReadBackAsTheSwitch)
{
    IniFixture file;
    writeSwitch(file.ini, q("Configuration"), q("UseThumbnails"), false);
    writeSwitch(file.ini, q("Configuration"), q("StayOnTop"), true);
    AppSettings settings;
    readConfiguration(file.ini, settings);
    EXPECT_FALSE(settings.useThumbnails);
    EXPECT_TRUE(settings.stayOnTop);
    EXPECT_EQ(file.ini.read(q("Configuration"), q("UseThumbnails")), q("0"));
}

namespace {

// A value of the member's type other than its default; numbers stay inside the row's range.
void setOtherValue(const SettingDefinition &row, AppSettings &settings, const IniFile &ini)
{
    std::visit(
        [&](auto member) {
            using Value = std::remove_cvref_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<Value, bool>)
                EXPECT_TRUE(changeSetting(ini, settings, member, !(settings.*member)));
            else if constexpr (std::is_same_v<Value, int>)
                EXPECT_TRUE(changeSetting(ini, settings, member,
                                          row.numberDefault == row.highest ? row.lowest : row.numberDefault + 1));
            else
                EXPECT_TRUE(changeSetting(ini, settings, member, QString::fromLatin1(row.key) + q(" value")));
        },
        row.member);
}

// Whether two records agree on the member of one row.
bool sameValue(const SettingDefinition &row, const AppSettings &a, const AppSettings &b)
{
    return std::visit([&](auto member) { return a.*member == b.*member; }, row.member);
}

} // namespace

TEST(SettingsTable, everySettingChangesInMemoryAndFileAndReadsBack)
{
    for (const SettingDefinition &row : settingsTable()) {
        IniFixture file;
        AppSettings settings;
        setOtherValue(row, settings, file.ini);
        EXPECT_FALSE(sameValue(row, settings, AppSettings())) << row.key;
        EXPECT_TRUE(file.ini.read(QLatin1String(row.section), QLatin1String(row.key))) << row.key;
        EXPECT_TRUE(sameValue(row, readAllSettings(file.ini), settings)) << row.key;
    }
}

TEST(SettingsTable, eachKeyAndEachMemberIsListedOnce)
{
    const auto table = settingsTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(findSetting(table[i].member), &table[i]) << table[i].key;
        for (std::size_t j = i + 1; j < table.size(); ++j)
            EXPECT_FALSE(qstricmp(table[i].section, table[j].section) == 0
                         && qstricmp(table[i].key, table[j].key) == 0)
                << table[i].key;
    }
}

TEST(SettingsTable, aNewRecordHoldsWhatAnEmptyFileGives)
{
    IniFixture file;
    const AppSettings fresh;
    const AppSettings read = readAllSettings(file.ini);
    for (const SettingDefinition &row : settingsTable())
        EXPECT_TRUE(sameValue(row, fresh, read)) << row.key;
    EXPECT_FALSE(fresh.lastDB); // absent until a catalogue is chosen, not empty
    EXPECT_EQ(fresh.language, q("English"));
}

TEST(PathMappings, pairsAreReadUpToTheFirstMissingStoredKeyAndWrittenBack)
{
    IniFixture file("[PathMapping]\nStored1=/mnt/photos\nLocal1=/media/archive\nStored2=/srv/old\n"
                    "Stored4=/never/read\nLocal4=/x\n");
    AppSettings settings;
    readPathMappings(file.ini, settings);
    ASSERT_EQ(settings.pathMappings.size(), 2u);
    EXPECT_EQ(settings.pathMappings[0].stored, q("/mnt/photos"));
    EXPECT_EQ(settings.pathMappings[0].local, q("/media/archive"));
    EXPECT_EQ(settings.pathMappings[1].local, QString()); // a pair without its local side

    settings.pathMappings = {{q("/a"), q("/b")}};
    writePathMappings(file.ini, settings);
    AppSettings back = readAllSettings(file.ini);
    ASSERT_EQ(back.pathMappings.size(), 1u);
    EXPECT_EQ(back.pathMappings[0].stored, q("/a"));
    EXPECT_EQ(back.pathMappings[0].local, q("/b"));
}
