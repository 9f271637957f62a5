// zelvarion-cli sql: the SQL console's statement on the catalogue, every column of its result.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/search/SqlConsole.h"

#include <QJsonArray>
#include <QJsonObject>

namespace zelvarion::cli {
namespace {

QString csvCell(QString text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

void printTable(QTextStream &out, const ConsoleResult &result, bool csv)
{
    const QString separator = csv ? QStringLiteral(",") : QStringLiteral("\t");
    auto line = [&](const QStringList &cells) {
        QStringList shown;
        for (const QString &cell : cells)
            shown << (csv ? csvCell(cell) : QString(cell).replace(u'\t', u' ').replace(u'\n', u' '));
        out << shown.join(separator) << (csv ? "\r\n" : "\n");
    };
    line(result.columns);
    for (const QStringList &row : result.rows)
        line(row);
}

void printJsonTable(QTextStream &out, const ConsoleResult &result)
{
    QJsonArray rows;
    for (const QStringList &row : result.rows) {
        QJsonObject object;
        for (qsizetype column = 0; column < result.columns.size(); ++column)
            object.insert(result.columns[column], row.value(column));
        rows.append(object);
    }
    printJson(out, rows);
}

} // namespace

const CommandSyntax kSqlSyntax{
    "sql", "\"SELECT ...\"", "Runs a select statement on the catalogue, as the SQL console does, and prints every column.",
    {kCatalogueOption, {"--json", nullptr, "prints the rows as JSON objects"},
     {"--csv", nullptr, "prints the rows as comma-separated values"}},
    "The catalogue is opened read-only and only the first statement runs; the console's row limit applies.\n"
    "Exit 1 when rows were left out or text after the first statement was not run."};

int runSqlCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kSqlSyntax, context, arguments))
        return *exit;
    const bool json = arguments.flag("--json");
    const bool csv = arguments.flag("--csv");
    if ((json && csv) || arguments.operands.isEmpty()) {
        const LanguagePack &pack = packOf(context);
        context.err << "zelvarion-cli sql: " << withSeeHelp(pack, textOf(pack, texts::kSqlOperands), "sql") << '\n';
        return kExitBadArguments;
    }
    Session prepared;
    if (!prepareCatalogue(context, "sql", arguments, prepared))
        return kExitSomeFailed;
    CommandFeedback feedback(context, true);
    const ConsoleResult result = runConsoleStatement(prepared.command(feedback), arguments.operands.join(u' '));
    switch (result.status) {
    case ConsoleResult::Status::NotSelect: return kExitBadArguments;
    case ConsoleResult::Status::NotOpened:
    case ConsoleResult::Status::Failed: return kExitSomeFailed;
    case ConsoleResult::Status::Ran: break;
    }
    if (json)
        printJsonTable(context.out, result);
    else
        printTable(context.out, result, csv);
    return result.limited || !result.notRun.isEmpty() ? kExitSomeFailed : kExitOk;
}

} // namespace zelvarion::cli
