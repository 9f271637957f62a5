#include "core/captioning/TemplateVariables.h"

#include "core/session/PackText.h"

namespace zelvarion {
namespace {

// Only a text holding a brace can differ from what it expands to.
bool holdsBrace(const QString &text) { return text.contains(u'{') || text.contains(u'}'); }

std::optional<TemplateTextProblem> problemOf(const QString &text, int fieldIndex, int customizedRow)
{
    if (!holdsBrace(text))
        return std::nullopt;
    ParsedCaption parsed = parseCaptionText(text);
    if (!parsed.problem)
        return std::nullopt;
    return TemplateTextProblem{fieldIndex, customizedRow, *parsed.problem};
}

} // namespace

QString fixedTextOf(const QString &text)
{
    if (!holdsBrace(text))
        return text;
    const ParsedCaption parsed = parseCaptionText(text);
    return parsed.problem ? text : parsed.text.fixedText();
}

std::optional<TemplateTextProblem> firstTemplateTextProblem(const TemplateValues &values)
{
    for (int i = 0; i < kTemplateFieldCount; ++i)
        if (auto problem = problemOf(values.fields[std::size_t(i)], i, -1))
            return problem;
    for (int k = 0; k < kTemplateCustomizedCount; ++k)
        if (auto problem = problemOf(values.customized[std::size_t(k)].value, kCustomizedIndex, k))
            return problem;
    return std::nullopt;
}

QString templateTextProblemText(const TemplateTextProblem &problem, const QString &fieldName, const LanguagePack *pack)
{
    const QString label = pack ? withColon(*pack, fieldName) : fieldName + QStringLiteral(": ");
    return label + variableProblemText(problem.problem, pack);
}

TemplateValues withFixedTexts(const TemplateValues &values)
{
    TemplateValues fixed = values;
    for (QString &field : fixed.fields)
        field = fixedTextOf(field);
    for (CustomizedCell &cell : fixed.customized)
        cell.value = fixedTextOf(cell.value);
    return fixed;
}

TemplateExpansion::TemplateExpansion(const TemplateRecord &templ, ValueLimits limits)
    : m_template(templ), m_limits(limits)
{
    const auto parse = [this](const QString &text, std::optional<CaptionText> &slot, int field, int row) {
        if (!holdsBrace(text) || m_problem)
            return;
        ParsedCaption parsed = parseCaptionText(text);
        if (parsed.problem) {
            m_problem = TemplateTextProblem{field, row, *parsed.problem};
            return;
        }
        slot = std::move(parsed.text);
        m_changes = true;
    };
    for (int i = 0; i < kTemplateFieldCount; ++i)
        parse(templ.fields[std::size_t(i)], m_fields[std::size_t(i)], i, -1);
    for (int k = 0; k < kTemplateCustomizedCount; ++k)
        if (const std::optional<CustomizedCell> cell = splitCustomizedCell(templ.customized[std::size_t(k)]))
            parse(cell->value, m_customized[std::size_t(k)], kCustomizedIndex, k);
}

TemplateRecord TemplateExpansion::expanded(const CaptionFacts &facts) const
{
    TemplateRecord record = m_template;
    for (int i = 0; i < kTemplateFieldCount; ++i)
        if (const std::optional<CaptionText> &text = m_fields[std::size_t(i)])
            record.fields[std::size_t(i)] = text->expand(facts);
    for (int k = 0; k < kTemplateCustomizedCount; ++k)
        if (const std::optional<CaptionText> &text = m_customized[std::size_t(k)])
            record.customized[std::size_t(k)] =
                splitCustomizedCell(m_template.customized[std::size_t(k)])->number + u'/' + text->expand(facts);
    return record;
}

bool TemplateExpansion::fromVariables(const DatasetToWrite &dataset, const TemplateRecord &expanded) const
{
    if (dataset.fieldIndex == kCustomizedIndex) {
        for (int k = 0; k < kTemplateCustomizedCount; ++k) {
            const std::optional<CustomizedCell> cell = splitCustomizedCell(expanded.customized[std::size_t(k)]);
            if (m_customized[std::size_t(k)] && cell && cell->number.trimmed().toInt() == dataset.dataset
                && cell->value == *dataset.text)
                return true;
        }
        return false;
    }
    if (dataset.fieldIndex >= kTemplateFieldCount || !m_fields[std::size_t(dataset.fieldIndex)])
        return false;
    const QString &text = expanded.fields[std::size_t(dataset.fieldIndex)];
    if (dataset.fieldIndex == kKeywordsIndex)
        return splitList(text).contains(*dataset.text);
    if (dataset.fieldIndex == kSupplementalCategoryIndex)
        return templateCategoryEntries(text).contains(*dataset.text);
    return *dataset.text == text;
}

std::optional<ValueOverLimit> TemplateExpansion::takenValueOverLimit(const WorkingValues &merged,
                                                                     const TemplateRecord &expanded) const
{
    const ValuesToWrite values{merged.fields, merged.keywords, merged.supplementalCategories, merged.moreCustomized};
    const iptctext::Charset charset = writeCharset(values);
    for (const DatasetToWrite &dataset : datasetsToWrite(values)) {
        if (!fromVariables(dataset, expanded))
            continue;
        const int limit = limitOf(dataset.fieldIndex, m_limits);
        const qsizetype bytes = encodedSize(*dataset.text, charset);
        if (bytes > limit)
            return ValueOverLimit{dataset.fieldIndex, dataset.dataset, bytes, limit, charset == iptctext::Charset::Utf8};
    }
    return std::nullopt;
}

} // namespace zelvarion
