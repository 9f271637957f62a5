#include "core/templates/TemplateEdits.h"

#include "core/editing/FieldRules.h"
#include "core/iptc/IptcField.h"

#include <QDate>
#include <QTime>

namespace zelvarion {
namespace {

bool isDigits(const QString &text, qsizetype count)
{
    if (text.size() != count)
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The stored form the dialog would produce for the value, or the reason it cannot.
std::optional<QString> formProblem(int index, const QString &value)
{
    const char *column = iptcField(index).column;
    const ValueForm form = iptcField(index).form;
    if (value.isEmpty())
        return std::nullopt;
    if ((form == ValueForm::Date || index == 11)
        && !(isDigits(value, 8) && QDate::fromString(value, QStringLiteral("yyyyMMdd")).isValid()))
        return QStringLiteral("%1 takes a date as yyyymmdd, not '%2'").arg(QLatin1String(column), value);
    if (form == ValueForm::Time && !(isDigits(value, 6) && QTime::fromString(value, QStringLiteral("HHmmss")).isValid()))
        return QStringLiteral("%1 takes a time as hhnnss, not '%2'").arg(QLatin1String(column), value);
    if (form == ValueForm::Urgency && editing::urgencyEntry(value) == 9)
        return QStringLiteral("Urgency takes 1 to 9, not '%1'").arg(value);
    if (form == ValueForm::Cycle && editing::cycleEntry(value) == 3)
        return QStringLiteral("ObjectCycle takes a, p or b, not '%1'").arg(value);
    return std::nullopt;
}

std::optional<QString> lengthProblem(int index, const QStringList &pieces, const EditRules &rules)
{
    if (!rules.controlLengths)
        return std::nullopt;
    const int limit = iptcField(index).dialogLimit;
    for (const QString &piece : pieces)
        if (limit > 0 && piece.size() > limit)
            return editing::tooLongMessage(rules.tooLongMessage, QLatin1String(iptcField(index).column), limit);
    return std::nullopt;
}

} // namespace

TemplateValues valuesOf(const TemplateRecord &record)
{
    TemplateValues values;
    values.fields = record.fields;
    for (int k = 0; k < kTemplateCustomizedCount; ++k)
        if (const auto cell = splitCustomizedCell(record.customized[std::size_t(k)]))
            values.customized[std::size_t(k)] = *cell;
    return values;
}

std::optional<QString> editField(TemplateValues &values, int index, const QString &value, const EditRules &rules)
{
    if (index < 0 || index >= kTemplateFieldCount)
        return QStringLiteral("the Customized text is not stored; use --customized N=Value");
    const bool list = index == kKeywordsIndex || index == kSupplementalCategoryIndex;
    const QStringList entries = list ? splitList(value) : QStringList{value};
    if (const auto problem = list ? std::nullopt : formProblem(index, value))
        return problem;
    if (const auto problem = lengthProblem(index, entries, rules))
        return problem;
    values.fields[std::size_t(index)] = list ? editing::joinedEntries(entries) : value;
    return std::nullopt;
}

std::optional<QString> editCustomized(TemplateValues &values, const QString &number, const QString &value)
{
    if (editing::checkCustomizedNumber(number, {}) != editing::NumberVerdict::Valid)
        return QStringLiteral("--customized needs N=Value with N from 1 to 254 outside the field catalogue, not '%1'")
            .arg(number);
    const QString trimmed = number.trimmed();
    for (CustomizedCell &row : values.customized) {
        if (row.number.trimmed() == trimmed) {
            row = value.isEmpty() ? CustomizedCell{} : CustomizedCell{trimmed, value};
            return std::nullopt;
        }
    }
    if (value.isEmpty())
        return std::nullopt;
    for (CustomizedCell &row : values.customized) {
        if (row.number.isEmpty() && row.value.isEmpty()) {
            row = {trimmed, value};
            return std::nullopt;
        }
    }
    return QStringLiteral("all %1 customized rows are taken").arg(kTemplateCustomizedCount);
}

} // namespace zelvarion
