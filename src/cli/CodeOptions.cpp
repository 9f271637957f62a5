#include "cli/CodeOptions.h"
#include "cli/NamedTexts.h"

#include "core/session/AppSettings.h"
#include "core/session/LanguagePack.h"

namespace zelvarion::cli {

bool ValueCodes::load(const ParsedArguments &arguments, const AppSettings &settings)
{
    if (const std::optional<QString> given = arguments.value("--code-delimiter")) {
        const std::optional<QChar> delimiter = codeDelimiterFrom(*given);
        if (!delimiter) {
            m_context.err << "zelvarion-cli " << m_command << ": "
                          << filled(textOf(m_pack, texts::kCodeDelimiter), {{u'%', *given}}) << '\n';
            return false;
        }
        m_delimiter = *delimiter;
    } else {
        m_delimiter = codeDelimiterFrom(settings.codeDelimiter).value_or(kDefaultCodeDelimiter);
    }
    std::vector<CodeFileProblem> problems;
    m_codes = CodeReplacements::load(arguments.values("--codes"), problems);
    bool readable = true;
    for (const CodeFileProblem &problem : problems) {
        warn(codeFileProblemText(problem, &m_pack));
        readable = readable && problem.kind != CodeFileProblem::Kind::Unreadable;
    }
    return readable;
}

QString ValueCodes::expand(const QString &value)
{
    if (m_codes.isEmpty() || !value.contains(m_delimiter))
        return value;
    CodesExpanded expanded = expandCodes(value, m_delimiter, m_codes);
    for (const QString &unknown : std::as_const(expanded.unknown))
        warn(unknownCodeText(unknown, &m_pack));
    return expanded.text;
}

void ValueCodes::warn(const QString &text)
{
    m_context.err << "zelvarion-cli " << m_command << ": " << text << '\n';
}

} // namespace zelvarion::cli
