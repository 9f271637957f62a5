#pragma once

#include "core/catalogue/ImagesSearchStatement.h"

#include <QString>
#include <QStringList>

namespace zelvarion {

// The search history after a search for text: an equal entry moves to the top, otherwise the
// text is added on top and the list keeps at most maxEntries.
QStringList searchHistoryAfter(const QStringList &history, const QString &text, int maxEntries = 10);

} // namespace zelvarion
