#include "core/catalogue/TemplateRecord.h"

#include "core/iptc/IptcField.h"
#include "platform/SqliteEngine.h"

#include <algorithm>

namespace zelvarion {
namespace {

int columnOf(const ResultTable &result, const QString &name)
{
    for (int column = 0; column < result.columnCount(); ++column)
        if (result.cell(column, 0).compare(name, Qt::CaseInsensitive) == 0)
            return column;
    return -1;
}

QString cellNamed(const ResultTable &result, const QString &name, int row)
{
    const int column = columnOf(result, name);
    return column < 0 ? QString() : result.cell(column, row);
}

template <std::size_t N>
int nonEmpty(const std::array<QString, N> &texts)
{
    return int(std::count_if(texts.begin(), texts.end(), [](const QString &text) { return !text.isEmpty(); }));
}

} // namespace

int TemplateRecord::fieldCount() const { return nonEmpty(fields); }
int TemplateRecord::customizedCount() const { return nonEmpty(customized); }

TemplateRecord templateFromResult(const ResultTable &result, int row)
{
    TemplateRecord record;
    record.name = cellNamed(result, QStringLiteral("Name"), row);
    record.status = cellNamed(result, QStringLiteral("Status"), row);
    for (int i = 0; i < kTemplateFieldCount; ++i)
        record.fields[std::size_t(i)] = cellNamed(result, QLatin1String(iptcField(i).column), row);
    for (int k = 0; k < kTemplateCustomizedCount; ++k)
        record.customized[std::size_t(k)] = cellNamed(result, QStringLiteral("Customized%1").arg(k + 1), row);
    record.lastRevisionDate = cellNamed(result, QStringLiteral("LastRevisionDate"), row);
    return record;
}

std::optional<CustomizedCell> splitCustomizedCell(const QString &cell)
{
    const qsizetype slash = cell.indexOf(u'/');
    if (slash < 0)
        return std::nullopt;
    return CustomizedCell{cell.left(slash), cell.mid(slash + 1)};
}

} // namespace zelvarion
