#include "core/captioning/TemplateEdits.h"

#include "core/editing/FieldRules.h"
#include "core/iptc/IptcField.h"
#include "core/captioning/EditImageIptc.h"
#include "core/captioning/TemplateVariables.h"

#include <QDate>
#include <QTime>

namespace zelvarion {
namespace {

// The refusal in the pack's words, "#" and "%" replaced in one pass so a value holding them stays whole.
QString refusal(const LanguagePack *language, const NamedText &text, const QString &hash, const QString &percent = {})
{
    QString result;
    for (const QChar c : (language ? *language : shippedEnglishPack()).commandLineText(text))
        result += c == u'#' ? hash : c == u'%' ? percent : QString(c);
    return result;
}

bool isDigits(const QString &text, qsizetype count)
{
    if (text.size() != count)
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

std::optional<QString> valueFormProblem(int index, const QString &value, const LanguagePack *language)
{
    const char *column = iptcField(index).column;
    const ValueForm form = iptcField(index).form;
    if (value.isEmpty())
        return std::nullopt;
    if (isDateField(index)
        && !(isDigits(value, 8) && QDate::fromString(value, QStringLiteral("yyyyMMdd")).isValid()))
        return refusal(language, editRefusals::kDateForm, QLatin1String(column), value);
    if (isTimeField(index) && !(isDigits(value, 6) && QTime::fromString(value, QStringLiteral("HHmmss")).isValid()))
        return refusal(language, editRefusals::kTimeForm, QLatin1String(column), value);
    if (form == ValueForm::Urgency && editing::urgencyEntry(value) == 9)
        return refusal(language, editRefusals::kUrgency, value);
    if (form == ValueForm::Cycle && editing::cycleEntry(value) == 3)
        return refusal(language, editRefusals::kObjectCycle, value);
    return std::nullopt;
}

namespace {

// The template's values as a write puts them into a file.
struct TemplateWrite
{
    ImageEdit edit;
    ValuesToWrite values() const { return {edit.fields, edit.keywords, edit.supplementalCategories}; }
};
TemplateWrite asWritten(const TemplateValues &values)
{
    return {imageEditFrom(values, splitList(values.fields[kKeywordsIndex]),
                          splitList(values.fields[kSupplementalCategoryIndex]))};
}

} // namespace

std::optional<ValueOverLimit> templateValueOverLimit(const TemplateValues &values, ValueLimits limits)
{
    const TemplateWrite written = asWritten(withFixedTexts(values));
    return firstValueOverLimit(written.values(), limits);
}

iptctext::Charset templateWriteCharset(const TemplateValues &values)
{
    const TemplateWrite written = asWritten(withFixedTexts(values));
    return writeCharset(written.values());
}

QString overLimitProblem(const ValueOverLimit &over, const EditRules &rules)
{
    const QString name = over.fieldIndex == kCustomizedIndex ? QStringLiteral("--customized %1").arg(over.dataset)
                                                             : QLatin1String(iptcField(over.fieldIndex).column);
    return overLimitMessage(rules.tooLongMessage, name, over);
}

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
        return refusal(rules.language, editRefusals::kCustomizedNotStored, {});
    const bool list = isListField(index);
    if (const auto problem = list ? std::nullopt : valueFormProblem(index, value, rules.language))
        return problem;
    TemplateValues edited = values;
    edited.fields[std::size_t(index)] = list ? editing::joinedEntries(splitList(value)) : value;
    if (const std::optional<ValueOverLimit> over = templateValueOverLimit(edited, limitsOf(rules)))
        return overLimitProblem(*over, rules);
    values = edited;
    return std::nullopt;
}

std::optional<QString> editCustomized(TemplateValues &values, const QString &number, const QString &value,
                                      const LanguagePack *language)
{
    if (editing::checkCustomizedNumber(number, {}) != editing::NumberVerdict::Valid)
        return refusal(language, editRefusals::kCustomizedNumber, number);
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
    return refusal(language, editRefusals::kCustomizedRowsTaken, QString::number(kTemplateCustomizedCount));
}

} // namespace zelvarion
