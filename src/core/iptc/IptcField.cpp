#include "core/iptc/IptcField.h"

namespace zelvarion {
namespace {

// Dataset number -> catalogue index, built once from the catalogue.
std::array<int, 256> buildDatasetIndex()
{
    std::array<int, 256> index{};
    index.fill(-1);
    for (const IptcField &field : kIptcFields)
        if (field.dataset >= 0)
            index[std::size_t(field.dataset)] = field.index;
    return index;
}

} // namespace

QStringList iptcColumnNames()
{
    QStringList names;
    names.reserve(kIptcFieldCount);
    for (const IptcField &field : kIptcFields)
        names << QLatin1String(field.column);
    return names;
}

std::optional<int> iptcFieldIndexOfColumn(QStringView column)
{
    for (const IptcField &field : kIptcFields)
        if (column.compare(QLatin1String(field.column), Qt::CaseInsensitive) == 0)
            return field.index;
    return std::nullopt;
}

DatasetLookup lookupDataset(int number)
{
    static const std::array<int, 256> datasetIndex = buildDatasetIndex();
    if (number == 0)
        return {DatasetLookup::Kind::Ignored, -1};
    if (number > 0 && number < 256 && datasetIndex[std::size_t(number)] >= 0)
        return {DatasetLookup::Kind::Field, datasetIndex[std::size_t(number)]};
    return {DatasetLookup::Kind::Customized, -1};
}

bool isJoinedField(int index)
{
    if (index < 0 || index >= kIptcFieldCount)
        return false;
    const ValueForm form = kIptcFields[std::size_t(index)].form;
    return form == ValueForm::JoinedText || form == ValueForm::List;
}

void IptcFieldSet::clear()
{
    for (QString &value : values)
        value.clear();
    for (CustomizedDataset &slot : slots)
        slot = CustomizedDataset{};
}

bool IptcFieldSet::operator==(const IptcFieldSet &other) const
{
    if (values != other.values)
        return false;
    for (int i = 0; i < kCustomizedSlotCount; ++i) {
        const CustomizedDataset &a = slots[std::size_t(i)];
        const CustomizedDataset &b = other.slots[std::size_t(i)];
        if (a.number != b.number || a.value != b.value)
            return false;
    }
    return true;
}

QString joinOccurrence(const QString &joined, const QString &occurrence)
{
    const QString trimmed = trimBlanks(occurrence);
    if (joined.isEmpty())
        return trimmed;
    return joined + QStringLiteral("; ") + trimmed;
}

QStringList splitList(const QString &value)
{
    QStringList entries;
    for (QStringView part : QStringView(value).split(u';')) {
        QString entry = trimBlanks(part);
        if (!entry.isEmpty())
            entries << entry;
    }
    return entries;
}

QString customizedLine(const QString &label, int number, const QString &text)
{
    return label + u' ' + QString::number(number) + QStringLiteral(": ") + text;
}

} // namespace zelvarion
