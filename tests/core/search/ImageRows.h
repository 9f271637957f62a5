#pragma once

// Catalogue rows for search tests: every column of Images holds text, empty unless given, as the
// scan writes them.

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <utility>

namespace zelvarion::test {

// The 48 columns of Images in table order, read from the statement that creates the table.
inline QStringList imagesColumns()
{
    const QString create = createImagesTableStatement();
    const qsizetype open = create.indexOf(u'(');
    const qsizetype close = create.lastIndexOf(u')');
    return create.mid(open + 1, close - open - 1).split(u',');
}

using ColumnValues = std::initializer_list<std::pair<const char *, QString>>;

// "insert into Images values(...);" with the given columns set and the others empty.
inline QString insertImageStatement(ColumnValues values)
{
    const QStringList columns = imagesColumns();
    QStringList cells(columns.size(), QStringLiteral("''"));
    for (const auto &[column, value] : values) {
        const qsizetype index = columns.indexOf(QLatin1String(column));
        Q_ASSERT(index >= 0);
        cells[index] = sqlText(value);
    }
    return QStringLiteral("insert into Images values(") + cells.join(u',') + QStringLiteral(");");
}

} // namespace zelvarion::test
