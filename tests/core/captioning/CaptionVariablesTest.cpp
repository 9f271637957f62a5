// The variables of a template text: what each gives for an image, the braces that stand for
// themselves, and the texts refused with the brace that starts the trouble.
#include "core/captioning/CaptionVariables.h"
#include "core/session/LanguagePack.h"

#include <gtest/gtest.h>

using namespace zelvarion;

namespace {

std::string str(const QString &text) { return text.toStdString(); }

class CaptionVariables : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fields.values[kCityIndex] = QStringLiteral("Lyon");
        fields.values[std::size_t(iptcIndex("CreatedDate"))] = QStringLiteral("20230115");
        fields.values[std::size_t(iptcIndex("CreatedTime"))] = QStringLiteral("093005+0100");
        fields.values[kKeywordsIndex] = QStringLiteral("quai; Saône");
        facts.path = QStringLiteral("/photos/2024 Trip/IMG_0042.final.jpg");
        facts.modified = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
        facts.now = QDateTime(QDate(2025, 12, 11), QTime(0, 5));
        facts.sequence = 7;
        facts.size = QSize(640, 480);
        facts.fields = &fields;
    }
    QString expanded(const QString &text) const
    {
        const ParsedCaption parsed = parseCaptionText(text);
        EXPECT_FALSE(parsed.problem) << str(text);
        return parsed.text.expand(facts);
    }

    IptcFieldSet fields;
    CaptionFacts facts;
};

} // namespace

TEST_F(CaptionVariables, eachVariableGivesTheImagesFact)
{
    const std::pair<const char *, const char *> cases[] = {
        {"{File}", "IMG_0042.final.jpg"},
        {"{FileBase}", "IMG_0042.final"},
        {"{Folder}", "2024 Trip"},
        {"{FileDate:yyyy-MM-dd}", "2024-03-05"},
        {"{FileDate}", "2024-03-05"},
        {"{FileDate:d/M/yy}", "5/3/24"},
        {"{FileTime:HH:mm}", "14:07"},
        {"{FileTime}", "14:07:09"},
        {"{FileTime:h:mm ap}", "2:07 pm"},
        {"{FileTime:HH'h'mm}", "14h07"},
        {"{Today:dd.MM.yyyy}", "11.12.2025"},
        {"{Seq}", "7"},
        {"{Seq:1}", "7"},
        {"{Seq:3}", "007"},
        {"{Width}x{Height}", "640x480"},
        {"{City}", "Lyon"},
        {"{city} {CITY}", "Lyon Lyon"}, // names compare without regard to case
        {"{CreatedDate}", "20230115"},
        {"{CreatedDate:d MMMM yyyy}", "15 January 2023"},
        {"{CreatedTime:HH.mm}", "09.30"},
        {"{Keywords}", "quai; Saône"},
        {"{Caption}", ""},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(str(expanded(QString::fromUtf8(text))), expected) << text;
}

TEST_F(CaptionVariables, bracesAndPlainTextStandForThemselves)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", ""},
        {"plain text, no braces", "plain text, no braces"},
        {"{{City}}", "{City}"},
        {"a}}b", "a}b"},
        {"a}b", "a}b"},
        {"}", "}"},
        {"{{{Seq:2}}}", "{07}"},
        {"Shot {FileBase} in {City}, {Seq:4} of the day", "Shot IMG_0042.final in Lyon, 0007 of the day"},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(str(expanded(QString::fromUtf8(text))), expected) << text;
}

TEST_F(CaptionVariables, factsThatAreMissingOrOddGiveWhatTheyCan)
{
    facts.sequence = 1234;
    EXPECT_EQ(str(expanded(QStringLiteral("{Seq:3}"))), "1234"); // never cut
    facts.size = QSize();
    facts.modified = QDateTime();
    EXPECT_EQ(str(expanded(QStringLiteral("[{Width}][{FileDate:yyyy}][{FileTime}]"))), "[][][]");
    fields.values[std::size_t(iptcIndex("CreatedDate"))] = QStringLiteral("2023");
    fields.values[std::size_t(iptcIndex("CreatedTime"))] = QStringLiteral("noon");
    EXPECT_EQ(str(expanded(QStringLiteral("{CreatedDate:yyyy-MM-dd} {CreatedTime:HH}"))), "2023 noon"); // as stored
    facts.fields = nullptr;
    EXPECT_EQ(str(expanded(QStringLiteral("[{City}]"))), "[]");
    facts.path = QStringLiteral("/.hidden");
    EXPECT_EQ(str(expanded(QStringLiteral("[{FileBase}][{Folder}]"))), "[.hidden][]");
}

TEST_F(CaptionVariables, namesInDateFormatsFollowTheLocale)
{
    facts.locale = QLocale(QLocale::French, QLocale::France);
    EXPECT_EQ(str(expanded(QStringLiteral("{FileDate:dddd d MMMM yyyy}"))), "mardi 5 mars 2024");
}

TEST_F(CaptionVariables, refusedTextsNameTheVariableAndWhereItStarts)
{
    using K = VariableProblem::Kind;
    struct Case
    {
        const char *text;
        K kind;
        qsizetype position;
        const char *written;
    };
    const Case cases[] = {
        {"{Town}", K::UnknownVariable, 0, "{Town}"},
        {"{}", K::UnknownVariable, 0, "{}"},
        {"{ City}", K::UnknownVariable, 0, "{ City}"},
        {"{1a}", K::UnknownVariable, 0, "{1a}"},
        {"ok {{ then {Nope}", K::UnknownVariable, 11, "{Nope}"},
        {"a {File:x}", K::TakesNoFormat, 2, "{File:x}"},
        {"{City:yyyy}", K::TakesNoFormat, 0, "{City:yyyy}"},
        {"{Width:}", K::TakesNoFormat, 0, "{Width:}"},
        {"{Seq:0}", K::BadDigits, 0, "{Seq:0}"},
        {"{Seq:10}", K::BadDigits, 0, "{Seq:10}"},
        {"{Seq:x}", K::BadDigits, 0, "{Seq:x}"},
        {"{FileDate:qq}", K::UnknownFormat, 0, "{FileDate:qq}"},
        {"{FileDate:}", K::UnknownFormat, 0, "{FileDate:}"},
        {"{FileDate:HH}", K::UnknownFormat, 0, "{FileDate:HH}"}, // a time in a date
        {"{FileTime:yyyy}", K::UnknownFormat, 0, "{FileTime:yyyy}"},
        {"{FileDate:y}", K::UnknownFormat, 0, "{FileDate:y}"},
        {"{FileDate:ddddd}", K::UnknownFormat, 0, "{FileDate:ddddd}"},
        {"{Today:'open}", K::UnknownFormat, 0, "{Today:'open}"},
        {"{CreatedTime:MM}", K::UnknownFormat, 0, "{CreatedTime:MM}"},
        {"{unclosed", K::UnclosedBrace, 0, "{unclosed"},
        {"x {a {City}", K::UnclosedBrace, 2, "{a "},
        {"{City} {", K::UnclosedBrace, 7, "{"},
    };
    for (const Case &c : cases) {
        const ParsedCaption parsed = parseCaptionText(QString::fromUtf8(c.text));
        ASSERT_TRUE(parsed.problem) << c.text;
        EXPECT_EQ(parsed.problem->kind, c.kind) << c.text;
        EXPECT_EQ(parsed.problem->position, c.position) << c.text;
        EXPECT_EQ(str(parsed.problem->written), c.written) << c.text;
        EXPECT_TRUE(parsed.text.parts().empty()) << c.text;
    }
}

TEST_F(CaptionVariables, aLongRunAwayVariableIsShownShort)
{
    const QString text = u'{' + QString(200, u'x') + u'}';
    const ParsedCaption parsed = parseCaptionText(text);
    ASSERT_TRUE(parsed.problem);
    EXPECT_EQ(parsed.problem->written.size(), 41);
    EXPECT_TRUE(parsed.problem->written.endsWith(u'\u2026'));
}

TEST_F(CaptionVariables, theFixedTextLeavesTheVariablesOut)
{
    const ParsedCaption parsed = parseCaptionText(QStringLiteral("Shot {FileBase} in {{x}} #{Seq:3}"));
    ASSERT_FALSE(parsed.problem);
    EXPECT_TRUE(parsed.text.hasVariables());
    EXPECT_EQ(str(parsed.text.fixedText()), "Shot  in {x} #");
    const ParsedCaption plain = parseCaptionText(QStringLiteral("a {{b}}"));
    EXPECT_FALSE(plain.text.hasVariables());
    EXPECT_EQ(str(plain.text.fixedText()), "a {b}");
}

TEST_F(CaptionVariables, problemsAreToldInThePacksWords)
{
    const VariableProblem problem{VariableProblem::Kind::UnknownVariable, 0, QStringLiteral("{Town}")};
    const QString english = variableProblemText(problem, nullptr);
    EXPECT_TRUE(english.contains(QStringLiteral("{Town}"))) << str(english);
    EXPECT_FALSE(english.contains(u'#'));
    LanguagePack pack;
    pack.parse(QStringLiteral("[Messages]\n401=# : inconnue\n"));
    EXPECT_EQ(str(variableProblemText(problem, &pack)), "{Town} : inconnue");
}
