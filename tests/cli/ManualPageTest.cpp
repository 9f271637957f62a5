// The manual page and the user guide against the built zelvarion-cli: every command and option
// its --help lists is documented, and the manual page documents no command or option the program
// does not have.
#include "CliRunner.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

QString sourceFile(const char *relative)
{
    QFile file(u8(ZELVARION_SOURCE_DIR "/") + u8(relative));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative;
    return QString::fromUtf8(file.readAll());
}

// The names in the "Commands" list of zelvarion-cli --help.
QStringList commandNames(const QString &overview)
{
    QStringList names;
    bool inList = false;
    for (const QString &line : overview.split(u'\n')) {
        if (line.startsWith(u8("Commands")))
            inList = true;
        else if (inList && line.isEmpty())
            break;
        else if (inList && line.startsWith(u8("  ")) && !line.at(2).isSpace())
            names << line.mid(2).section(u' ', 0, 0);
    }
    return names;
}

// The long options found in a text, without repetition; `escaped` reads them as a manual page
// writes them ("\-\-name").
QSet<QString> optionsIn(const QString &text, bool escaped = false)
{
    static const QRegularExpression plain(u8("(?<![\\w-])--([a-z][a-z-]*[a-z])"));
    static const QRegularExpression troff(u8("\\\\-\\\\-((?:[a-z]|\\\\-)*[a-z])"));
    QSet<QString> options;
    for (const QRegularExpressionMatch &match : (escaped ? troff : plain).globalMatch(text))
        options.insert(u8("--") + match.captured(1).remove(u'\\'));
    return options;
}

// The options of a command's --help, apart from --help itself, which every command has.
QSet<QString> helpOptions(const QString &command)
{
    const CliRun run = runCli({command, u8("--help")});
    EXPECT_EQ(run.exitCode, 0) << command.toStdString();
    QSet<QString> options = optionsIn(run.out.section(u8("\nOptions:\n"), 1));
    options.remove(u8("--help"));
    return options;
}

// The text of each ".SH" section of a manual page, by its heading.
QMap<QString, QString> manSections(const QString &page, const char *macro)
{
    QMap<QString, QString> sections;
    QString heading;
    for (const QString &line : page.split(u'\n')) {
        if (line.startsWith(u8(macro)))
            heading = line.mid(int(qstrlen(macro))).remove(u'"');
        else if (!heading.isEmpty())
            sections[heading] += line + u'\n';
    }
    return sections;
}

std::string sorted(const QSet<QString> &set)
{
    QStringList list(set.begin(), set.end());
    list.sort();
    return list.join(u' ').toStdString();
}

struct ManualPage
{
    QMap<QString, QString> commands; // command name -> the text of its subsection
    QSet<QString> searchArguments;
    QSet<QString> rewriteSwitches;
    QString options;
};

ManualPage readManualPage()
{
    const QMap<QString, QString> sections = manSections(sourceFile("data/man/zelvarion-cli.1"), ".SH ");
    ManualPage page;
    const QMap<QString, QString> commands = manSections(u8(".SS x\n") + sections.value(u8("COMMANDS")), ".SS ");
    for (auto it = commands.begin(); it != commands.end(); ++it)
        if (it.key() != u8("x"))
            page.commands.insert(it.key().section(u' ', 0, 0), it.value());
    page.searchArguments = optionsIn(sections.value(u8("SEARCH ARGUMENTS")), true);
    page.rewriteSwitches = optionsIn(sections.value(u8("REWRITE SWITCHES")), true);
    page.options = sections.value(u8("OPTIONS"));
    return page;
}

} // namespace

TEST(ManualPage, documentsExactlyTheCommandsAndOptionsOfTheHelp)
{
    const CliRun overview = runCli({u8("--help")});
    const QStringList commands = commandNames(overview.out);
    ASSERT_GE(commands.size(), 4) << overview.out.toStdString();
    const ManualPage page = readManualPage();

    EXPECT_EQ(sorted(QSet<QString>(commands.begin(), commands.end())),
              sorted(QSet<QString>(page.commands.keyBegin(), page.commands.keyEnd())));
    for (const QString &command : commands) {
        const QString text = page.commands.value(command);
        QSet<QString> documented = optionsIn(text, true);
        if (text.contains(u8("SEARCH ARGUMENTS")))
            documented += page.searchArguments;
        if (text.contains(u8("REWRITE SWITCHES")))
            documented += page.rewriteSwitches;
        EXPECT_EQ(sorted(helpOptions(command)), sorted(documented)) << "zelvarion-cli " << command.toStdString();
    }
    // The program's own options: --program-folder, --version, --help.
    const QSet<QString> global = optionsIn(overview.out.section(u8("Commands"), 0, 0) + overview.out.section(u8("\n\n"), -1));
    EXPECT_GE(global.size(), 3) << sorted(global);
    EXPECT_EQ(sorted(global), sorted(optionsIn(page.options, true)));
}

TEST(ManualPage, theUserGuideNamesEveryCommandAndOption)
{
    const QString guide = sourceFile("data/help/index.html");
    const QString commandLine = guide.section(u8("id=\"cli\""), 1).section(u8("<h2"), 0, 0);
    ASSERT_FALSE(commandLine.isEmpty()) << "the guide has a section on the command line";
    const QSet<QString> named = optionsIn(commandLine);
    for (const QString &command : commandNames(runCli({u8("--help")}).out)) {
        EXPECT_TRUE(commandLine.contains(u8("<code>") + command + u' ')) << command.toStdString();
        const QSet<QString> missing = helpOptions(command) - named;
        EXPECT_TRUE(missing.isEmpty()) << command.toStdString() << ": " << sorted(missing);
    }
}
