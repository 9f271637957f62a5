// zelvarion-cli: the command-line front on the same core as the window program.
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "core/shell/AppInfo.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

using namespace zelvarion;
using namespace zelvarion::cli;

namespace {

struct Command
{
    const char *name;
    CommandFunction run;
    const char *usage;
};

const Command kCommands[] = {
    {"read", runReadCommand,
     "read [--json] FILE...            the IPTC of image files"},
    {"write", runWriteCommand,
     "write [--set Column=Value]... [--customized N=Value]... FILE...\n"
     "                                  rewrites the IPTC of JPEG files"},
    {"scan", runScanCommand,
     "scan [--catalogue DB] [--thumbnails] [--recreate-thumbnails] FOLDER...\n"
     "                                  registers the folders and fills the catalogue"},
    {"search", runSearchCommand,
     "search [--catalogue DB] [--sql] [--field COLUMN] [--whole-word] [--operator exact|and|or]\n"
     "       [--translate] [--with-iptc] [--without-iptc] [--never-revised] [--revised [--reverse]]\n"
     "       [--sort N [--desc]] [TEXT]\n"
     "                                  searches the catalogue as the window does (search options\n"
     "                                  of Zelvarion.ini); prints folder and file, or the statement\n"
     "                                  with --sql"},
    {"export", runExportCommand,
     "export [--title T] [--no-thumbnails] [--xsl NAME] SEARCH-ARGUMENTS\n"
     "                                  writes the XML export of the result into the program\n"
     "                                  folder's XML folder, renders it with the stylesheet NAME of\n"
     "                                  that folder; prints the path of the file made"},
    {"stats", runStatsCommand,
     "stats [--keywords-only] [--ignore-empty-words] [--unknown] [--json] SEARCH-ARGUMENTS\n"
     "                                  the words of the result's IPTC texts with their counts,\n"
     "                                  the most frequent first; --unknown: those the dictionary\n"
     "                                  does not know"},
    {"empty-words", runEmptyWordsCommand,
     "empty-words [--json] list | add WORD | remove WORD\n"
     "                                  the words the statistics can leave out"},
};

void printHelp(QTextStream &out)
{
    out << "Usage: zelvarion-cli [--program-folder DIR] COMMAND [ARGUMENTS]\n"
        << "       zelvarion-cli --version | --help\n\n"
        << "Commands:\n";
    for (const Command &command : kCommands)
        out << "  " << command.usage << '\n';
    out << "\n--program-folder DIR  the folder of Zelvarion.ini, the language packs and the default\n"
        << "                      catalogue (default: the window program's program folder)\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zelvarion"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList arguments = app.arguments().mid(1);
    if (const auto folder = takeOption(arguments, QStringLiteral("--program-folder")))
        programFolder::setOverride(*folder);

    if (arguments.isEmpty() || arguments.first() == u"--help" || arguments.first() == u"-h") {
        printHelp(out);
        return arguments.isEmpty() ? 2 : 0;
    }
    if (arguments.first() == u"--version") {
        out << applicationTitle() << '\n';
        return 0;
    }
    const QString name = arguments.takeFirst();
    for (const Command &command : kCommands) {
        if (name == QLatin1String(command.name)) {
            CliContext context{arguments, out, err};
            return command.run(context);
        }
    }
    err << "zelvarion-cli: unknown command '" << name << "' (see --help)\n";
    return 2;
}
