#pragma once

#include "core/iptc/IptcField.h"
#include "core/iptc/IptcText.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <vector>

namespace zelvarion {

class LanguagePack;

// The values a write puts into a file: the fields (other than the joined Keywords and
// SupplementalCategory texts and the Customized text), one dataset per list entry, the customized
// slots and the customized datasets past them.
struct ValuesToWrite
{
    const IptcFieldSet &fields;
    const QStringList &keywords;
    const QStringList &supplementalCategories;
    std::span<const CustomizedDataset> moreCustomized = {};
};

// One dataset to write, in the writer's file order.
struct DatasetToWrite
{
    int fieldIndex; // catalogue index; kCustomizedIndex for a customized dataset
    int dataset;    // record-2 number
    const QString *text;
};
// The non-empty values in file order: numeric order, with the lists in place of their joined texts.
std::vector<DatasetToWrite> datasetsToWrite(const ValuesToWrite &values);

// The charset the writer uses for them: Windows-1252 when every text fits it, else UTF-8 for all.
iptctext::Charset writeCharset(const ValuesToWrite &values);

// The bytes a text takes in the charset.
qsizetype encodedSize(QStringView text, iptctext::Charset charset);

// Which limits a value is held to. Write limits are what a dataset takes; the edit dialog's
// length control (ControlLengthFields) holds fields to the lower of their dialog and write limits.
enum class ValueLimits { Write, DialogAndWrite };
int limitOf(int fieldIndex, ValueLimits limits);

// A value that does not fit its dataset: the writer refuses it rather than cut it.
struct ValueOverLimit
{
    int fieldIndex; // catalogue index; kCustomizedIndex for a customized dataset
    int dataset;
    qsizetype bytes; // in the file
    int limit;
    bool utf8;
};

// The first value, in file order, over its limit when counted in the bytes the writer will write.
std::optional<ValueOverLimit> firstValueOverLimit(const ValuesToWrite &values, ValueLimits limits = ValueLimits::Write);

// "Caption takes 2400 bytes in UTF-8, more than the 2000 its dataset holds": the reason a file
// is left as it was, in the words of language (English when none).
QString overLimitReason(const ValueOverLimit &over, const LanguagePack *language = nullptr);

// The same check as message 51 of the language pack tells it ("#" the field's name, "$" the bytes,
// "%" the limit).
QString overLimitMessage(const QString &message51, const QString &fieldName, const ValueOverLimit &over);

} // namespace zelvarion
