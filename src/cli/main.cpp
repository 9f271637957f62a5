// zelvarion-cli: the command-line front on the same core as the window program.
#include "cli/CliContext.h"
#include "cli/CommandLine.h"
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
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

// The list of commands and the program's own options, in the pack's language.
void printHelp(QTextStream &out, const LanguagePack &pack)
{
    const QString usage = textOf(pack, texts::kUsage);
    out << usage << " zelvarion-cli [--program-folder DIR] COMMAND [OPTIONS] [OPERANDS]\n"
        << QString(usage.size() + 1, u' ') << "zelvarion-cli --version | --help\n\n"
        << textOf(pack, texts::kCommandList) << '\n';
    for (const Command &command : commandTable()) {
        const QString call = QLatin1String(command.syntax.name) + u' ' + QLatin1String(command.syntax.operands);
        constexpr int kCallWidth = 18;
        out << "  " << call;
        if (call.size() > kCallWidth) // a long call keeps the summaries in one column
            out << '\n' << QString(kCallWidth + 4, u' ');
        else
            out << QString(kCallWidth - call.size() + 2, u' ');
        out << summaryText(command.syntax, pack) << '\n';
    }
    const QString option = QStringLiteral("--program-folder DIR  ");
    out << '\n' << option
        << textOf(pack, texts::kProgramFolderOption).replace(u'\n', QString(u'\n' + QString(option.size(), u' '))) << '\n'
        << textOf(pack, texts::kExitCodes) << '\n';
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

    if (!arguments.isEmpty() && arguments.first() == u"--version") {
        out << applicationTitle() << '\n';
        return kExitOk;
    }
    const bool help = arguments.isEmpty() || arguments.first() == u"--help" || arguments.first() == u"-h";
    const QString name = help ? QString() : arguments.takeFirst();
    const std::span<const Command> commands = commandTable();
    const auto command = std::find_if(commands.begin(), commands.end(), [&name](const Command &c) {
        return name == QLatin1String(c.syntax.name);
    });
    const bool known = command != commands.end();
    if (folder)
        programFolder::useFolder(*folder, known && command->writesProgramFolder ? programFolder::MissingFolder::Make
                                                                                : programFolder::MissingFolder::LeaveAlone);
    // The pack in use, read before the command so that its help, questions and refusals are in
    // the user's language (the command reads its settings again for itself). Only the settings and
    // the packs are read: help needs no catalogue.
    Session session;
    loadSettingsAndLanguage(session);
    if (help) {
        printHelp(out, session.language);
        return arguments.isEmpty() ? kExitBadArguments : kExitOk;
    }
    if (known) {
        CliContext context{arguments, out, err, &session.language};
        return command->run(context);
    }
    err << "zelvarion-cli: " << filled(session.language.message(Message::CliUnknownCommand), {{u'#', name}}) << ' '
        << filled(session.language.message(Message::CliSeeHelp), {{u'#', QStringLiteral("zelvarion-cli")}}) << '\n';
    return kExitBadArguments;
}
