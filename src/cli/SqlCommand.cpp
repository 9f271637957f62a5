// zelvarion-cli sql: the SQL console's statement on the catalogue, every column of its result.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
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

int runSqlCommand(CliContext &context)
{
    const bool json = takeFlag(context.arguments, QStringLiteral("--json"));
    const bool csv = takeFlag(context.arguments, QStringLiteral("--csv"));
    CommandCatalogue prepared;
    if (!prepareCatalogue(context, "sql", prepared))
        return 1;
    if ((json && csv) || context.arguments.isEmpty()) {
        context.err << "usage: zelvarion-cli sql [--catalogue DB] [--json|--csv] \"SELECT ...\"\n";
        return 2;
    }
    CliFeedback feedback(context.err, true);
    const ConsoleResult result = runConsoleStatement(prepared.command(feedback), context.arguments.join(u' '));
    switch (result.status) {
    case ConsoleResult::Status::NotSelect: return 2;
    case ConsoleResult::Status::NotOpened:
    case ConsoleResult::Status::Failed: return 1;
    case ConsoleResult::Status::Ran: break;
    }
    if (json)
        printJsonTable(context.out, result);
    else
        printTable(context.out, result, csv);
    return result.limited || !result.notRun.isEmpty() ? 1 : 0;
}

} // namespace zelvarion::cli
