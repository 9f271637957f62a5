#pragma once

// How a command of zelvarion-cli declares its arguments, and the one parser that reads them.
//
// A command describes itself once, in a CommandSyntax: its name, its operands, a line saying what
// it does, and its options (flags, options with a value, options that may be given several
// times). From that description the parser reads the arguments and the usage text is made:
//
//   - options may stand before, between or after the operands; "--name VALUE" and "--name=VALUE"
//     are the same; "--" ends the options, so an operand may begin with "-";
//   - --help (or -h) prints the command's usage on the output and exits 0;
//   - an unknown option, a missing value, a flag given a value and a single option given twice
//     are refused with a message on the error stream and exit 2, before anything is done.
//
// A new command declares its syntax, calls parseCommandLine and reads the result:
//
//   const CommandSyntax kExportSyntax{"export", "[TEXT]", "Exports the images found as XML.",
//                                 {{"--catalogue", "DB", "the catalogue (default: the last one used)"},
//                                  {"--json", nullptr, "prints the result as JSON"}}};
//   int runExportCommand(CliContext &context)
//   {
//       ParsedArguments arguments;
//       if (const std::optional<int> exit = parseCommandLine(kExportSyntax, context, arguments))
//           return *exit; // --help answered, or the arguments were refused
//       const bool json = arguments.flag("--json");
//       const QString catalogue = arguments.value("--catalogue").value_or(QString());
//       ... arguments.operands ...
//   }
//
// and takes its place in the command table of main.cpp, which prints the summary of every command for
// `zelvarion-cli --help`.

#include "cli/CliContext.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zelvarion::cli {

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitSomeFailed = 1; // some items failed, or nothing could be done
constexpr int kExitBadArguments = 2;

struct OptionSyntax
{
    const char *name;      // "--catalogue"
    const char *valueName; // "DB" for an option with a value; nullptr for a flag
    const char *help;      // one line, in English
    bool repeatable = false;
    // The key of help in the packs' "[CommandLine]" section; nullptr for "COMMAND.OPTION", the key of
    // an option of one command only ("export.--json"). Options shared by several commands name theirs.
    const char *key = nullptr;
};

// Its texts are the English ones; a pack translates them under "COMMAND.summary", "COMMAND.details"
// and the options' keys.
struct CommandSyntax
{
    const char *name;     // "read"
    const char *operands; // "FILE...", "[TEXT]"
    const char *summary;  // what the command does, one short line for the list of commands
    std::vector<OptionSyntax> options;
    const char *details = nullptr; // more lines for its --help
};

// The summary in the pack's language.
QString summaryText(const CommandSyntax &syntax, const LanguagePack &pack);

// Every text of the syntax with its key in the packs: the summary, the details and each option's help.
std::vector<std::pair<QString, QString>> syntaxTexts(const CommandSyntax &syntax);

// What the parser read: the options given and the operands in their order.
class ParsedArguments
{
public:
    bool flag(const char *name) const;
    // The value of an option given once; nothing when it was not given.
    std::optional<QString> value(const char *name) const;
    // Every value of a repeatable option, in the order given.
    QStringList values(const char *name) const;

    QStringList operands;

private:
    friend struct CommandLineParser;
    std::vector<std::pair<QString, QString>> m_options; // name, value (empty for a flag)
};

// The outcome of parsing: the arguments, or the help request, or why they were refused.
struct ParseResult
{
    enum class Kind { Parsed, Help, Refused } kind = Kind::Parsed;
    ParsedArguments arguments;
    QString problem; // for Refused
};
// A refusal is told in the pack's language (English without one).
ParseResult parseArguments(const CommandSyntax &syntax, const QStringList &arguments,
                           const LanguagePack *language = nullptr);

// The context's pack, or the English texts built into the program.
const LanguagePack &packOf(const CliContext &context);

// "Usage: zelvarion-cli NAME [OPTIONS] OPERANDS", the summary and details, one line per option,
// in the pack's language (English without one).
QString usageText(const CommandSyntax &syntax, const LanguagePack *language = nullptr);

// A refusal of a command's own followed by where to read its usage: "takes no operands (see
// zelvarion-cli marks --help)".
QString withSeeHelp(const LanguagePack &pack, const QString &refusal, const char *command);

// Parses the context's arguments; answers --help and refusals itself and gives their exit code,
// or nothing when the command goes on with `parsed`.
std::optional<int> parseCommandLine(const CommandSyntax &syntax, CliContext &context, ParsedArguments &parsed);

// A command that changes files asks first when a user sits at a terminal (unless --yes was
// given, which the command checks): the question on the error stream, then a line read from the
// standard input; true for an answer the pack gives for yes ("y" or "yes" in English). Without a
// terminal (scripts, pipes) it does not ask.
bool confirmOnTerminal(CliContext &context, const QString &question);

// Takes "--name VALUE" or "--name=VALUE" out of arguments wherever it stands before "--" (the
// options of the program itself, given before or after the command); nothing when absent.
std::optional<QString> takeGlobalOption(QStringList &arguments, const QString &name);

} // namespace zelvarion::cli
