// The command line speaks the pack's language in its help and refusals too, and every name a pack's
// command line section gives is one the program reads.
#include "CliRunner.h"

#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/captioning/TemplateEdits.h"
#include "core/session/LanguagePack.h"

#include "support/TempFolder.h"

#include <QSet>

#include <gtest/gtest.h>

#include <map>

using namespace zelvarion;
using namespace zelvarion::cli;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

// A program folder whose catalogue cannot be opened: help must not need it.
class CliLanguageTest : public ::testing::Test
{
protected:
    CliRun cli(const char *language, const QStringList &arguments)
    {
        folder.write(u8("Zelvarion.ini"), QByteArray("[Configuration]\r\nLanguage=") + language
                                              + "\r\nLastDB=" + folder.file(u8("missing/Images.db")).toUtf8() + "\r\n");
        return runCli(QStringList{u8("--program-folder"), folder.path()} + arguments);
    }

    TempFolder folder;
};

QSet<QString> nonEmptyLines(const QString &text)
{
    QSet<QString> lines;
    for (const QString &line : text.split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines.insert(line);
    return lines;
}

// The English texts the program holds, by key.
std::map<QString, QString> programTexts()
{
    std::map<QString, QString> texts;
    const auto add = [&texts](const QString &key, const QString &english) {
        const auto [at, added] = texts.emplace(key, english);
        EXPECT_TRUE(added || at->second == english) << "one key, two texts: " << key.toStdString();
    };
    for (const Command &command : commandTable())
        for (const auto &[key, english] : syntaxTexts(command.syntax))
            add(key, english);
    for (const NamedText *text : texts::kAllNamedTexts)
        add(QLatin1String(text->key), QString::fromUtf8(text->english));
    for (const NamedText *text : editRefusals::kAll)
        add(QLatin1String(text->key), QString::fromUtf8(text->english));
    return texts;
}

} // namespace

TEST_F(CliLanguageTest, helpOfTheProgramAndOfCommandsIsInThePacksLanguage)
{
    // The calls too long for the column stand alone on their line, the same in every language.
    QSet<QString> syntaxOnly;
    for (const Command &command : commandTable())
        syntaxOnly.insert(u8("  ") + QLatin1String(command.syntax.name) + u' ' + QLatin1String(command.syntax.operands));
    const CliRun english = cli("English", {u8("--help")});
    const CliRun french = cli("French", {u8("--help")});
    ASSERT_EQ(french.exitCode, 0) << french.err.toStdString();
    EXPECT_TRUE(english.out.startsWith(u8("Usage: zelvarion-cli [--program-folder DIR] COMMAND [OPTIONS] [OPERANDS]\n"
                                          "       zelvarion-cli --version | --help\n\n"
                                          "Commands (zelvarion-cli COMMAND --help tells more):\n")));
    EXPECT_EQ(nonEmptyLines(english.out).intersect(nonEmptyLines(french.out)) - syntaxOnly, QSet<QString>());
    for (const Command &command : commandTable())
        EXPECT_TRUE(french.out.contains(u8("\n  ") + QLatin1String(command.syntax.name) + u' ')) << command.syntax.name;
    EXPECT_EQ(cli("French", {}).out, french.out); // no command at all: the same help, exit 2

    for (const char *command : {"export", "template", "rename", "undo"}) {
        SCOPED_TRACE(command);
        const CliRun inEnglish = cli("English", {u8(command), u8("--help")});
        const CliRun inFrench = cli("French", {u8(command), u8("--help")});
        ASSERT_EQ(inFrench.exitCode, 0) << inFrench.err.toStdString();
        EXPECT_EQ(nonEmptyLines(inEnglish.out).intersect(nonEmptyLines(inFrench.out)), QSet<QString>());
        // Every option keeps its name, at the start of its line.
        int options = 0;
        for (const QString &line : inEnglish.out.split(u'\n')) {
            if (!line.startsWith(u8("  -")))
                continue;
            ++options;
            const QString label = line.section(u8("  "), 1, 1);
            EXPECT_TRUE(inFrench.out.contains(u8("\n  ") + label + u8("  "))) << label.toStdString();
        }
        EXPECT_GE(options, 3);
    }
}

TEST_F(CliLanguageTest, refusalsOfTheParserAndOfTheCommandsAreInThePacksLanguage)
{
    const CliRun parserEnglish = cli("English", {u8("rename"), u8("--force"), u8("a.jpg"), u8("b.jpg")});
    const CliRun parserFrench = cli("French", {u8("rename"), u8("--force"), u8("a.jpg"), u8("b.jpg")});
    EXPECT_EQ(parserFrench.exitCode, 2);
    EXPECT_EQ(parserEnglish.err, u8("zelvarion-cli rename: unknown option '--force' (see zelvarion-cli rename --help)\n"));
    EXPECT_TRUE(parserFrench.err.startsWith(u8("zelvarion-cli rename: "))) << parserFrench.err.toStdString();
    EXPECT_TRUE(parserFrench.err.contains(u8("--force")) && !parserFrench.err.contains(u8("unknown")));

    // A usage refusal a command types itself, and one that names the value refused.
    const CliRun usageEnglish = cli("English", {u8("doubles"), u8("extra")});
    const CliRun usageFrench = cli("French", {u8("doubles"), u8("extra")});
    EXPECT_EQ(usageFrench.exitCode, 2);
    EXPECT_EQ(usageEnglish.err, u8("zelvarion-cli doubles: takes no operands (see zelvarion-cli doubles --help)\n"));
    EXPECT_TRUE(usageFrench.err.startsWith(u8("zelvarion-cli doubles: "))) << usageFrench.err.toStdString();
    EXPECT_FALSE(usageFrench.err.contains(u8("operands")) || usageFrench.err.contains(u8("(see ")));
    const CliRun valueFrench = cli("French", {u8("search"), u8("--operator"), u8("xor#1"), u8("paris")});
    EXPECT_EQ(valueFrench.exitCode, 2);
    EXPECT_TRUE(valueFrench.err.contains(u8("xor#1"))) << valueFrench.err.toStdString();
    EXPECT_FALSE(valueFrench.err.contains(u8("takes")) || valueFrench.err.contains(u8(" not ")));
}

// A misspelt key would leave its text in English for good; a placeholder lost in translation would
// print the sign instead of the value.
TEST(CommandLinePackTexts, theFrenchPackNamesExactlyTheProgramsTextsWithTheirPlaceholders)
{
    const std::map<QString, QString> program = programTexts();
    LanguagePack french;
    ASSERT_TRUE(french.load(u8(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language"), u8("French")));
    const QStringList keys = french.commandLineKeys();
    for (const QString &key : keys) {
        const auto english = program.find(key);
        if (english == program.end()) {
            ADD_FAILURE() << "no text of the program is named " << key.toStdString();
            continue;
        }
        const QString translated = french.commandLineText(key, {});
        for (const QChar sign : {u'#', u'%', u'$'})
            EXPECT_EQ(translated.count(sign), english->second.count(sign)) << key.toStdString();
    }
    for (const auto &[key, english] : program)
        EXPECT_TRUE(keys.contains(key)) << "French.lng does not translate " << key.toStdString();
}
