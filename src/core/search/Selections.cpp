#include "core/search/Selections.h"

#include "core/catalogue/CatalogueCommand.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/search/ResultList.h"
#include "core/session/Feedback.h"

namespace zelvarion {
namespace {

const QString kAddSelection = QStringLiteral("ADDSELECTION");

void insertSelectionRows(const CatalogueCommand &command, const QString &name, const std::vector<ResultRow> &marks)
{
    CatalogueDb &db = command.catalogue;
    if (!beginTransaction(db, command.feedback, kAddSelection))
        return;
    for (const ResultRow &m : marks)
        db.executeOrReport(command.feedback,
                           QStringLiteral("insert into Selections values(") + sqlText(name) + u',' + sqlText(m.folder)
                               + u',' + sqlText(m.file) + u',' + sqlText(m.checkMark) + QStringLiteral(");"),
                           QStringLiteral("Cannot add data to Selections"));
    endTransaction(db, command.feedback, kAddSelection);
}

void restoreMarks(const CatalogueCommand &command, const std::vector<ResultRow> &marks)
{
    CatalogueDb &db = command.catalogue;
    if (marks.empty() || !beginTransaction(db, command.feedback, kAddSelection))
        return;
    for (const ResultRow &m : marks)
        db.executeOrReport(command.feedback,
                           QStringLiteral("update Images set CheckMark=") + sqlText(m.checkMark)
                               + QStringLiteral(" where (Folder = ") + sqlText(m.folder)
                               + QStringLiteral(") and (File = ") + sqlText(m.file) + QStringLiteral(");"),
                           QStringLiteral("Cannot update data to Selections"));
    endTransaction(db, command.feedback, kAddSelection);
}

} // namespace

std::vector<SavedSelection> readSavedSelections(const CatalogueCommand &command)
{
    std::vector<SavedSelection> selections;
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return selections;
    const ClosedOnExit closed(db);
    if (!db.executeOrReport(command.feedback, QStringLiteral("select distinct Name from Selections;"),
                            QStringLiteral("Cannot get data")))
        return selections;
    for (int row = 1; row <= db.rowCount(); ++row)
        selections.push_back({db.cell(0, row), QString()});
    for (SavedSelection &selection : selections) {
        if (db.executeOrReport(command.feedback,
                               QStringLiteral("select count(*) from Selections where Name=") + sqlText(selection.name)
                                   + u';',
                               QStringLiteral("Cannot get data")))
            selection.count = db.cell(0, 1);
    }
    return selections;
}

std::optional<Message> selectionNameProblem(const QString &trimmedName, const QStringList &listedNames)
{
    if (trimmedName.isEmpty())
        return Message::SelectionNameRequired;
    if (listedNames.contains(trimmedName, Qt::CaseSensitive))
        return Message::SelectionNameUsed;
    return std::nullopt;
}

std::optional<int> saveMarkedImagesAs(const CatalogueCommand &command, const QString &name)
{
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return std::nullopt;
    const ClosedOnExit closed(db);
    if (!db.executeOrReport(command.feedback, QStringLiteral("select Folder,File,CheckMark from Images where (CheckMark != '')"),
                            QStringLiteral("Cannot get data")))
        return std::nullopt;
    const std::vector<ResultRow> marks = resultRowsOf(db.result());
    if (!marks.empty()
        && db.executeOrReport(command.feedback,
                              QStringLiteral("delete from Selections where (Name=") + sqlText(name) + QStringLiteral(");"),
                              QStringLiteral("Cannot delete data")))
        insertSelectionRows(command, name, marks);
    return int(marks.size());
}

bool restoreSelection(const CatalogueCommand &command, const QString &name)
{
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return false;
    const ClosedOnExit closed(db);
    if (!db.executeOrReport(command.feedback, QStringLiteral("update Images set CheckMark='' where (CheckMark != '');"),
                            QStringLiteral("Cannot set data")))
        return false;
    if (db.executeOrReport(command.feedback,
                           QStringLiteral("select Folder,File,CheckMark from Selections where (Name = ") + sqlText(name)
                               + QStringLiteral(");"),
                           QStringLiteral("Cannot get data")))
        restoreMarks(command, resultRowsOf(db.result()));
    return true;
}

void renameSavedSelection(const CatalogueCommand &command, const QString &oldName, const QString &newName)
{
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return;
    db.executeOrReport(command.feedback,
                       QStringLiteral("Update Selections set Name=") + sqlText(newName) + QStringLiteral(" where (Name=")
                           + sqlText(oldName) + QStringLiteral(");"),
                       QStringLiteral("Cannot update data"));
    db.close();
}

void removeSavedSelection(const CatalogueCommand &command, const QString &name)
{
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return;
    db.executeOrReport(command.feedback,
                       QStringLiteral("delete from Selections where (Name=") + sqlText(name) + QStringLiteral(");"),
                       QStringLiteral("Cannot delete data"));
    db.close();
}

} // namespace zelvarion
