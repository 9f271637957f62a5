#pragma once

#include "cli/CliContext.h"
#include "cli/CommandLine.h"
#include "core/captioning/CodeReplacements.h"

#include <QString>
#include <optional>

namespace zelvarion {
struct AppSettings;
class LanguagePack;
} // namespace zelvarion

namespace zelvarion::cli {

// The code replacements of the commands that take values (template set, write).
inline constexpr OptionSyntax kCodesOption{"--codes", "FILE",
                                           "replaces =CODE= and =CODE#N= in the values by this file's replacements", true,
                                           "common.--codes"};
inline constexpr OptionSyntax kCodeDelimiterOption{"--code-delimiter", "C",
                                                   "the character around a code (default: the stored one, else =)", false,
                                                   "common.--code-delimiter"};

// The codes of --codes, around the delimiter of --code-delimiter or of Zelvarion.ini. Problems in
// the files (a line that is no code, a code given twice) are warned about on the error stream.
class ValueCodes
{
public:
    ValueCodes(CliContext &context, const char *command, const LanguagePack &pack)
        : m_context(context), m_command(command), m_pack(pack)
    {
    }
    // False (the command exits 2) for a delimiter that cannot be one or a file that cannot be read.
    bool load(const ParsedArguments &arguments, const AppSettings &settings);
    // The value with its known codes replaced; an unknown code stays as typed and is warned about.
    QString expand(const QString &value);

private:
    void warn(const QString &text);

    CliContext &m_context;
    const char *m_command;
    const LanguagePack &m_pack;
    CodeReplacements m_codes;
    QChar m_delimiter = kDefaultCodeDelimiter;
};

} // namespace zelvarion::cli
