#include "core/search/SqlConsole.h"

#include "core/catalogue/CatalogueCommand.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/session/AppSettings.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"

namespace zelvarion {
namespace {

const QString kHistorySection = QStringLiteral("SQLQuery");

void fillTable(const CatalogueDb &db, ConsoleResult &result)
{
    for (int column = 0; column < db.columnCount(); ++column) {
        const QString name = db.cell(column, 0);
        result.columns << name;
        if (name == u"Folder")
            result.folderColumn = column;
        if (name == u"File")
            result.fileColumn = column;
    }
    const int shown = std::min(db.rowCount(), kConsoleRowLimit - 1);
    result.rows.reserve(std::size_t(shown));
    for (int row = 1; row <= shown; ++row) {
        QStringList cells;
        cells.reserve(db.columnCount());
        for (int column = 0; column < db.columnCount(); ++column)
            cells << db.cell(column, row);
        result.rows.push_back(std::move(cells));
    }
    result.limited = db.rowCount() >= kConsoleRowLimit;
}

} // namespace

bool hasSelectPrefix(const QString &statement)
{
    return statement.left(7).toUpper() == u"SELECT ";
}

ConsoleResult runConsoleStatement(const CatalogueCommand &command, const QString &statement)
{
    ConsoleResult result;
    CatalogueDb &db = command.catalogue;
    // Reading only: the engine itself refuses a statement that would write.
    if (!db.openReadOnlyOrReport(command.feedback))
        return result;
    const ClosedOnExit closed(db);
    if (!hasSelectPrefix(statement)) {
        result.status = ConsoleResult::Status::NotSelect;
        command.feedback.showMessage(command.language.message(Message::SelectOnly), MessageIcon::Critical);
        return result;
    }
    sqliteEngine::FirstStatementRun run;
    if (db.executeFirst(statement, kConsoleRowLimit, run) != 0) {
        result.status = ConsoleResult::Status::Failed;
        db.report(command.feedback, Message::CannotGetData);
        return result;
    }
    result.status = ConsoleResult::Status::Ran;
    result.notRun = run.remainder;
    fillTable(db, result);
    if (result.limited)
        command.feedback.showMessage(
            command.language.message(Message::ListLimitReached).replace(u'#', QString::number(kConsoleRowLimit)),
            MessageIcon::Critical);
    if (!result.notRun.isEmpty())
        command.feedback.showMessage(command.language.message(Message::FirstStatementOnly) + u'\n' + result.notRun,
                                     MessageIcon::Warning);
    return result;
}

ConsoleImage consoleRowImage(const ConsoleResult &result, int row)
{
    if (!result.showsImages() || row < 0 || row >= int(result.rows.size()))
        return {};
    const QStringList &cells = result.rows[std::size_t(row)];
    return {cells.value(result.folderColumn), cells.value(result.fileColumn)};
}

QStringList readConsoleHistory(const IniFile &ini)
{
    QStringList history;
    for (const QString &entry : readNumberedList(ini, kHistorySection, kHistorySection, 1, kConsoleHistoryEntries))
        if (!entry.isEmpty())
            history << entry.left(kConsoleHistoryEntryLength);
    return history;
}

void writeConsoleHistory(const IniFile &ini, const QStringList &history)
{
    writeNumberedList(ini, kHistorySection, kHistorySection, 1, history.mid(0, kConsoleHistoryEntries));
}

} // namespace zelvarion
