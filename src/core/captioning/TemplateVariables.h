#pragma once

#include "core/captioning/CaptionVariables.h"
#include "core/captioning/MergeTemplate.h"
#include "core/catalogue/TemplateRecord.h"
#include "core/catalogue/TemplatesTable.h"
#include "core/iptc/IptcValueCheck.h"

#include <array>
#include <optional>

namespace zelvarion {

// A text of a template whose variables cannot be expanded: a field's (catalogue index) or a
// customized row's value (0 to 15; the field is then kCustomizedIndex).
struct TemplateTextProblem
{
    int fieldIndex = -1;
    int customizedRow = -1;
    VariableProblem problem;
};

// The first text of the template values that cannot be expanded, fields before customized rows.
std::optional<TemplateTextProblem> firstTemplateTextProblem(const TemplateValues &values);

// "Caption: {Town} is neither a variable nor a field" in the pack's words; the field is named by
// fieldName (the dialog's label or the column), a customized row by its dataset number.
QString templateTextProblemText(const TemplateTextProblem &problem, const QString &fieldName, const LanguagePack *pack);

// The values with every text that holds variables reduced to its fixed text: what their limits
// are held to when the template is saved, since what a variable gives differs by image. A text
// that cannot be parsed stays whole.
TemplateValues withFixedTexts(const TemplateValues &values);
QString fixedTextOf(const QString &text);

// A template's texts parsed once for a run and expanded for each image before the merge.
class TemplateExpansion
{
public:
    TemplateExpansion(const TemplateRecord &templ, ValueLimits limits);

    // A text that cannot be expanded (a template stored by another program): the run is refused.
    const std::optional<TemplateTextProblem> &problem() const { return m_problem; }
    // Whether any text holds a variable or a doubled brace; without, the template is used as it is.
    bool changesTexts() const { return m_changes; }

    // The template as one image gets it; facts.fields are the image's values before the merge.
    TemplateRecord expanded(const CaptionFacts &facts) const;

    // After the merge: the first value that came from a text with variables, that the merge took,
    // and that is over its limit (the limits the template's save holds it to), counted in the
    // bytes the writer will write. The image is then left as it was.
    std::optional<ValueOverLimit> takenValueOverLimit(const WorkingValues &merged, const TemplateRecord &expanded) const;

private:
    bool fromVariables(const DatasetToWrite &dataset, const TemplateRecord &expanded) const;

    TemplateRecord m_template;
    ValueLimits m_limits;
    std::array<std::optional<CaptionText>, kTemplateFieldCount> m_fields;          // texts holding braces
    std::array<std::optional<CaptionText>, kTemplateCustomizedCount> m_customized; // their values
    std::optional<TemplateTextProblem> m_problem;
    bool m_changes = false;
};

} // namespace zelvarion
