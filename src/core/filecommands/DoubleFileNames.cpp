#include "core/filecommands/DoubleFileNames.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"

namespace zelvarion {

const char *const kDoubleFileNamesStatement = "select Folder,File,CheckMark from Images order by File ASC;";

namespace {

bool isAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// Equal once both are upper-cased; names are nearly always ASCII, compared without a copy.
bool sameInUpperCase(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    if (isAscii(a) && isAscii(b))
        return a.compare(b, Qt::CaseInsensitive) == 0;
    return a.toUpper() == b.toUpper();
}

} // namespace

std::vector<ResultRow> groupDoubleFileNames(const ResultTable &table)
{
    const int count = table.rowCount();
    auto append = [&](std::vector<ResultRow> &rows, int row) {
        rows.push_back({table.cell(resultListColumn::Folder, row), table.cell(resultListColumn::File, row),
                        table.cell(resultListColumn::CheckMark, row)});
    };
    std::vector<ResultRow> doubles;
    for (int first = 1; first < count;) {
        const QString name = table.cell(resultListColumn::File, first);
        int next = first + 1;
        while (next <= count && sameInUpperCase(table.cell(resultListColumn::File, next), name))
            ++next;
        if (next - first > 1)
            for (int row = first; row < next; ++row)
                append(doubles, row);
        first = next;
    }
    return doubles;
}

std::optional<std::vector<ResultRow>> findDoubleFileNames(CatalogueDb &db, Feedback &feedback)
{
    if (!db.openOrReport(feedback))
        return std::nullopt;
    const ClosedOnExit closed(db);
    if (!db.executeOrReport(feedback, QLatin1String(kDoubleFileNamesStatement), QStringLiteral("Cannot get data")))
        return std::vector<ResultRow>();
    return groupDoubleFileNames(db.result());
}

} // namespace zelvarion
