// zelvarion-cli: the command-line front on the same core as the window program.
#include "cli/CliContext.h"
#include "cli/CommandLine.h"
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "core/session/Session.h"
#include "core/session/AppInfo.h"
#include "platform/ProgramFolder.h"

#include "platform/FileNames.h"
#include "platform/ProcessMemory.h"

#include <QCoreApplication>
#include <algorithm>
#include <QTextStream>

using namespace zelvarion;
using namespace zelvarion::cli;

namespace {

struct Command
{
    const CommandSyntax &syntax;
    CommandFunction run;
    bool writesProgramFolder = false; // its catalogue, settings or exports: a new --program-folder is made
};

const Command kCommands[] = {
    {kReadSyntax, runReadCommand},
    {kWriteSyntax, runWriteCommand},
    {kScanSyntax, runScanCommand, true},
    {kSearchSyntax, runSearchCommand},
    {kTemplateSyntax, runTemplateCommand},
    {kApplySyntax, runApplyCommand},
    {kUndoSyntax, runUndoCommand},
    {kExportSyntax, runExportCommand, true},
    {kStatsSyntax, runStatsCommand},
    {kEmptyWordsSyntax, runEmptyWordsCommand, true},
    {kKeywordsSyntax, runKeywordsCommand},
    {kMarkSyntax, runMarkCommand},
    {kMarksSyntax, runMarksCommand},
    {kUnmarkAllSyntax, runUnmarkAllCommand},
    {kSelectionSyntax, runSelectionCommand},
    {kDoublesSyntax, runDoublesCommand},
    {kRenameSyntax, runRenameCommand},
    {kDeleteSyntax, runDeleteCommand},
    {kCopySyntax, runCopyCommand},
    {kSqlSyntax, runSqlCommand},
};

void printHelp(QTextStream &out)
{
    out << "Usage: zelvarion-cli [--program-folder DIR] COMMAND [OPTIONS] [OPERANDS]\n"
        << "       zelvarion-cli --version | --help\n\n"
        << "Commands (zelvarion-cli COMMAND --help tells more):\n";
    for (const Command &command : kCommands) {
        const QString call = QLatin1String(command.syntax.name) + u' ' + QLatin1String(command.syntax.operands);
        constexpr int kCallWidth = 18;
        out << "  " << call;
        if (call.size() > kCallWidth) // a long call keeps the summaries in one column
            out << '\n' << QString(kCallWidth + 4, u' ');
        else
            out << QString(kCallWidth - call.size() + 2, u' ');
        out << QLatin1String(command.syntax.summary) << '\n';
    }
    out << "\n--program-folder DIR  the folder of Zelvarion.ini, the language packs and the default\n"
        << "                      catalogue (default: the window program's program folder); it gets\n"
        << "                      the shipped stylesheets, packs and guide it lacks, and scan, export and\n"
        << "                      empty-words make it when it does not exist\n"
        << "Exit codes: 0 done, 1 some items failed (and, for a command on the images a search finds,\n"
        << "none found, as grep does), 2 bad arguments. Texts come from the language pack in use.\n";
}

} // namespace

int main(int argc, char *argv[])
{
    processMemory::keepFreedPhotographBuffers();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zelvarion"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    // Decoded here rather than by Qt, which loses the bytes of file names that are not UTF-8.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << filenames::decode(argv[i]);
    const std::optional<QString> folder = takeGlobalOption(arguments, QStringLiteral("--program-folder"));

    if (arguments.isEmpty() || arguments.first() == u"--help" || arguments.first() == u"-h") {
        printHelp(out);
        return arguments.isEmpty() ? kExitBadArguments : kExitOk;
    }
    if (arguments.first() == u"--version") {
        out << applicationTitle() << '\n';
        return kExitOk;
    }
    const QString name = arguments.takeFirst();
    const Command *command = std::find_if(std::begin(kCommands), std::end(kCommands), [&name](const Command &c) {
        return name == QLatin1String(c.syntax.name);
    });
    const bool known = command != std::end(kCommands);
    if (folder)
        programFolder::useFolder(*folder, known && command->writesProgramFolder ? programFolder::MissingFolder::Make
                                                                                : programFolder::MissingFolder::LeaveAlone);
    // The pack in use, read before the command so that its questions and refusals are in the
    // user's language (the command reads its settings again for itself).
    Session session;
    loadSettingsAndLanguage(session);
    if (known) {
        CliContext context{arguments, out, err, &session.language};
        return command->run(context);
    }
    err << "zelvarion-cli: " << filled(session.language.message(Message::CliUnknownCommand), {{u'#', name}}) << ' '
        << filled(session.language.message(Message::CliSeeHelp), {{u'#', QStringLiteral("zelvarion-cli")}}) << '\n';
    return kExitBadArguments;
}
