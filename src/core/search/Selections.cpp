#include "core/search/Selections.h"

#include "core/catalogue/CatalogueCommand.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/ImagesTable.h"
#include "core/catalogue/SelectionsTable.h"
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
        selectionsTable::addImage(db, command.feedback, name, m.folder, m.file, m.checkMark);
    endTransaction(db, command.feedback, kAddSelection);
}

void restoreMarks(const CatalogueCommand &command, const std::vector<ResultRow> &marks)
{
    CatalogueDb &db = command.catalogue;
    if (marks.empty() || !beginTransaction(db, command.feedback, kAddSelection))
        return;
    for (const ResultRow &m : marks)
        imagesTable::restoreCheckMark(db, command.feedback, m.folder, m.file, m.checkMark);
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
    const std::optional<QStringList> names = selectionsTable::names(db, command.feedback);
    if (!names)
        return selections;
    for (const QString &name : *names)
        selections.push_back({name, QString()});
    for (SavedSelection &selection : selections)
        if (const std::optional<QString> count = selectionsTable::imageCount(db, command.feedback, selection.name))
            selection.count = *count;
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
    if (!imagesTable::selectMarkedImages(db, command.feedback))
        return std::nullopt;
    const std::vector<ResultRow> marks = resultRowsOf(db.result());
    if (!marks.empty()
        && selectionsTable::remove(db, command.feedback, name))
        insertSelectionRows(command, name, marks);
    return int(marks.size());
}

bool restoreSelection(const CatalogueCommand &command, const QString &name)
{
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return false;
    const ClosedOnExit closed(db);
    if (!imagesTable::clearAllCheckMarks(db, command.feedback))
        return false;
    if (selectionsTable::selectImages(db, command.feedback, name))
        restoreMarks(command, resultRowsOf(db.result()));
    return true;
}

void renameSavedSelection(const CatalogueCommand &command, const QString &oldName, const QString &newName)
{
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return;
    selectionsTable::rename(db, command.feedback, oldName, newName);
    db.close();
}

void removeSavedSelection(const CatalogueCommand &command, const QString &name)
{
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return;
    selectionsTable::remove(db, command.feedback, name);
    db.close();
}

} // namespace zelvarion
