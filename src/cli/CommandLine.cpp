#include "cli/CommandLine.h"

#include "cli/CliText.h"
#include "cli/NamedTexts.h"
#include "platform/Terminal.h"

#include <algorithm>

namespace zelvarion::cli {

namespace {

const QString kEndOfOptions = QStringLiteral("--");

const LanguagePack &shippedEnglish()
{
    static const LanguagePack english = [] {
        LanguagePack pack;
        pack.loadShippedEnglish();
        return pack;
    }();
    return english;
}

bool isHelp(const QString &argument) { return argument == u"--help" || argument == u"-h"; }

QString optionLabel(const OptionSyntax &option)
{
    QString label = QLatin1String(option.name);
    if (option.valueName)
        label += u' ' + QLatin1String(option.valueName);
    return label;
}

QString optionKey(const CommandSyntax &syntax, const OptionSyntax &option)
{
    if (option.key)
        return QLatin1String(option.key);
    return QLatin1String(syntax.name) + u'.' + QLatin1String(option.name);
}

QString ownKey(const CommandSyntax &syntax, const char *what)
{
    return QLatin1String(syntax.name) + u'.' + QLatin1String(what);
}

// A command on "the result" takes the search's options, the presence options among them.
bool worksOnResult(const CommandSyntax &syntax)
{
    return std::any_of(syntax.options.begin(), syntax.options.end(),
                       [](const OptionSyntax &option) { return qstrcmp(option.name, "--with-iptc") == 0; });
}

} // namespace

bool ParsedArguments::flag(const char *name) const
{
    for (const auto &[given, value] : m_options)
        if (given == QLatin1String(name))
            return true;
    return false;
}

std::optional<QString> ParsedArguments::value(const char *name) const
{
    for (const auto &[given, value] : m_options)
        if (given == QLatin1String(name))
            return value;
    return std::nullopt;
}

QStringList ParsedArguments::values(const char *name) const
{
    QStringList all;
    for (const auto &[given, value] : m_options)
        if (given == QLatin1String(name))
            all << value;
    return all;
}

// Reads one option at a time; the first problem ends the parse.
struct CommandLineParser
{
    const CommandSyntax &syntax;
    const LanguagePack &pack;
    ParseResult result;

    const OptionSyntax *find(QStringView name) const
    {
        for (const OptionSyntax &option : syntax.options)
            if (name == QLatin1String(option.name))
                return &option;
        return nullptr;
    }

    bool refuse(Message text, const QString &option, const QString &value = {})
    {
        result.kind = ParseResult::Kind::Refused;
        result.problem = filled(pack.message(text), {{u'#', option}, {u'%', value}});
        return false;
    }

    // The option at arguments[at]; a value given apart moves `at` on to it.
    bool takeOption(const QStringList &arguments, qsizetype &at)
    {
        const QString &argument = arguments[at];
        if (const OptionSyntax *shortFlag = find(argument); shortFlag && !argument.startsWith(kEndOfOptions)) {
            if (result.arguments.flag(shortFlag->name))
                return refuse(Message::CliOptionTwice, argument);
            result.arguments.m_options.emplace_back(argument, QString()); // such as -0
            return true;
        }
        if (!argument.startsWith(kEndOfOptions)) {
            refuse(Message::CliUnknownOption, argument);
            result.problem += u' ' + pack.message(Message::CliDashOperand);
            return false;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = equals < 0 ? argument : argument.left(equals);
        const OptionSyntax *option = find(name);
        if (!option)
            return refuse(Message::CliUnknownOption, name);
        if (!option->repeatable && result.arguments.value(option->name))
            return refuse(Message::CliOptionTwice, name);
        if (!option->valueName) {
            if (equals >= 0)
                return refuse(Message::CliOptionTakesNoValue, name);
            result.arguments.m_options.emplace_back(name, QString());
            return true;
        }
        QString value;
        if (equals >= 0) {
            value = argument.mid(equals + 1);
        } else if (at + 1 < arguments.size() && !arguments[at + 1].startsWith(kEndOfOptions)) {
            value = arguments[++at];
        } else {
            return refuse(Message::CliOptionNeedsValue, name, QLatin1String(option->valueName));
        }
        result.arguments.m_options.emplace_back(name, value);
        return true;
    }
};

const LanguagePack &packOf(const CliContext &context)
{
    return context.language ? *context.language : shippedEnglish();
}

ParseResult parseArguments(const CommandSyntax &syntax, const QStringList &arguments, const LanguagePack *language)
{
    // Asking for help is answered whatever else stands beside it.
    for (const QString &argument : arguments) {
        if (argument == kEndOfOptions)
            break;
        if (isHelp(argument))
            return {ParseResult::Kind::Help, {}, {}};
    }
    CommandLineParser parser{syntax, language ? *language : shippedEnglish(), {}};
    bool optionsEnded = false;
    for (qsizetype at = 0; at < arguments.size(); ++at) {
        const QString &argument = arguments[at];
        if (optionsEnded || argument == u"-" || !argument.startsWith(u'-')) {
            parser.result.arguments.operands << argument;
        } else if (argument == kEndOfOptions) {
            optionsEnded = true;
        } else if (!parser.takeOption(arguments, at)) {
            break;
        }
    }
    return parser.result;
}

QString summaryText(const CommandSyntax &syntax, const LanguagePack &pack)
{
    return pack.commandLineText(ownKey(syntax, "summary"), QString::fromUtf8(syntax.summary));
}

std::vector<std::pair<QString, QString>> syntaxTexts(const CommandSyntax &syntax)
{
    std::vector<std::pair<QString, QString>> texts{{ownKey(syntax, "summary"), QString::fromUtf8(syntax.summary)}};
    if (syntax.details)
        texts.emplace_back(ownKey(syntax, "details"), QString::fromUtf8(syntax.details));
    for (const OptionSyntax &option : syntax.options)
        texts.emplace_back(optionKey(syntax, option), QString::fromUtf8(option.help));
    return texts;
}

QString usageText(const CommandSyntax &syntax, const LanguagePack *language)
{
    const LanguagePack &pack = language ? *language : shippedEnglish();
    QString text = QStringLiteral("%1 zelvarion-cli %2 [OPTIONS] %3\n%4\n")
                       .arg(textOf(pack, texts::kUsage), QLatin1String(syntax.name), QLatin1String(syntax.operands),
                            summaryText(syntax, pack));
    if (syntax.details)
        text += pack.commandLineText(ownKey(syntax, "details"), QString::fromUtf8(syntax.details)) + u'\n';
    text += u'\n' + textOf(pack, texts::kOptions) + u'\n';
    qsizetype width = QStringLiteral("-h, --help").size();
    for (const OptionSyntax &option : syntax.options)
        width = std::max(width, optionLabel(option).size());
    const QString repeatable = u' ' + textOf(pack, texts::kRepeatable);
    for (const OptionSyntax &option : syntax.options) {
        text += QStringLiteral("  %1  %2%3\n")
                    .arg(optionLabel(option), -int(width))
                    .arg(pack.commandLineText(optionKey(syntax, option), QString::fromUtf8(option.help)),
                         option.repeatable ? repeatable : QString());
    }
    text += QStringLiteral("  %1  %2\n").arg(QStringLiteral("-h, --help"), -int(width)).arg(textOf(pack, texts::kHelpOption));
    text += textOf(pack, texts::kOptionsAnywhere) + u'\n';
    return text + textOf(pack, worksOnResult(syntax) ? texts::kExitStatusOnResult : texts::kExitStatus) + u'\n';
}

QString withSeeHelp(const LanguagePack &pack, const QString &refusal, const char *command)
{
    return refusal + u' '
           + filled(pack.message(Message::CliSeeHelp), {{u'#', QStringLiteral("zelvarion-cli ") + QLatin1String(command)}});
}

std::optional<int> parseCommandLine(const CommandSyntax &syntax, CliContext &context, ParsedArguments &parsed)
{
    const LanguagePack &pack = packOf(context);
    ParseResult result = parseArguments(syntax, context.arguments, &pack);
    switch (result.kind) {
    case ParseResult::Kind::Help:
        context.out << usageText(syntax, &pack);
        return kExitOk;
    case ParseResult::Kind::Refused:
        context.err << "zelvarion-cli " << syntax.name << ": " << withSeeHelp(pack, result.problem, syntax.name) << '\n';
        return kExitBadArguments;
    case ParseResult::Kind::Parsed:
        break;
    }
    parsed = std::move(result.arguments);
    return std::nullopt;
}

bool confirmOnTerminal(CliContext &context, const QString &question)
{
    if (!terminal::standardInputIsTerminal())
        return true;
    const LanguagePack &pack = packOf(context);
    context.err << question << u' ' << pack.message(Message::CliYesNoChoice) << u' ' << Qt::flush;
    QTextStream in(stdin);
    const QString answer = in.readLine().trimmed().toLower();
    return !answer.isEmpty()
           && pack.message(Message::CliYesAnswers).toLower().split(u' ', Qt::SkipEmptyParts).contains(answer);
}

std::optional<QString> takeGlobalOption(QStringList &arguments, const QString &name)
{
    const QString withEquals = name + u'=';
    for (qsizetype i = 0; i < arguments.size() && arguments[i] != kEndOfOptions; ++i) {
        if (arguments[i] == name && i + 1 < arguments.size()) {
            const QString value = arguments[i + 1];
            arguments.remove(i, 2);
            return value;
        }
        if (arguments[i].startsWith(withEquals)) {
            const QString value = arguments[i].mid(withEquals.size());
            arguments.removeAt(i);
            return value;
        }
    }
    return std::nullopt;
}

} // namespace zelvarion::cli
