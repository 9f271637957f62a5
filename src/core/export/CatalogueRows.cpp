#include "core/export/CatalogueRows.h"

#include "core/catalogue/CatalogueDb.h"

#include <QSet>
#include <QStringList>

namespace zelvarion {

ColumnPositions columnPositions(const ResultTable &table)
{
    ColumnPositions positions;
    positions.fill(-1);
    QHash<QString, int> byName;
    for (int column = 0; column < table.columnCount(); ++column)
        byName.insert(table.cell(column, 0), column);
    for (const IptcField &field : kIptcFields)
        positions[std::size_t(field.index)] = byName.value(QLatin1String(field.column), -1);
    for (std::size_t i = 0; i < kExportFileColumns.size(); ++i)
        positions[std::size_t(kFirstFileColumnId) + i] = byName.value(QLatin1String(kExportFileColumns[i]), -1);
    return positions;
}

namespace {

int columnNamed(const ResultTable &table, QStringView name)
{
    for (int column = 0; column < table.columnCount(); ++column)
        if (table.cell(column, 0) == name)
            return column;
    return -1;
}

QString imageKey(const QString &folder, const QString &file) { return folder + QChar(0) + file; }

QString oneImageStatement(const ResultRow &row)
{
    return QStringLiteral("select * from Images where (Folder=") + sqlText(row.folder)
           + QStringLiteral(") and (File=") + sqlText(row.file) + QStringLiteral(");");
}

// The keys stand first in the join so the engine looks each one up in the path index; the rows
// of one key then come back in catalogue order, as the one-image select gives them. A key that
// stands twice in the result is asked for once.
QString batchStatement(const QString &selected, const ResultList &results, int first, int last)
{
    QStringList keys;
    keys.reserve(last - first + 1);
    QSet<QString> asked;
    for (int rank = first; rank <= last; ++rank) {
        const ResultRow &row = results.row(rank);
        if (asked.contains(imageKey(row.folder, row.file)))
            continue;
        asked.insert(imageKey(row.folder, row.file));
        keys << u'(' + sqlText(row.folder) + u',' + sqlText(row.file) + u')';
    }
    return QStringLiteral("select ") + selected + QStringLiteral(" from (values ") + keys.join(u',')
           + QStringLiteral(") as k cross join Images on Images.Folder = k.column1 and Images.File = k.column2;");
}

} // namespace

struct ResultRowReader::Batch
{
    struct Table
    {
        ResultTable table;
        ColumnPositions positions;
    };
    int first = 0;
    int last = -1;
    std::vector<std::unique_ptr<Table>> tables;
    std::vector<std::vector<CatalogueRow>> rowsByRank; // index rank - first

    Table &addTable(const ResultTable &result)
    {
        tables.push_back(std::make_unique<Table>(Table{result, columnPositions(result)}));
        return *tables.back();
    }
};

ResultRowReader::ResultRowReader(CatalogueDb &db, Feedback &feedback, const ResultList &results, QStringList columns)
    : m_db(db), m_feedback(feedback), m_results(results), m_batch(std::make_unique<Batch>())
{
    if (columns.isEmpty()) {
        m_selected = QStringLiteral("Images.*");
        return;
    }
    columns.prepend(QStringLiteral("File"));
    columns.prepend(QStringLiteral("Folder"));
    for (QString &column : columns)
        column.prepend(QStringLiteral("Images."));
    m_selected = columns.join(u',');
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
    if (m_db.execute(batchStatement(m_selected, m_results, batch.first, batch.last)) != 0) {
        readOneByOne(batch.first, batch.last);
        return;
    }
    Batch::Table &read = batch.addTable(m_db.result());
    const int folderColumn = columnNamed(read.table, u"Folder");
    const int fileColumn = columnNamed(read.table, u"File");
    QHash<QString, std::vector<CatalogueRow>> byKey;
    for (int row = 1; row <= read.table.rowCount(); ++row) {
        const QString key = imageKey(read.table.cell(folderColumn, row), read.table.cell(fileColumn, row));
        byKey[key].push_back({&read.table, &read.positions, row});
    }
    for (int r = batch.first; r <= batch.last; ++r) {
        const ResultRow &row = m_results.row(r);
        batch.rowsByRank[std::size_t(r - batch.first)] = byKey.value(imageKey(row.folder, row.file));
    }
}

void ResultRowReader::readOneByOne(int first, int last)
{
    for (int rank = first; rank <= last; ++rank) {
        if (!m_db.executeOrReport(m_feedback, oneImageStatement(m_results.row(rank)), QStringLiteral("Cannot get data")))
            continue;
        Batch::Table &read = m_batch->addTable(m_db.result());
        auto &rows = m_batch->rowsByRank[std::size_t(rank - first)];
        for (int row = 1; row <= read.table.rowCount(); ++row)
            rows.push_back({&read.table, &read.positions, row});
    }
}

} // namespace zelvarion
