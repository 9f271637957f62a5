#include "core/session/LanguagePack.h"

#include "core/iptc/IptcField.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

std::string str(const QString &text) { return text.toStdString(); }

LanguagePack parsed(const char *content)
{
    LanguagePack pack;
    pack.parse(QString::fromUtf8(content));
    return pack;
}

int countSetTexts(const LanguagePack &pack)
{
    int count = 0;
    for (int key = 1; key <= LanguagePack::kInterfaceKeys; ++key)
        count += pack.text(key).isEmpty() ? 0 : 1;
    for (int key = 1; key <= LanguagePack::kMessageKeys; ++key)
        count += pack.message(key).isEmpty() ? 0 : 1;
    return count;
}

} // namespace

// --- Reading the entries of a pack -------------------------------------------------------------

TEST(LanguagePackParse, setsInterfaceKeyWithSpacesAroundEquals)
{
    const LanguagePack pack = parsed("[Interface]\r\n  12 = Open  \r\n");
    EXPECT_EQ(str(pack.text(12)), "Open");
}

TEST(LanguagePackParse, ignoresKeysThatAreNotNumbersOrOutOfRange)
{
    for (const char *key : {"x", "600", "0", "501", "-1", "12abc", "", "nan", "inf", "1e300"}) {
        SCOPED_TRACE(key);
        const QByteArray content = QByteArray("[Interface]\r\n") + key + " = Open\r\n";
        EXPECT_EQ(countSetTexts(parsed(content.constData())), 0);
    }
}

TEST(LanguagePackParse, roundsNumericKeysToWholeNumbers)
{
    const LanguagePack pack = parsed("[Interface]\n12.4=Down\n13.6=Up\n250=Last\n1=First\n");
    EXPECT_EQ(str(pack.text(12)), "Down");
    EXPECT_EQ(str(pack.text(14)), "Up");
    EXPECT_EQ(str(pack.text(250)), "Last");
    EXPECT_EQ(str(pack.text(1)), "First");
}

TEST(LanguagePackParse, messagesRangeEndsAtFiveHundred)
{
    const LanguagePack pack = parsed("[Messages]\n500=Last\n501=Too far\n0=Zero\n3=Three\n");
    EXPECT_EQ(str(pack.message(500)), "Last");
    EXPECT_EQ(str(pack.message(3)), "Three");
    EXPECT_EQ(countSetTexts(pack), 2);
}

TEST(LanguagePackParse, sectionNamesAreCaseSensitiveAndOthersAreIgnored)
{
    EXPECT_EQ(countSetTexts(parsed("[interface]\n12=Open\n[MESSAGES]\n3=Three\n")), 0);
    EXPECT_EQ(countSetTexts(parsed("12=Before any section\n")), 0);
    const LanguagePack pack = parsed("[Interface]\n12=Open\n[Other]\n13=Skipped\n  [Messages]  \n3=Three\n");
    EXPECT_EQ(str(pack.text(12)), "Open");
    EXPECT_TRUE(pack.text(13).isEmpty());
    EXPECT_EQ(str(pack.message(3)), "Three");
}

TEST(LanguagePackParse, valueIsEverythingAfterTheFirstEqualsSign)
{
    const LanguagePack pack = parsed("[Interface]\n5 =  a = b == c  \n6=\n7 no equals sign\n");
    EXPECT_EQ(str(pack.text(5)), "a = b == c");
    EXPECT_TRUE(pack.text(6).isEmpty());
    EXPECT_TRUE(pack.text(7).isEmpty());
}

TEST(LanguagePackParse, laterEntryReplacesEarlierOne)
{
    const LanguagePack pack = parsed("[Interface]\n12=First\n[Messages]\n12=Message\n[Interface]\n12=Second\n");
    EXPECT_EQ(str(pack.text(12)), "Second");
    EXPECT_EQ(str(pack.message(12)), "Message");
}

TEST(LanguagePackParse, crLfLineEndsLeaveNoCarriageReturnInTexts)
{
    const LanguagePack pack = parsed("[Interface]\r\n12=Open\r\n[Messages]\r\n3=Three\r\n");
    EXPECT_EQ(str(pack.text(12)), "Open");
    EXPECT_EQ(str(pack.message(3)), "Three");
}

// The command line's texts are named; a pack that lacks one (older, or made by a user) gives the
// English the program passes, never an empty line, and the numbered sections are not touched.
TEST(LanguagePackParse, commandLineTextsAreNamedAndFallBackToTheEnglishGiven)
{
    const LanguagePack pack = parsed("[Messages]\r\n3=Three\r\n[CommandLine]\r\n"
                                     "usage = Utilisation :\r\nexport.--json=en JSON\r\nexport.summary=\r\n"
                                     "; comment=not a key\r\n12=Named, not numbered\r\n"
                                     "search.details=one\\ntwo \\\\n \\t\r\n");
    EXPECT_EQ(str(pack.commandLineText(QStringLiteral("usage"), QStringLiteral("Usage:"))), "Utilisation :");
    EXPECT_EQ(str(pack.commandLineText(QStringLiteral("export.--json"), QStringLiteral("as JSON"))), "en JSON");
    EXPECT_EQ(str(pack.commandLineText(QStringLiteral("export.--xsl"), QStringLiteral("renders"))), "renders");
    EXPECT_EQ(str(pack.commandLineText(QStringLiteral("export.summary"), QStringLiteral("Writes"))), "Writes");
    EXPECT_EQ(str(pack.commandLineText(QStringLiteral("search.details"), {})), "one\ntwo \\n \\t");
    EXPECT_EQ(str(pack.commandLineText(QStringLiteral("Export.--json"), QStringLiteral("as JSON"))), "as JSON");
    EXPECT_FALSE(pack.commandLineKeys().contains(QStringLiteral("; comment")));
    EXPECT_TRUE(pack.text(12).isEmpty());
    EXPECT_EQ(str(pack.message(3)), "Three");
    EXPECT_EQ(countSetTexts(pack), 1);
}

TEST(LanguagePackParse, keepsBackslashNForTheCallerToTurnIntoLineBreaks)
{
    const LanguagePack pack = parsed("[Interface]\n218=Starting\\nplease wait\n");
    EXPECT_EQ(str(pack.text(218)), "Starting\\nplease wait");
    EXPECT_EQ(str(withLineBreaks(pack.text(218))), "Starting\nplease wait");
}

// --- Loading pack files ------------------------------------------------------------------------

TEST(LanguagePackLoad, setsBuiltInDefaultsBeforeEveryRead)
{
    TempFolder folder;
    folder.write("French.lng", "[Interface]\r\n1=&Fichier\r\n2=&Quitter\r\n[Messages]\r\n1=Introuvable\r\n");
    folder.write("Plain.lng", "[Interface]\r\n3=Language\r\n");
    LanguagePack pack;
    ASSERT_TRUE(pack.load(folder.path(), "French"));
    EXPECT_EQ(str(pack.text(1)), "&Fichier");
    EXPECT_EQ(str(pack.message(1)), "Introuvable");

    ASSERT_TRUE(pack.load(folder.path(), "Plain"));
    EXPECT_EQ(str(pack.text(1)), "&File");
    EXPECT_EQ(str(pack.text(2)), "&Exit");
    EXPECT_EQ(str(pack.message(1)), "User-defined");
}

TEST(LanguagePackLoad, switchingPacksKeepsKeysTheNewPackDoesNotSet)
{
    TempFolder folder;
    folder.write("First.lng", "[Interface]\r\n50=Kept\r\n51=Old\r\n");
    folder.write("Second.lng", "[Interface]\r\n51=New\r\n");
    LanguagePack pack;
    ASSERT_TRUE(pack.load(folder.path(), "First"));
    ASSERT_TRUE(pack.load(folder.path(), "Second"));
    EXPECT_EQ(str(pack.text(50)), "Kept");
    EXPECT_EQ(str(pack.text(51)), "New");
}

TEST(LanguagePackLoad, missingPackReadsNothingButResetsDefaults)
{
    TempFolder folder;
    folder.write("First.lng", "[Interface]\r\n1=Menu\r\n50=Kept\r\n");
    LanguagePack pack;
    ASSERT_TRUE(pack.load(folder.path() + "/", "First"));
    EXPECT_FALSE(pack.load(folder.path() + "/", "Missing"));
    EXPECT_EQ(str(pack.filePath()), str(folder.path() + "/Missing.lng"));
    EXPECT_EQ(str(pack.text(50)), "Kept");
    EXPECT_EQ(str(pack.text(1)), "&File");
    EXPECT_FALSE(pack.load(folder.path() + "/no-such-folder", "First"));
}

TEST(LanguagePackLoad, readsUtf8AndFallsBackToWindows1252)
{
    TempFolder folder;
    folder.write("Utf8.lng", "[Interface]\r\n12=Caf\xC3\xA9 \xE2\x82\xAC\r\n");
    folder.write("Ansi.lng", "[Interface]\r\n12=Caf\xE9 \x80\r\n");
    LanguagePack pack;
    ASSERT_TRUE(pack.load(folder.path(), "Utf8"));
    EXPECT_EQ(str(pack.text(12)), "Caf\xC3\xA9 \xE2\x82\xAC");
    ASSERT_TRUE(pack.load(folder.path(), "Ansi"));
    EXPECT_EQ(str(pack.text(12)), "Caf\xC3\xA9 \xE2\x82\xAC");
}

TEST(LanguagePackLoad, findsAPackWhoseNameDiffersOnlyInCase)
{
    TempFolder folder;
    folder.write("french.LNG", "[Interface]\r\n3=Langue\r\n");
    LanguagePack pack;
    ASSERT_TRUE(pack.load(folder.path(), "French"));
    EXPECT_EQ(str(pack.text(3)), "Langue");
}

TEST(LanguagePackLoad, prefersTheExactFileName)
{
    TempFolder folder;
    folder.write("FRENCH.lng", "[Interface]\r\n3=Wrong\r\n");
    folder.write("French.lng", "[Interface]\r\n3=Right\r\n");
    LanguagePack pack;
    ASSERT_TRUE(pack.load(folder.path(), "French"));
    EXPECT_EQ(str(pack.text(3)), "Right");
}

// --- The Language menu -------------------------------------------------------------------------

TEST(LanguageMenu, offersAtMostTenExtraPacksSortedByName)
{
    TempFolder folder;
    for (const char *name : {"L07", "L12", "L01", "L10", "L03", "L11", "L05", "L02", "L09", "L04", "L08", "L06"})
        folder.write(QString::fromLatin1(name) + ".lng", "[Interface]\r\n");
    folder.write("English.lng", "[Interface]\r\n");
    const QStringList expected = {"L01", "L02", "L03", "L04", "L05", "L06", "L07", "L08", "L09", "L10"};
    EXPECT_EQ(listExtraLanguages(folder.path()), expected);
}

TEST(LanguageMenu, neverOffersEnglishUnderAnyCase)
{
    TempFolder folder;
    for (const char *name : {"english.lng", "ENGLISH.LNG", "English.lng", "Englishman.lng", "French.lng"})
        folder.write(name, "[Interface]\r\n");
    EXPECT_EQ(listExtraLanguages(folder.path()), QStringList({"Englishman", "French"}));
}

TEST(LanguageMenu, listsOnlyPackFiles)
{
    TempFolder folder;
    folder.write("Translations.txt", "a=b\r\n");
    folder.write("German.LNG", "[Interface]\r\n");
    folder.write("Italian.lng.bak", "[Interface]\r\n");
    QDir(folder.path()).mkdir("Folder.lng");
    EXPECT_EQ(listExtraLanguages(folder.path()), QStringList({"German"}));
}

TEST(LanguageMenu, missingFolderGivesNoLanguages)
{
    TempFolder folder;
    EXPECT_TRUE(listExtraLanguages(folder.path() + "/absent").isEmpty());
}

// --- Text helpers ------------------------------------------------------------------------------

TEST(LanguageTexts, withLineBreaksTurnsEveryBackslashNIntoALineBreak)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", ""},
        {"no break", "no break"},
        {"a\\nb", "a\nb"},
        {"\\n\\n", "\n\n"},
        {"end\\", "end\\"},
        {"\\\\n", "\\\n"},
        {"\\N stays", "\\N stays"},
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(str(withLineBreaks(QString::fromUtf8(input))), expected) << input;
}

TEST(LanguageTexts, withoutAcceleratorDropsSingleAmpersands)
{
    const std::pair<const char *, const char *> cases[] = {
        {"&File", "File"}, {"E&xit", "Exit"}, {"R&&D", "R&D"}, {"end&", "end"}, {"", ""}, {"&&&a", "&a"},
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(str(withoutAccelerator(QString::fromUtf8(input))), expected) << input;
}

// --- The packs that ship with the program ------------------------------------------------------

namespace {

const QString kShippedFolder = QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language/");
const char *const kShippedPacks[] = {"English", "French"};

enum class Table { Interface, Messages };

struct PackKey
{
    Table table;
    int key;
    auto operator<=>(const PackKey &) const = default;
};

std::string describe(const PackKey &k)
{
    return (k.table == Table::Interface ? "interface " : "message ") + std::to_string(k.key);
}

// Every key that has a name, which is every key a window or message of the program uses.
std::set<PackKey> usedKeys()
{
    std::set<PackKey> keys;
    for (const InterfaceText key : kAllInterfaceTexts)
        keys.insert({Table::Interface, int(key)});
    for (const Message key : kAllMessages)
        keys.insert({Table::Messages, int(key)});
    return keys;
}

QString textOf(const LanguagePack &pack, const PackKey &k)
{
    return k.table == Table::Interface ? pack.text(k.key) : pack.message(k.key);
}

LanguagePack loadShipped(const char *language)
{
    LanguagePack pack;
    EXPECT_TRUE(pack.load(kShippedFolder, QString::fromLatin1(language))) << language;
    return pack;
}

QByteArray shippedBytes(const char *language)
{
    QFile file(kShippedFolder + QString::fromLatin1(language) + ".lng");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QChar acceleratorOf(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption[i + 1].toLower();
        ++i;
    }
    return {};
}

} // namespace

TEST(ShippedLanguagePacks, areUtf8WithCrLfLinesAndTheSectionsInOrder)
{
    for (const char *language : kShippedPacks) {
        SCOPED_TRACE(language);
        const QByteArray bytes = shippedBytes(language);
        ASSERT_FALSE(bytes.isEmpty());
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(bytes);
        EXPECT_FALSE(utf8.hasError());
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
        QStringList headers;
        for (const QString &line : text.split(QStringLiteral("\r\n")))
            if (line.startsWith(u'['))
                headers.append(line);
        // English needs no command line section: its texts are the program's own.
        EXPECT_EQ(headers, qstrcmp(language, "English") == 0 ? QStringList({"[Interface]", "[Messages]"})
                                                              : QStringList({"[Interface]", "[Messages]", "[CommandLine]"}));
    }
}

TEST(ShippedLanguagePacks, setEachKeyOnlyOnce)
{
    for (const char *language : kShippedPacks) {
        SCOPED_TRACE(language);
        std::set<QString> seen;
        QString section;
        for (const QString &line : QString::fromUtf8(shippedBytes(language)).split(QStringLiteral("\r\n"))) {
            if (line.startsWith(u'['))
                section = line;
            else if (line.contains(u'=')) {
                EXPECT_TRUE(seen.insert(section + line.section(u'=', 0, 0)).second) << str(line);
            }
        }
    }
}

TEST(ShippedLanguagePacks, giveATextForEveryNamedKey)
{
    for (const char *language : kShippedPacks) {
        const LanguagePack pack = loadShipped(language);
        for (const PackKey &k : usedKeys())
            EXPECT_FALSE(textOf(pack, k).isEmpty()) << language << ": " << describe(k);
    }
}

// The names cover interface and message keys from 1 to the highest named one except the numbers no window asks for,
// and nothing else.
TEST(LanguageKeyNames, nameExactlyTheKeysThatAreUsed)
{
    std::set<int> unusedInterface; // between the designed windows' texts and the later ones, from 380,
    for (int key = 259; key < 380; ++key) // and between those and the captioning extras, from 400
        unusedInterface.insert(key);
    for (int key = 387; key < 400; ++key)
        unusedInterface.insert(key);
    for (int key = 407; key < 410; ++key) // between the captioning extras and the vocabulary's, from 410
        unusedInterface.insert(key);
    for (int key = 411; key < 420; ++key) // between the vocabulary's and the pack's language, from 420
        unusedInterface.insert(key);
    for (int key = 426; key < 440; ++key) // between the pack's language and the windows' later captions
        unusedInterface.insert(key);
    for (int key = 443; key < 460; ++key) // between those and the main window's, from 460
        unusedInterface.insert(key);
    for (int key = 461; key < 480; ++key) // between the main window's and the server catalogue's, from 480
        unusedInterface.insert(key);
    std::set<int> unusedMessages; // between the window's messages, what failed (from 100) and the
    for (int key = 70; key < 100; ++key) // command line's, from 200
        unusedMessages.insert(key);
    for (int key = 180; key < 200; ++key) // after why an image was left as it was, from 140
        unusedMessages.insert(key);
    for (int key = 351; key < 400; ++key) // between the windows' later ones and the captioning extras
        unusedMessages.insert(key);
    for (int key = 430; key < 460; ++key) // between the forms and refusals and the main window's
        unusedMessages.insert(key);
    for (int key = 255; key < 350; ++key) // between the command line's and the windows' later ones
        unusedMessages.insert(key);
    for (int key = 413; key < 420; ++key) // between the vocabulary's and the forms and refusals
        unusedMessages.insert(key);
    for (int key = 464; key < 480; ++key) // between the main window's and the shared catalogue's
        unusedMessages.insert(key);
    std::set<PackKey> expected;
    const std::set<PackKey> named = usedKeys();
    const auto highest = [&](Table table) {
        int top = 0;
        for (const PackKey &k : named)
            top = k.table == table ? std::max(top, k.key) : top;
        return top;
    };
    for (int key = 1; key <= highest(Table::Interface); ++key)
        if (!unusedInterface.count(key))
            expected.insert({Table::Interface, key});
    for (int key = 1; key <= highest(Table::Messages); ++key)
        if (!unusedMessages.count(key))
            expected.insert({Table::Messages, key});
    for (const PackKey &k : expected)
        EXPECT_TRUE(named.count(k)) << describe(k) << " has no name";
    for (const PackKey &k : named)
        EXPECT_TRUE(expected.count(k)) << describe(k) << " is named but never used";
}

TEST(LanguageKeyNames, eachOverloadReadsItsOwnSection)
{
    const LanguagePack pack = parsed("[Interface]\n11=Search\n24=Scan them\n"
                                     "[Messages]\n11=Elapsed\n24=Choose a field\n");
    EXPECT_EQ(str(pack.text(InterfaceText::SearchButton)), "Search");
    EXPECT_EQ(str(pack.text(InterfaceText::DatabaseHelpLine3)), "Scan them");
    EXPECT_EQ(str(pack.message(Message::ElapsedTime)), "Elapsed");
    EXPECT_EQ(str(pack.message(Message::ChooseField)), "Choose a field");
}

// fieldLabel walks the fields in their catalogue order, so the English pack gives each field its
// default label.
TEST(ShippedLanguagePacks, englishFieldLabelsAreTheDefaultLabelsInFieldOrder)
{
    EXPECT_EQ(fieldLabel(0), InterfaceText::FieldLabelObjectName);
    EXPECT_EQ(fieldLabel(kSupplementalCategoryIndex), InterfaceText::FieldLabelSupplementalCategory);
    EXPECT_EQ(fieldLabel(kKeywordsIndex), InterfaceText::FieldLabelKeywords);
    EXPECT_EQ(fieldLabel(kCustomizedIndex), InterfaceText::FieldLabelCustomized);
    ASSERT_EQ(kFieldLabelCount, kIptcFieldCount);
    const LanguagePack english = loadShipped("English");
    for (const IptcField &field : kIptcFields)
        EXPECT_EQ(str(english.text(fieldLabel(field.index))), field.label) << field.column;
}

// The English pack keeps the English captions the windows are designed with (an "&" aside), except
// where a design caption is spelled wrongly (EditCustomizedOption, ControlLengthsOption) or names
// the same command differently in different windows (CloseButton). The captions below that
// differ from the design are its wrong English written right ("informations", a doubled space,
// missing articles, "double filenames"), the meaning kept.
TEST(ShippedLanguagePacks, englishUsesTheDesignCaptions)
{
    const std::pair<InterfaceText, const char *> captions[] = {
        {InterfaceText::FileMenu, "File"},
        {InterfaceText::ExitMenuItem, "Exit"},
        {InterfaceText::LanguageMenu, "Language"},
        {InterfaceText::SqlQueryMenuItem, "SQL Select Query [expert]"},
        {InterfaceText::HelpMenu, "Help"},
        {InterfaceText::AboutMenuItem, "About"},
        {InterfaceText::DatabaseButton, "Database"},
        {InterfaceText::ImageCountLabel, "#Images:"},
        {InterfaceText::FoundCountLabel, "#Found:"},
        {InterfaceText::ConfigurationMenu, "Configuration"},
        {InterfaceText::SearchButton, "Search"},
        {InterfaceText::CancelButton, "Cancel"},
        {InterfaceText::CopyMenuItem, "Copy"},
        {InterfaceText::SearchAllIptcOption, "Search all IPTC information"},
        {InterfaceText::SearchOptionsMenuItem, "Search options"},
        {InterfaceText::StayOnTopMenuItem, "Stay on top"},
        {InterfaceText::CreateThumbnailsOption, "Create thumbnails"},
        {InterfaceText::UseThumbnailsMenuItem, "Use generated thumbnails to display images"},
        {InterfaceText::RecreateThumbnailsOption, "Recreate"},
        {InterfaceText::KeepThumbnailsOption, "Do not recreate"},
        {InterfaceText::WholeWordOption, "whole word"},
        {InterfaceText::NeverRevisedOption, "Information never revised"},
        {InterfaceText::AlreadyRevisedOption, "Information already revised"},
        {InterfaceText::ChronologicalOrderOption, "chronological order"},
        {InterfaceText::ReverseChronologicalOrderOption, "reverse chronological order"},
        {InterfaceText::WithoutIptcOption, "Images without IPTC information"},
        {InterfaceText::WithIptcOption, "Images with IPTC information"},
        {InterfaceText::AddButton, "Add"},
        {InterfaceText::ReplaceButton, "Replace"},
        {InterfaceText::RemoveButton, "Remove"},
        {InterfaceText::EditOptionsMenuItem, "Edit IPTC options"},
        {InterfaceText::ReadFromFilesOption, "Read IPTC information from the image files"},
        {InterfaceText::ReadFromFilesNote, "[slower, but correct even if another IPTC editor has changed the "
         "files]"},
        {InterfaceText::ReadFromDatabaseOption, "Read IPTC information from the database"},
        {InterfaceText::ReadFromDatabaseNote, "[faster, but not up to date if another IPTC editor has changed "
         "the files]"},
        {InterfaceText::KeepCreationDateOption, "Keep original creation date/time"},
        {InterfaceText::SaveOriginalsOption, "Save original files in the following folder"},
        {InterfaceText::BrowseButton, "Browse"},
        {InterfaceText::UnknownFolderWarning, "Unknown folder"},
        {InterfaceText::SpellCheckAllLabel, "Spell Checker (all fields)"},
        {InterfaceText::CustomizedFieldLabel, "Field"},
        {InterfaceText::CustomizedNameLabel, "Field Name"},
        {InterfaceText::EditCustomizedNamesButton, "Edit customized field names"},
        {InterfaceText::FieldSearchOption, "IPTC field..."},
        {InterfaceText::SortedByLabel, "Sorted by"},
        {InterfaceText::NotMarkedLegend, "not selected"},
        {InterfaceText::MarkedLegend, "selected"},
        {InterfaceText::DisplayMarkedMenuItem, "Display selected images"},
        {InterfaceText::StatisticsMenuItem, "Word statistics"},
        {InterfaceText::ToolsMenu, "Tools"},
        {InterfaceText::AnalyseButton, "Analyse"},
        {InterfaceText::RemoveAllMarksMenuItem, "Remove all selection marks"},
        {InterfaceText::EmptyWordsMenuItem, "Empty words list"},
        {InterfaceText::EmptyWordLabel, "Empty Word"},
        {InterfaceText::IgnoreEmptyWordsOption, "Ignore empty words"},
        {InterfaceText::HighlightUnknownButton, "Highlight unknown words"},
        {InterfaceText::CopyImagesMenuItem, "Copy images"},
        {InterfaceText::DestinationFolderLabel, "Select destination folder"},
        {InterfaceText::CopyOkButton, "OK"},
        {InterfaceText::UnknownOnlyOption, "Display unknown words only"},
        {InterfaceText::EditIptcMenuItem, "Edit IPTC information"},
        {InterfaceText::OpenImageMenuItem, "Open image"},
        {InterfaceText::DefineTemplatesMenuItem, "Define IPTC templates"},
        {InterfaceText::TemplateNameLabel, "Template name"},
        {InterfaceText::EditTemplateButton, "Edit template"},
        {InterfaceText::TemplatesMenu, "Templates"},
        {InterfaceText::SelectionMenu, "Selection"},
        {InterfaceText::NoTemplateInUse, "no template used"},
        {InterfaceText::ApplyTemplateMenuItem, "Apply template to images in search result"},
        {InterfaceText::MergeKeepOriginalOption, "Keep original IPTC information (fill only the empty image "
         "fields from non-empty template fields)"},
        {InterfaceText::MergeOverwriteNonEmptyOption, "Overwrite original IPTC information with non-empty "
         "template fields (empty template fields do not clear the corresponding image fields)"},
        {InterfaceText::MergeOverwriteAllOption, "Overwrite original IPTC information with all template "
         "fields (empty template fields clear the corresponding image fields)"},
        {InterfaceText::StopButton, "Stop"},
        {InterfaceText::NotProcessedLabel, "Images not processed"},
        {InterfaceText::CurrentImageLabel, "Image being processed"},
        {InterfaceText::DeleteMenuItem, "Delete"},
        {InterfaceText::RenameMenuItem, "Rename"},
        {InterfaceText::PropertiesMenuItem, "Properties"},
        {InterfaceText::ExportXmlMenuItem, "Export XML"},
        {InterfaceText::MarkResultMenuItem, "Select all images in result"},
        {InterfaceText::UnmarkResultMenuItem, "Unselect all images in result"},
        {InterfaceText::XmlTitleLabel, "Title"},
        {InterfaceText::DisplayXmlButton, "Display XML"},
        {InterfaceText::XslListLabel, "Use the following XSL transformation"},
        {InterfaceText::AnalyseKeywordsOption, "Analyse only keywords"},
        {InterfaceText::AnalyseAllFieldsOption, "Analyse all IPTC fields"},
        {InterfaceText::KeepBackupOption, "Do not overwrite previously saved files"},
        {InterfaceText::OverwriteBackupOption, "Overwrite previously saved files"},
        {InterfaceText::DefineDatabaseMenuItem, "Define database and folders to scan"},
        {InterfaceText::ExportThumbnailsOption, "Generate thumbnails in subfolder 'thumbs'"},
        {InterfaceText::NoExportThumbnailsOption, "Do not generate thumbnails"},
        {InterfaceText::CheckMarkFrame, "Pause key"},
        {InterfaceText::SearchDoublesMenuItem, "Search for duplicate file names"},
        {InterfaceText::TranslationOption, "automatic translation"},
        {InterfaceText::SelectionsMenuItem, "Save selections"},
        {InterfaceText::SaveButton, "Save"},
        {InterfaceText::DisplaySelectionButton, "Display selection"},
        {InterfaceText::DisplayImageMenuItem, "Display image"},
        {InterfaceText::ExactExpressionOption, "exact expression"},
        {InterfaceText::AndOperatorOption, "and"},
        {InterfaceText::OrOperatorOption, "or"},
        {InterfaceText::AddTemplateKeywordsOption, "Add template keywords"},
        {InterfaceText::RemoveTemplateKeywordsOption, "Remove keywords corresponding to template keywords"},
    };
    const LanguagePack english = loadShipped("English");
    for (const auto &[key, caption] : captions)
        EXPECT_EQ(str(withoutAccelerator(english.text(key))), caption) << "interface " << int(key);
}

TEST(ShippedLanguagePacks, frenchKeepsEveryPlaceholderOfTheEnglishText)
{
    const LanguagePack english = loadShipped("English");
    const LanguagePack french = loadShipped("French");
    for (const PackKey &k : usedKeys()) {
        for (const char *placeholder : {"\\n", "%"}) {
            const QString p = QString::fromLatin1(placeholder);
            EXPECT_EQ(textOf(english, k).count(p), textOf(french, k).count(p))
                << describe(k) << " placeholder " << placeholder;
        }
    }
}

// French sets a no-break space before : ; ? ! and inside « »: a plain one lets a line break
// leave the sign alone at the start of a line. A sign glued to its word (12:30, a path) is no
// clause's end and stays as it is.
TEST(ShippedLanguagePacks, frenchHoldsEveryDoubleSignAndQuoteWithANoBreakSpace)
{
    const LanguagePack french = loadShipped("French");
    const QRegularExpression plain(QStringLiteral(R"([ ][:;?!]|[^ \x{A0}][:;?!]( |$|\\n|\||\})|«[^\x{A0}]|[^\x{A0}]»)"));
    for (const PackKey &k : usedKeys()) {
        const QRegularExpressionMatch found = plain.match(textOf(french, k));
        EXPECT_FALSE(found.hasMatch()) << describe(k) << ": \"" << found.captured().toStdString() << '"';
    }
}

TEST(ShippedLanguagePacks, textsThatAreFilledInHoldTheirPlaceholders)
{
    const std::pair<PackKey, const char *> required[] = {
        {{Table::Interface, 156}, "#"}, {{Table::Interface, 156}, "%"},
        {{Table::Interface, 186}, "#"}, {{Table::Messages, 15}, "#"},
        {{Table::Messages, 15}, "%"},   {{Table::Messages, 25}, "#"},
    };
    for (const char *language : kShippedPacks) {
        const LanguagePack pack = loadShipped(language);
        for (const auto &[k, placeholder] : required)
            EXPECT_TRUE(textOf(pack, k).contains(QString::fromLatin1(placeholder)))
                << language << ": " << describe(k) << " needs " << placeholder;
    }
}

// Only these texts go through withLineBreaks; anywhere else "\n" would show as typed.
TEST(ShippedLanguagePacks, lineBreaksOnlyWhereTheyAreTurnedIntoLines)
{
    const std::set<int> withBreaks = {146, 156, 218};
    const std::set<int> messagesWithBreaks = {int(Message::ProgramNotStarted)}; // a failure's text is made into lines
    for (const char *language : kShippedPacks) {
        const LanguagePack pack = loadShipped(language);
        for (const PackKey &k : usedKeys()) {
            if (k.table == Table::Interface && withBreaks.count(k.key))
                continue;
            if (k.table == Table::Messages && messagesWithBreaks.count(k.key))
                continue;
            EXPECT_FALSE(textOf(pack, k).contains(QStringLiteral("\\n"))) << language << ": " << describe(k);
        }
        EXPECT_TRUE(pack.text(218).contains(QStringLiteral("\\n"))) << language;
    }
}

TEST(ShippedLanguagePacks, menuAcceleratorsAreUniqueWithinEachMenu)
{
    const std::vector<std::vector<int>> menus = {
        {1, 10, 175, 176, 153, 3},           // menu bar
        {219, 2},                            // File
        {67, 118, 236, 73, 76},              // Configuration
        {168, 182},                          // Templates
        {149, 157, 232, 202, 203},           // Selection
        {150, 158, 225, 162, 4, 200},        // Tools
        {5, 6},                              // Help
        {166, 167, 197, 198, 199},           // image pop-up
    };
    for (const char *language : kShippedPacks) {
        const LanguagePack pack = loadShipped(language);
        for (const auto &menu : menus) {
            std::set<QChar> letters;
            for (int key : menu) {
                const QChar letter = acceleratorOf(pack.text(key));
                if (!letter.isNull()) {
                    EXPECT_TRUE(letters.insert(letter).second) << language << ": interface " << key;
                }
            }
        }
    }
}

// The field search and the detail panel find a field by its display name, and the sort list
// puts the file columns before the field names.
TEST(ShippedLanguagePacks, fieldAndSortNamesAreDistinct)
{
    for (const char *language : kShippedPacks) {
        const LanguagePack pack = loadShipped(language);
        std::set<QString> names;
        for (int key = 140; key <= 145; ++key)
            EXPECT_TRUE(names.insert(pack.text(key)).second) << language << ": interface " << key;
        for (int key = 31; key <= 65; ++key)
            EXPECT_TRUE(names.insert(pack.text(key)).second) << language << ": interface " << key;
    }
}

TEST(ShippedLanguagePacks, theBuiltInEnglishIsTheShippedFileAndFillsWhatAPackLacks)
{
    const LanguagePack file = loadShipped("English");
    LanguagePack builtIn;
    builtIn.loadShippedEnglish();
    for (const PackKey &k : usedKeys())
        EXPECT_EQ(str(textOf(builtIn, k)), str(textOf(file, k))) << describe(k);

    TempFolder folder;
    folder.write("Partial.lng", "[Interface]\r\n11=Chercher\r\n");
    ASSERT_TRUE(builtIn.load(folder.path(), "Partial"));
    EXPECT_EQ(str(builtIn.text(InterfaceText::SearchButton)), "Chercher");
    EXPECT_EQ(str(builtIn.text(InterfaceText::FoundCountLabel)), str(file.text(InterfaceText::FoundCountLabel)));
    EXPECT_EQ(str(builtIn.message(Message::NothingToSearch)), str(file.message(Message::NothingToSearch)));
}
