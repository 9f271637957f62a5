#include "core/search/SearchQueryBuilder.h"

namespace zelvarion {

QStringList searchHistoryAfter(const QStringList &history, const QString &text, int maxEntries)
{
    QStringList updated = history;
    const qsizetype found = updated.indexOf(text);
    if (found >= 0)
        updated.removeAt(found);
    // A hand-edited configuration may hold more entries than the list keeps.
    while (updated.size() >= maxEntries)
        updated.removeLast();
    updated.prepend(text);
    return updated;
}

} // namespace zelvarion
