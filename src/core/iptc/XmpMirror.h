#pragma once

#include "core/iptc/IptcField.h"
#include "platform/XmpDocument.h"

#include <QStringList>

namespace zelvarion {

struct IptcReadResult;

// The IIM values as the XMP properties that mirror them see them: the fields, and the two lists
// in place of their joined texts.
struct IimValues
{
    const IptcFieldSet &fields;
    const QStringList &keywords;
    const QStringList &supplementalCategories;
};

// Brings the mirroring properties of the fields this write changes in step with the IIM values
// written: a field given another value sets its property, a field emptied removes it. A field
// whose value stays leaves its property as it is, even when another program wrote something else
// there since, as does every property mirroring no IIM field. `before` is what a reader of the
// file saw. The result says whether the document changed, or that the library refused a change.
struct XmpMirrorResult
{
    bool changed = false;
    bool failed = false;
};
XmpMirrorResult mirrorIimIntoXmp(XmpDocument &xmp, const IimValues &before, const IimValues &after);

// Fills the fields (and the keyword and supplemental category entries) from the mirroring
// properties, as the IIM reader fills them from datasets; true when any property had a value.
bool readIimFieldsFromXmp(const XmpDocument &xmp, IptcReadResult &result);

// IIM date (CCYYMMDD) and time (HHMMSS+HHMM) as one XMP date; empty when the date is not a date.
QString xmpDateFromIim(const QString &date, const QString &time);
// And back: the IIM date and time of an XMP date (the time empty when it has none).
struct IimDateTime
{
    QString date;
    QString time;
};
std::optional<IimDateTime> iimDateTimeFromXmp(const QString &xmpDate);

} // namespace zelvarion
