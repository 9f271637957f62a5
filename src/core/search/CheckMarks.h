#pragma once

#include "core/catalogue/SearchRequest.h"

#include <QDate>
#include <QLocale>
#include <QString>

namespace zelvarion {

struct CatalogueCommand;
class ResultList;

// The mark written when an image is marked: the day of marking in the user's short date form,
// without the time of day. Nothing ever reads it back as a date.
QString markTextFor(const QDate &date, const QLocale &locale = QLocale());
QString todaysMarkText();

// The mark a cell takes when its check picture is clicked: a cell showing a mark loses it, any
// other gets today's date (never its old mark back).
QString toggledMark(const QString &shownMark, const QString &today);

// Writes one image's mark: "update Images set CheckMark=…" on its folder and file, reported as
// CannotSetData. Opens and closes the catalogue. False when nothing was written. A toggled
// cell and its result row show the new mark first and keep it when the write fails.
bool writeImageMark(const CatalogueCommand &command, const QString &folder, const QString &file,
                    const QString &mark);

// "Select all images in result": today's mark on every image of the result, in transaction
// CHECKSELECTION. "Unselect all images in result": the empty mark, in UNCHECKSELECTION. A blank
// row (a deleted image) is left alone. An empty result gets the warning of interface text 204
// and returns false; otherwise true, also after failures, which are reported as they happen.
bool markResult(const CatalogueCommand &command, ResultList &results, const QString &today);
bool unmarkResult(const CatalogueCommand &command, ResultList &results);

// "Remove all selection marks": asks first, then empties every mark of the catalogue, not only
// those of the result; the result rows follow once the catalogue did. True when cleared.
bool clearAllMarks(const CatalogueCommand &command, ResultList &results);

// "Display selected images": the search of the controls with an empty text in check-marked mode,
// so the revised filter and the sort still apply.
SearchRequest markedImagesRequest(SearchRequest controls);

} // namespace zelvarion
