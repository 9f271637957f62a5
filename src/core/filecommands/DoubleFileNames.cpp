#include "core/filecommands/DoubleFileNames.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/catalogue/ImagesTable.h"

#include <QByteArrayAlgorithms>

namespace zelvarion {

namespace {

bool isAscii(QByteArrayView text)
{
    for (const char byte : text)
        if (uchar(byte) >= 0x80)
            return false;
    return true;
}

// Equal once both are upper-cased, compared as the texts the bytes decode to; names are nearly
// always ASCII, compared without a conversion.
bool sameInUpperCase(QByteArrayView a, QByteArrayView b)
{
    if (a == b)
        return true;
    if (isAscii(a) && isAscii(b))
        return qstrnicmp(a.data(), a.size(), b.data(), b.size()) == 0;
    return QString::fromUtf8(a).toUpper() == QString::fromUtf8(b).toUpper();
}

void assign(QByteArray &target, QByteArrayView bytes)
{
    target.truncate(0); // keeps the buffer: one name per row passes through here
    target.append(bytes);
}

// Collects the images of the runs as result rows.
DoubleFileNameHandler collectingInto(std::vector<ResultRow> &doubles)
{
    return [&doubles](QByteArrayView folder, QByteArrayView file, QByteArrayView mark) {
        doubles.push_back({QString::fromUtf8(folder), QString::fromUtf8(file), QString::fromUtf8(mark)});
    };
}

} // namespace

void DoubleFileNameRuns::add(QByteArrayView folder, QByteArrayView file, QByteArrayView checkMark)
{
    if (m_runLength > 0 && sameInUpperCase(file, m_firstName)) {
        if (m_runLength == 1)
            m_onDouble(m_firstFolder, m_firstName, m_firstMark);
        m_onDouble(folder, file, checkMark);
        ++m_runLength;
        return;
    }
    assign(m_firstFolder, folder);
    assign(m_firstName, file);
    assign(m_firstMark, checkMark);
    m_runLength = 1;
}

std::vector<ResultRow> groupDoubleFileNames(const ResultTable &table)
{
    std::vector<ResultRow> doubles;
    DoubleFileNameRuns runs(collectingInto(doubles));
    for (int row = 1; row <= table.rowCount(); ++row)
        runs.add(table.cell(resultListColumn::Folder, row).toUtf8(), table.cell(resultListColumn::File, row).toUtf8(),
                 table.cell(resultListColumn::CheckMark, row).toUtf8());
    return doubles;
}

DoubleSearchEnd streamDoubleFileNames(CatalogueDb &db, Feedback &feedback, const DoubleFileNameHandler &onDouble)
{
    if (!db.openOrReport(feedback))
        return DoubleSearchEnd::NotOpened;
    const ClosedOnExit closed(db);
    // Streamed: only the names that repeat become texts, never a table of the whole catalogue.
    db.readThroughSmallCache();
    DoubleFileNameRuns runs(onDouble);
    const int rc = db.forEachRow(QLatin1String(imagesTable::kByFileNameStatement), [&runs](const sqliteEngine::RowView &row) {
        runs.add(row.utf8(resultListColumn::Folder), row.utf8(resultListColumn::File), row.utf8(resultListColumn::CheckMark));
        return sqliteEngine::RowAnswer::Next;
    });
    if (rc == 0)
        return DoubleSearchEnd::Done;
    db.report(feedback, Message::CannotGetData);
    return DoubleSearchEnd::Failed;
}

std::optional<std::vector<ResultRow>> findDoubleFileNames(CatalogueDb &db, Feedback &feedback)
{
    std::vector<ResultRow> doubles;
    switch (streamDoubleFileNames(db, feedback, collectingInto(doubles))) {
    case DoubleSearchEnd::NotOpened: return std::nullopt;
    case DoubleSearchEnd::Failed: return std::vector<ResultRow>(); // none of a search that failed part-way
    case DoubleSearchEnd::Done: break;
    }
    return doubles;
}

} // namespace zelvarion
