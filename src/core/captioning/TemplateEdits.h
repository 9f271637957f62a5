#pragma once

#include "core/iptc/IptcValueCheck.h"
#include "core/catalogue/TemplateRecord.h"
#include "core/catalogue/TemplatesTable.h"
#include "core/session/LanguagePack.h"

#include <QString>
#include <optional>

namespace zelvarion {

// A template's values as the edit dialog shows them: what OK would store unchanged.
TemplateValues valuesOf(const TemplateRecord &record);

// Edits of a template's values made outside the edit dialog (the command line), held to the
// dialog's rules: a value the dialog would refuse is refused with the reason. Dates come as
// yyyymmdd, times as hhnnss, lists as "a; b" (entries trimmed, empty ones dropped).
struct EditRules
{
    bool controlLengths = true; // ControlLengthFields
    QString tooLongMessage;     // message 51: "#" the field, "$" the bytes, "%" the limit
    const LanguagePack *language = nullptr; // of the refusals; English without one
};

// The refusals of values, told in a pack's "[CommandLine]" words.
namespace editRefusals {
inline constexpr NamedText kDateForm{"refuse.date-form", "# takes a date as yyyymmdd, not '%'"};
inline constexpr NamedText kTimeForm{"refuse.time-form", "# takes a time as hhnnss, not '%'"};
inline constexpr NamedText kUrgency{"refuse.urgency", "Urgency takes 1 to 9, not '#'"};
inline constexpr NamedText kObjectCycle{"refuse.object-cycle", "ObjectCycle takes a, p or b, not '#'"};
inline constexpr NamedText kCustomizedNotStored{"refuse.customized-not-stored",
                                                "the Customized text is not stored; use --customized N=Value"};
inline constexpr NamedText kCustomizedNumber{
    "refuse.customized-number", "--customized needs N=Value with N from 1 to 254 outside the field catalogue, not '#'"};
inline constexpr NamedText kCustomizedRowsTaken{"refuse.customized-rows-taken", "all # customized rows are taken"};
inline constexpr const NamedText *kAll[] = {&kDateForm, &kTimeForm, &kUrgency, &kObjectCycle, &kCustomizedNotStored,
                                            &kCustomizedNumber, &kCustomizedRowsTaken};
} // namespace editRefusals

// The field of catalogue index 0..33 takes the value; nothing, or the reason it is refused.
std::optional<QString> editField(TemplateValues &values, int index, const QString &value, const EditRules &rules);

// Whether a value in the stored form of its field (date, time, urgency, cycle); nothing, or the
// reason it is not. Lists and free texts take any value.
std::optional<QString> valueFormProblem(int index, const QString &value, const LanguagePack *language = nullptr);

// The first value of the template that its dataset could not hold, counted in the bytes the
// writer will write (Windows-1252, or UTF-8 for all when any value needs it). A template is
// refused such a value: applied, it would have to be cut. A text with variables counts its fixed
// text; what the variables give is held to the limits per image when the template is applied.
std::optional<ValueOverLimit> templateValueOverLimit(const TemplateValues &values, ValueLimits limits);
// The charset the writer would write the template's values in.
iptctext::Charset templateWriteCharset(const TemplateValues &values);
// The refusal in message 51, naming the field by its column (or customized dataset number).
QString overLimitProblem(const ValueOverLimit &over, const EditRules &rules);
// The limits a template's values are held to: the dialog's with ControlLengthFields, the write
// limits always.
inline ValueLimits limitsOf(const EditRules &rules)
{
    return rules.controlLengths ? ValueLimits::DialogAndWrite : ValueLimits::Write;
}

// The customized row of that number takes the value (an empty value empties the row); a new
// number takes the first empty row. Nothing, or the reason it is refused.
std::optional<QString> editCustomized(TemplateValues &values, const QString &number, const QString &value,
                                      const LanguagePack *language = nullptr);

} // namespace zelvarion
