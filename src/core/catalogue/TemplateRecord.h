#pragma once

#include <QString>
#include <array>
#include <optional>

namespace zelvarion {

class ResultTable;

// The 34 field columns of a template (ObjectName .. ImageType) and its 16 customized cells.
constexpr int kTemplateFieldCount = 34;
constexpr int kTemplateCustomizedCount = 16;

// One row of the Templates table. Every column is text; a null column reads as empty.
struct TemplateRecord
{
    QString name;
    QString status; // "1" for the template in use
    std::array<QString, kTemplateFieldCount> fields;
    std::array<QString, kTemplateCustomizedCount> customized; // "number/value" or empty
    QString lastRevisionDate;

    // The tick of the template list: exactly "1".
    bool ticked() const { return status == u"1"; }
    // Non-empty field columns and non-empty customized cells (the list's columns 2 and 3).
    int fieldCount() const;
    int customizedCount() const;
};

// Row `row` of a "select * from Templates" result, the columns found by their names.
TemplateRecord templateFromResult(const ResultTable &result, int row);

// A customized cell split at its first "/": the number before it, the value after it (which may
// hold "/" itself). Nothing for an empty cell or one without "/".
struct CustomizedCell
{
    QString number;
    QString value;
};
std::optional<CustomizedCell> splitCustomizedCell(const QString &cell);

} // namespace zelvarion
