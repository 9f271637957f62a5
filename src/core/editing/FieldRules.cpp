#include "core/editing/FieldRules.h"

#include "core/iptc/IptcField.h"
#include "core/iptc/IptcValueCheck.h"

#include <limits>

namespace zelvarion::editing {
namespace {

const QChar kCopyrightSign(0x00A9);

std::optional<long long> wholeDecimal(const QString &text)
{
    bool numeric = false;
    const long long number = text.trimmed().toLongLong(&numeric);
    return numeric ? std::optional<long long>(number) : std::nullopt;
}

bool isCatalogueNumber(long long number)
{
    return number >= 0 && number <= 255 && lookupDataset(int(number)).kind == DatasetLookup::Kind::Field;
}

NumberVerdict verdict(const QString &number, const QStringList &otherRows, long long highest)
{
    const std::optional<long long> value = wholeDecimal(number);
    if (!value || *value < 1 || *value > highest || isCatalogueNumber(*value))
        return NumberVerdict::Invalid;
    for (const QString &other : otherRows)
        if (other.trimmed() == number.trimmed())
            return NumberVerdict::Duplicate;
    return NumberVerdict::Valid;
}

} // namespace

std::optional<LengthExcess> entryExceedsLimit(int listIndex, const QString &entry, iptctext::Charset charset)
{
    // The dialog limit when there is one: the Customized text has none and is never written.
    if (iptcField(listIndex).dialogLimit <= 0)
        return std::nullopt;
    const int limit = limitOf(listIndex, ValueLimits::DialogAndWrite);
    const qsizetype bytes = encodedSize(entry, charset);
    if (bytes <= limit)
        return std::nullopt;
    return LengthExcess{limit, bytes, charset == iptctext::Charset::Utf8};
}

std::optional<LengthExcess> exceededLimit(int fieldIndex, const QString &text, iptctext::Charset charset)
{
    if (fieldIndex == kKeywordsIndex || fieldIndex == kSupplementalCategoryIndex)
        return std::nullopt;
    return entryExceedsLimit(fieldIndex, text, charset);
}

QString tooLongMessage(const QString &message15, const QString &message51, const QString &label,
                       const LengthExcess &excess)
{
    if (!excess.utf8)
        return tooLongMessage(message15, label, excess.limit);
    QString text = message51;
    text.replace(u'#', label);
    text.replace(u'$', QString::number(excess.bytes));
    text.replace(u'%', QString::number(excess.limit));
    return text;
}

QString tooLongMessage(const QString &message15, const QString &label, int limit)
{
    QString text = message15;
    text.replace(u'#', label);
    text.replace(u'%', QString::number(limit));
    return text;
}

NumberVerdict checkCustomizedNumber(const QString &number, const QStringList &otherRows)
{
    return verdict(number, otherRows, 254);
}

NumberVerdict checkNamedNumber(const QString &number, const QStringList &otherRows)
{
    return verdict(number, otherRows, std::numeric_limits<std::int16_t>::max());
}

int urgencyEntry(const QString &value)
{
    bool numeric = false;
    const int number = value.toInt(&numeric);
    return numeric && number >= 1 && number <= 9 ? number - 1 : 9;
}

QString urgencyValue(int entry) { return entry >= 0 && entry <= 8 ? QString::number(entry + 1) : QString(); }

int cycleEntry(const QString &value)
{
    const qsizetype at = QStringLiteral("apb").indexOf(value);
    return value.size() == 1 && at >= 0 ? int(at) : 3;
}

QString cycleValue(int entry) { return entry >= 0 && entry <= 2 ? QString(QStringLiteral("apb")[entry]) : QString(); }

QString joinedEntries(const QStringList &entries) { return entries.join(QStringLiteral("; ")); }

bool hasEntryIgnoringCase(const QStringList &entries, const QString &text)
{
    return entries.contains(text, Qt::CaseInsensitive);
}

QString withCopyrightSign(const QString &text)
{
    return text.startsWith(kCopyrightSign) ? text : kCopyrightSign + QStringLiteral(" ") + text;
}

} // namespace zelvarion::editing
