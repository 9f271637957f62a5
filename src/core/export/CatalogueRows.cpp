#include "core/export/CatalogueRows.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/ImagesTable.h"

#include <QSet>
#include <QStringList>

namespace zelvarion {

namespace {

// Column id by the column's name, for the columns a row has.
const QHash<QByteArray, int> &columnIdsByName()
{
    static const QHash<QByteArray, int> ids = [] {
        QHash<QByteArray, int> byName;
        for (const IptcField &field : kIptcFields)
            byName.insert(QByteArray(field.column), field.index);
        for (std::size_t i = 0; i < kExportFileColumns.size(); ++i)
            byName.insert(QByteArray(kExportFileColumns[i]), kFirstFileColumnId + int(i));
        return byName;
    }();
    return ids;
}

} // namespace

ColumnPositions columnPositionsOf(const sqliteEngine::RowView &row)
{
    ColumnPositions positions;
    positions.fill(-1);
    for (int column = 0; column < row.columnCount(); ++column) {
        // A name met twice: the last column of that name, as a lookup by name found it.
        const auto id = columnIdsByName().constFind(row.columnName(column).toByteArray());
        if (id != columnIdsByName().cend())
            positions[std::size_t(*id)] = column;
    }
    return positions;
}

void StoredRows::append(const sqliteEngine::RowView &row)
{
    if (m_names.isEmpty()) {
        m_columns = row.columnCount();
        m_positions = columnPositionsOf(row);
        for (int column = 0; column < m_columns; ++column)
            m_names << row.columnName(column).toByteArray();
    }
    for (int column = 0; column < m_columns; ++column) {
        m_bytes.append(row.utf8(column));
        m_ends.push_back(m_bytes.size());
    }
}

QByteArrayView StoredRows::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns)
        return {};
    const std::size_t at = std::size_t(row) * std::size_t(m_columns) + std::size_t(column);
    const qsizetype start = at == 0 ? 0 : m_ends[at - 1];
    return QByteArrayView(m_bytes).sliced(start, m_ends[at] - start);
}

namespace {

QString imageKey(const QString &folder, const QString &file) { return folder + QChar(0) + file; }

bool isAscii(QByteArrayView bytes)
{
    for (const char byte : bytes)
        if (uchar(byte) >= 0x80)
            return false;
    return true;
}

// The bytes as the text they decode to would give them back: rows and result then match as
// their texts match, also for bytes that are no UTF-8.
QByteArray canonicalUtf8(QByteArrayView bytes)
{
    return isAscii(bytes) ? bytes.toByteArray() : QString::fromUtf8(bytes).toUtf8();
}

QByteArray imageKey(QByteArrayView folder, QByteArrayView file) { return canonicalUtf8(folder) + '\0' + canonicalUtf8(file); }

sqliteEngine::RowHandler storingInto(StoredRows &rows)
{
    return [&rows](const sqliteEngine::RowView &row) {
        rows.append(row);
        return sqliteEngine::RowAnswer::Next;
    };
}

// A key that stands twice in the result is asked for once.
QString batchStatement(const QStringList &columns, const ResultList &results, int first, int last)
{
    std::vector<std::pair<QString, QString>> paths;
    paths.reserve(std::size_t(last - first + 1));
    QSet<QString> asked;
    for (int rank = first; rank <= last; ++rank) {
        const ResultRow &row = results.row(rank);
        if (asked.contains(imageKey(row.folder, row.file)))
            continue;
        asked.insert(imageKey(row.folder, row.file));
        paths.emplace_back(row.folder, row.file);
    }
    return imagesTable::selectImagesStatement(columns, paths);
}

} // namespace

struct ResultRowReader::Batch
{
    int first = 0;
    int last = -1;
    std::vector<std::unique_ptr<StoredRows>> stores;
    std::vector<std::vector<CatalogueRow>> rowsByRank; // index rank - first

    StoredRows &addStore()
    {
        stores.push_back(std::make_unique<StoredRows>());
        return *stores.back();
    }
};

ResultRowReader::ResultRowReader(CatalogueDb &db, Feedback &feedback, const ResultList &results, QStringList columns)
    : m_db(db), m_feedback(feedback), m_results(results), m_columns(std::move(columns)),
      m_batch(std::make_unique<Batch>())
{
}

ResultRowReader::~ResultRowReader() = default;

const std::vector<CatalogueRow> &ResultRowReader::rowsOf(int rank)
{
    if (rank < m_batch->first || rank > m_batch->last)
        readBatchFrom(rank);
    return m_batch->rowsByRank[std::size_t(rank - m_batch->first)];
}

void ResultRowReader::readBatchFrom(int rank)
{
    Batch &batch = *m_batch;
    batch = Batch();
    batch.first = rank;
    batch.last = std::min(m_results.count(), rank + kBatchSize - 1);
    batch.rowsByRank.resize(std::size_t(batch.last - batch.first + 1));
    StoredRows &read = batch.addStore();
    if (m_db.forEachRow(batchStatement(m_columns, m_results, batch.first, batch.last), storingInto(read)) != 0) {
        batch.stores.clear(); // rows streamed before the failure are read again one by one
        readOneByOne(batch.first, batch.last);
        return;
    }
    const int folderColumn = read.columnNamed("Folder");
    const int fileColumn = read.columnNamed("File");
    QHash<QByteArray, std::vector<CatalogueRow>> byKey;
    for (int row = 0; row < read.rowCount(); ++row)
        byKey[imageKey(read.cell(row, folderColumn), read.cell(row, fileColumn))].push_back(CatalogueRow(read, row));
    for (int r = batch.first; r <= batch.last; ++r) {
        const ResultRow &row = m_results.row(r);
        batch.rowsByRank[std::size_t(r - batch.first)] = byKey.value(row.folder.toUtf8() + '\0' + row.file.toUtf8());
    }
}

void ResultRowReader::readOneByOne(int first, int last)
{
    for (int rank = first; rank <= last; ++rank) {
        StoredRows &read = m_batch->addStore();
        const ResultRow &image = m_results.row(rank);
        if (m_db.forEachRow(imagesTable::selectImageStatement(image.folder, image.file), storingInto(read)) != 0) {
            m_db.report(m_feedback, Message::CannotGetData);
            m_batch->stores.pop_back();
            continue;
        }
        auto &rows = m_batch->rowsByRank[std::size_t(rank - first)];
        for (int row = 0; row < read.rowCount(); ++row)
            rows.push_back(CatalogueRow(read, row));
    }
}

} // namespace zelvarion
