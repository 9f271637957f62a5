#include "cli/CliSupport.h"

#include "cli/SearchArguments.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <unistd.h>

namespace zelvarion::cli {

void CliFeedback::showMessage(const QString &text, MessageIcon icon, const QString &)
{
    m_err << text << '\n';
    m_err.flush();
    m_failed = m_failed || icon == MessageIcon::Critical || icon == MessageIcon::Warning;
}

bool CliFeedback::askYesNo(const QString &text, MessageIcon)
{
    if (m_assumeYes)
        return true;
    if (!::isatty(STDIN_FILENO)) {
        m_err << text << "\n(not asked: no terminal to answer on; --yes answers Yes)\n";
        m_err.flush();
        return false;
    }
    m_err << text << " [y/N] ";
    m_err.flush();
    char answer[16] = {};
    if (!std::fgets(answer, sizeof answer, stdin))
        return false;
    return answer[0] == 'y' || answer[0] == 'Y';
}

bool prepareCatalogue(CliContext &context, const char *command, CommandCatalogue &prepared)
{
    prepared.settings = readAllSettings(IniFile(programFolder::configFilePath()));
    prepared.language.loadShippedEnglish();
    prepared.language.load(programFolder::languageFolder(), prepared.settings.language);
    const QString given = takeOption(context.arguments, QStringLiteral("--catalogue")).value_or(QString());
    prepared.db.path = cataloguePath(given, prepared.settings);
    if (QFileInfo(prepared.db.path).isFile())
        return true;
    context.err << "zelvarion-cli " << command << ": no catalogue at " << prepared.db.path << '\n';
    return false;
}

bool refuseUnknownOptions(CliContext &context, const char *command)
{
    for (const QString &argument : std::as_const(context.arguments)) {
        if (argument.startsWith(QStringLiteral("--"))) {
            context.err << "zelvarion-cli " << command << ": unknown option '" << argument << "'\n";
            return true;
        }
    }
    return false;
}

void printJson(QTextStream &out, const QJsonValue &value)
{
    const QJsonDocument document = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    out << document.toJson(QJsonDocument::Indented);
}

void printRows(QTextStream &out, const std::vector<ResultRow> &rows, bool json)
{
    if (!json) {
        for (const ResultRow &row : rows)
            out << row.folder << '\t' << row.file << '\t' << row.checkMark << '\n';
        return;
    }
    QJsonArray array;
    for (const ResultRow &row : rows)
        array.append(QJsonObject{{QStringLiteral("folder"), row.folder}, {QStringLiteral("file"), row.file},
                                 {QStringLiteral("mark"), row.checkMark}});
    printJson(out, array);
}

} // namespace zelvarion::cli
