#pragma once

#include "core/templates/TemplateRecord.h"
#include "core/templates/TemplateStatements.h"

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
    QString tooLongMessage;     // message 15
};

// The field of catalogue index 0..33 takes the value; nothing, or the reason it is refused.
std::optional<QString> editField(TemplateValues &values, int index, const QString &value, const EditRules &rules);

// The customized row of that number takes the value (an empty value empties the row); a new
// number takes the first empty row. Nothing, or the reason it is refused.
std::optional<QString> editCustomized(TemplateValues &values, const QString &number, const QString &value);

} // namespace zelvarion
