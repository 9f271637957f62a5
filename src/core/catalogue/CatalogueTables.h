#pragma once

// The column layout of the catalogue tables Images and Templates, written down once. Rows are
// inserted with positional value lists and read by position, so every statement that names or
// fills these columns, and every reader of their rows, takes the layout from here.

#include "core/iptc/IptcField.h"

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <array>
#include <initializer_list>

namespace zelvarion {

// The 48 columns of Images in table order; the 35 IPTC columns stand between File and
// FileCreationDate in the order of the field catalogue.
enum class ImagesColumn : int {
    Folder,
    File,
    FirstIptcField, // ObjectName; the field of catalogue index i is FirstIptcField + i
    LastIptcField = FirstIptcField + kIptcFieldCount - 1, // Customized
    FileCreationDate,
    FileCreationTime,
    FileLastWriteDate,
    FileLastWriteTime,
    FileSize,
    LastRevisionDate,
    LastRevisionTime,
    SupportIPTC,
    Width,
    Height,
    CheckMark,
};
constexpr int kImagesColumnCount = int(ImagesColumn::CheckMark) + 1;
static_assert(kImagesColumnCount == 48);

// The column of the IPTC field with catalogue index 0..34.
constexpr ImagesColumn imagesColumnOfField(int fieldIndex)
{
    return ImagesColumn(int(ImagesColumn::FirstIptcField) + fieldIndex);
}

QLatin1String imagesColumnName(ImagesColumn column);
// Names joined by ",", as statements list them.
QString imagesColumnList(std::initializer_list<ImagesColumn> columns);
// All 48 names in table order.
QStringList imagesColumnNames();

// A row of Images addressed by column: what the scan writes, or what "select * from Images"
// gave back (a shorter row reads as empty cells).
class ImagesRow
{
public:
    ImagesRow() = default;
    explicit ImagesRow(const QStringList &cells);

    QString &operator[](ImagesColumn column) { return m_cells[std::size_t(column)]; }
    const QString &operator[](ImagesColumn column) const { return m_cells[std::size_t(column)]; }

private:
    std::array<QString, kImagesColumnCount> m_cells;
};

// "insert into Images values('…',…);" with the 48 cells in table order, apostrophes doubled.
QString insertImagesRowStatement(const ImagesRow &row);

// The three columns every search fetches into the result list, and their positions in its rows.
namespace resultListColumn {
constexpr int Folder = 0;
constexpr int File = 1;
constexpr int CheckMark = 2;
} // namespace resultListColumn
// "Folder,File,CheckMark".
QString resultListColumnList();

// The 53 columns of Templates: Name, Status, the 34 IPTC columns ObjectName to ImageType (the
// field catalogue without Customized), Customized1 to Customized16 (slot i in Customized{i+1},
// stored as "number/text"), then LastRevisionDate.
enum class TemplatesColumn : int {
    Name,
    Status,
    FirstIptcField, // ObjectName
    LastIptcField = FirstIptcField + kCustomizedIndex - 1, // ImageType
    FirstCustomizedSlot,
    LastCustomizedSlot = FirstCustomizedSlot + kCustomizedSlotCount - 1,
    LastRevisionDate,
};
constexpr int kTemplatesColumnCount = int(TemplatesColumn::LastRevisionDate) + 1;
static_assert(kTemplatesColumnCount == 53);

// The column of field index 0..33 (Customized has no column of its own in Templates).
constexpr TemplatesColumn templatesColumnOfField(int fieldIndex)
{
    return TemplatesColumn(int(TemplatesColumn::FirstIptcField) + fieldIndex);
}
// The column of customized slot 0..15.
constexpr TemplatesColumn templatesColumnOfSlot(int slot)
{
    return TemplatesColumn(int(TemplatesColumn::FirstCustomizedSlot) + slot);
}

QString templatesColumnName(TemplatesColumn column);
// All 53 names in table order.
QStringList templatesColumnNames();

// The schema statements produced from the layouts above.
QString createImagesTableStatement();
QString createImagesAllIptcIndexStatement(); // the 35 IPTC columns
QString createTemplatesTableStatement();

} // namespace zelvarion
