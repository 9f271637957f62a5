#include "core/search/CheckMarks.h"

#include "core/catalogue/CatalogueCommand.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/ImagesTable.h"
#include "core/search/ResultList.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"

namespace zelvarion {
namespace {

bool isBlank(const ResultRow &row) { return row.folder.isEmpty() || row.file.isEmpty(); }

// Both whole-result commands: one update per row inside the named transaction. Marking skips the
// rows after a failed begin; unmarking still runs the end statement then.
void setResultMarks(const CatalogueCommand &command, ResultList &results, const QString &mark,
                    const QString &transaction, bool endAfterFailedBegin)
{
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return;
    const ClosedOnExit closed(db);
    const bool begun = beginTransaction(db, command.feedback, transaction);
    if (!begun && !endAfterFailedBegin)
        return;
    for (int rank = 1; begun && rank <= results.count(); ++rank) {
        ResultRow &row = results.row(rank);
        if (isBlank(row))
            continue;
        row.checkMark = mark;
        imagesTable::setCheckMark(db, command.feedback, row.folder, row.file, mark);
    }
    endTransaction(db, command.feedback, transaction);
}

bool warnWhenEmpty(const CatalogueCommand &command, const ResultList &results)
{
    if (results.count() > 0)
        return false;
    command.feedback.showMessage(command.language.text(InterfaceText::EmptyResultWarning), MessageIcon::Warning);
    return true;
}

} // namespace

QString markTextFor(const QDate &date, const QLocale &locale) { return locale.toString(date, QLocale::ShortFormat); }

QString todaysMarkText() { return markTextFor(QDate::currentDate()); }

QString toggledMark(const QString &shownMark, const QString &today) { return shownMark.isEmpty() ? today : QString(); }

bool writeImageMark(const CatalogueCommand &command, const QString &folder, const QString &file, const QString &mark)
{
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return false;
    const ClosedOnExit closed(db);
    return imagesTable::setImageCheckMark(db, command.feedback, folder, file, mark);
}

bool markResult(const CatalogueCommand &command, ResultList &results, const QString &today)
{
    if (warnWhenEmpty(command, results))
        return false;
    setResultMarks(command, results, today, QStringLiteral("CHECKSELECTION"), false);
    return true;
}

bool unmarkResult(const CatalogueCommand &command, ResultList &results)
{
    if (warnWhenEmpty(command, results))
        return false;
    setResultMarks(command, results, QString(), QStringLiteral("UNCHECKSELECTION"), true);
    return true;
}

bool clearAllMarks(const CatalogueCommand &command, ResultList &results)
{
    const QString question = withoutAccelerator(command.language.text(InterfaceText::RemoveAllMarksMenuItem));
    if (!command.feedback.askYesNo(question, MessageIcon::Question))
        return false;
    CatalogueDb &db = command.catalogue;
    if (!db.openOrReport(command.feedback))
        return false;
    const bool cleared = imagesTable::clearAllCheckMarks(db, command.feedback);
    db.close();
    if (!cleared)
        return false;
    for (int rank = 1; rank <= results.count(); ++rank)
        if (!isBlank(results.row(rank)))
            results.row(rank).checkMark.clear();
    return true;
}

SearchRequest markedImagesRequest(SearchRequest controls)
{
    controls.text.clear();
    controls.showCheckedOnly = true;
    controls.singleImage.reset();
    return controls;
}

} // namespace zelvarion
