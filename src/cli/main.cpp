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
    {"mark", runMarkCommand,
     "mark [--catalogue DB] [--clear] SEARCH-ARGUMENTS\n"
     "                                  marks (--clear: unmarks) every image the search finds"},
    {"marks", runMarksCommand,
     "marks [--catalogue DB] [--json]  the marked images with their mark"},
    {"unmark-all", runUnmarkAllCommand,
     "unmark-all [--catalogue DB] [--yes]\n"
     "                                  removes every mark of the catalogue (asks first)"},
    {"selection", runSelectionCommand,
     "selection [--catalogue DB] save NAME | list [--json] | restore NAME | rename OLD NEW\n"
     "          | remove [--yes] NAME  the saved selections of marked images"},
    {"doubles", runDoublesCommand,
     "doubles [--catalogue DB] [--json]\n"
     "                                  the images whose file name another image has too"},
    {"rename", runRenameCommand,
     "rename [--catalogue DB] FILE NEWNAME\n"
     "                                  renames an image of the catalogue in its folder"},
    {"delete", runDeleteCommand,
     "delete [--catalogue DB] [--yes] FILE...\n"
     "                                  moves images of the catalogue to the trash (asks first)"},
    {"copy", runCopyCommand,
     "copy [--catalogue DB] --to FOLDER SEARCH-ARGUMENTS\n"
     "                                  copies every image the search finds into FOLDER"},
    {"sql", runSqlCommand,
     "sql [--catalogue DB] [--json|--csv] \"SELECT ...\"\n"
     "                                  the first select statement, read-only, every column"},
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
