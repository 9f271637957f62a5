#include "core/iptc/IptcValueCheck.h"

#include "core/session/Result.h"

#include <algorithm>

namespace zelvarion {
namespace {

void addField(std::vector<DatasetToWrite> &datasets, const IptcFieldSet &fields, int index)
{
    const QString &value = fields.values[std::size_t(index)];
    if (!value.isEmpty())
        datasets.push_back({index, iptcField(index).dataset, &value});
}

void addList(std::vector<DatasetToWrite> &datasets, int index, const QStringList &entries)
{
    for (const QString &entry : entries)
        if (!entry.isEmpty())
            datasets.push_back({index, iptcField(index).dataset, &entry});
}

void addCustomized(std::vector<DatasetToWrite> &datasets, std::span<const CustomizedDataset> customized)
{
    for (const CustomizedDataset &dataset : customized)
        if (dataset.number >= 1 && dataset.number <= 255 && !dataset.value.isEmpty())
            datasets.push_back({kCustomizedIndex, dataset.number, &dataset.value});
}

} // namespace

std::vector<DatasetToWrite> datasetsToWrite(const ValuesToWrite &values)
{
    std::vector<DatasetToWrite> datasets;
    for (int index = 0; index < kSupplementalCategoryIndex; ++index)
        addField(datasets, values.fields, index);
    addList(datasets, kSupplementalCategoryIndex, values.supplementalCategories);
    addField(datasets, values.fields, iptcIndex("FixtureIdentifier"));
    addList(datasets, kKeywordsIndex, values.keywords);
    for (int index = kKeywordsIndex + 1; index <= kCreditIndex; ++index)
        addField(datasets, values.fields, index);
    // Contact (2:118) stands before Source in the catalogue but is written in dataset order.
    for (int index : {iptcIndex("Source"), kCopyrightIndex, iptcIndex("Contact"), kCaptionIndex,
                      iptcIndex("LocalCaption"), iptcIndex("CaptionWriter"), iptcIndex("ImageType")})
        addField(datasets, values.fields, index);
    addCustomized(datasets, values.fields.slots);
    addCustomized(datasets, values.moreCustomized);
    return datasets;
}

iptctext::Charset writeCharset(const ValuesToWrite &values)
{
    QStringList texts;
    for (const DatasetToWrite &dataset : datasetsToWrite(values))
        texts << *dataset.text;
    return iptctext::chooseCharset(texts);
}

qsizetype encodedSize(QStringView text, iptctext::Charset charset)
{
    return iptctext::encodeValue(text, charset).size();
}

int limitOf(int fieldIndex, ValueLimits limits)
{
    const IptcField &field = iptcField(fieldIndex);
    if (limits == ValueLimits::Write || field.dialogLimit <= 0)
        return field.writeLimit;
    return std::min(field.dialogLimit, field.writeLimit);
}

std::optional<ValueOverLimit> firstValueOverLimit(const ValuesToWrite &values, ValueLimits limits)
{
    const iptctext::Charset charset = writeCharset(values);
    for (const DatasetToWrite &dataset : datasetsToWrite(values)) {
        const int limit = limitOf(dataset.fieldIndex, limits);
        const qsizetype bytes = encodedSize(*dataset.text, charset);
        if (bytes > limit)
            return ValueOverLimit{dataset.fieldIndex, dataset.dataset, bytes, limit, charset == iptctext::Charset::Utf8};
    }
    return std::nullopt;
}

namespace {

QString nameOf(const ValueOverLimit &over, const LanguagePack *language)
{
    if (over.fieldIndex == kCustomizedIndex)
        return messageText(language, Message::CustomizedDatasetName, {QString::number(over.dataset)});
    return QLatin1String(iptcField(over.fieldIndex).column);
}

} // namespace

QString overLimitReason(const ValueOverLimit &over, const LanguagePack *language)
{
    return messageText(language, over.utf8 ? Message::ReasonValueOverLimitUtf8 : Message::ReasonValueOverLimit,
                       {nameOf(over, language), QString::number(over.bytes), QString::number(over.limit)});
}

QString overLimitMessage(const QString &message51, const QString &fieldName, const ValueOverLimit &over)
{
    QString text = message51;
    text.replace(u'#', fieldName.isEmpty() ? nameOf(over, nullptr) : fieldName);
    text.replace(u'$', QString::number(over.bytes));
    text.replace(u'%', QString::number(over.limit));
    return text;
}

} // namespace zelvarion
