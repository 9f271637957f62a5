#pragma once

#include "core/iptc/IptcField.h"
#include "core/search/ResultList.h"
#include "platform/SqliteEngine.h"

#include <QByteArrayList>
#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;

// The file columns of Images the export writes, in the order it writes them.
inline constexpr std::array<const char *, 9> kExportFileColumns = {
    "FileCreationDate", "FileCreationTime", "FileLastWriteDate", "FileLastWriteTime", "FileSize",
    "LastRevisionDate", "LastRevisionTime", "Width", "Height"};

// Columns are addressed by an id: the field catalogue index (0..34) for the IPTC columns, then
// kFirstFileColumnId + position in kExportFileColumns.
inline constexpr int kFirstFileColumnId = kIptcFieldCount;
inline constexpr int kRowColumnIds = kIptcFieldCount + int(kExportFileColumns.size());

// Where each column id stands in a statement's columns; -1 for a column it lacks.
using ColumnPositions = std::array<int, kRowColumnIds>;

// The rows of one statement as the engine's UTF-8 bytes, every cell in one buffer: a batch of
// a large export then costs a few allocations, not one text per cell.
class StoredRows
{
public:
    // Appends a streamed row; the first row sets the columns (also their positions).
    void append(const sqliteEngine::RowView &row);
    int rowCount() const { return m_columns > 0 ? int(m_ends.size()) / m_columns : 0; }
    // The cell of row 0..rowCount-1 in a column of the statement; empty outside.
    QByteArrayView cell(int row, int column) const;
    const ColumnPositions &positions() const { return m_positions; }
    // The first column of that name, -1 when there is none.
    int columnNamed(QByteArrayView name) const { return int(m_names.indexOf(name)); }

private:
    int m_columns = 0;
    ColumnPositions m_positions{};
    QByteArrayList m_names;
    QByteArray m_bytes;
    std::vector<qsizetype> m_ends; // where each cell ends in m_bytes, row by row
};

// Where each column id stands among the columns of a streamed row: -1 for a column it lacks.
ColumnPositions columnPositionsOf(const sqliteEngine::RowView &row);

// One Images row of a select, read by column id: a row kept in StoredRows, or the row the engine
// is on while it hands it out (valid only during that call).
class CatalogueRow
{
public:
    CatalogueRow(const StoredRows &rows, int row) : m_stored(&rows), m_row(row) {}
    CatalogueRow(const sqliteEngine::RowView &row, const ColumnPositions &positions)
        : m_streamed(&row), m_positions(&positions)
    {
    }

    // The engine's bytes; empty for NULL or a column the select lacks.
    QByteArrayView utf8(int columnId) const
    {
        if (m_stored)
            return m_stored->cell(m_row, m_stored->positions()[std::size_t(columnId)]);
        return m_streamed->utf8((*m_positions)[std::size_t(columnId)]);
    }
    // The value as the catalogue's table gives it.
    QString value(int columnId) const { return QString::fromUtf8(utf8(columnId)); }

private:
    const StoredRows *m_stored = nullptr;
    int m_row = 0;
    const sqliteEngine::RowView *m_streamed = nullptr;
    const ColumnPositions *m_positions = nullptr;
};

// Reads the catalogue rows of the images of a result in result order, as
// "select * from Images where (Folder='…') and (File='…');" would give them one by one, but many
// images per statement: a result of tens of thousands of images then takes a few hundred
// statements instead of one each. A batch whose statement fails is read again image by image, so
// a failure is reported (CannotGetData) for each image it concerns, as before.
class ResultRowReader
{
public:
    static constexpr int kBatchSize = 256;

    // db must be open for as long as the reader is used. columns: the columns the caller reads
    // (the statistics need only the texts); empty for all of them.
    ResultRowReader(CatalogueDb &db, Feedback &feedback, const ResultList &results, QStringList columns = {});
    ~ResultRowReader();
    ResultRowReader(const ResultRowReader &) = delete;
    ResultRowReader &operator=(const ResultRowReader &) = delete;

    // The rows of result rank 1..count(), in catalogue order; empty when the image has no row or
    // its select failed (reported). Valid until the next call. Ranks are read in ascending order.
    // The rows are streamed from the engine into one byte buffer per batch.
    const std::vector<CatalogueRow> &rowsOf(int rank);

private:
    struct Batch;
    void readBatchFrom(int rank);
    void readOneByOne(int first, int last);

    CatalogueDb &m_db;
    Feedback &m_feedback;
    const ResultList &m_results;
    QStringList m_columns; // what the batch statement selects besides Folder and File; empty: all
    std::unique_ptr<Batch> m_batch;
};

} // namespace zelvarion
