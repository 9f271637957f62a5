#include "core/iptc/XmpMirror.h"

#include "core/iptc/IptcReader.h"
#include "core/session/TextRules.h"

#include <QRegularExpression>

namespace zelvarion {
namespace {

constexpr const char *kDc = "http://purl.org/dc/elements/1.1/";
constexpr const char *kPhotoshop = "http://ns.adobe.com/photoshop/1.0/";
constexpr const char *kIptcCore = "http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/";

constexpr int kCreatedDateIndex = 13;
constexpr int kCreatedTimeIndex = 14;

struct Mirror
{
    int index;
    XmpName name;
    XmpForm form;
};

// The IPTC Core mapping of the fields this program keeps. The creation date and time share one
// property and are handled apart.
constexpr Mirror kMirrors[] = {
    {iptcIndex("ObjectName"), {kDc, "title"}, XmpForm::LangAlt},
    {kUrgencyIndex, {kPhotoshop, "Urgency"}, XmpForm::Simple},
    {iptcIndex("Category"), {kPhotoshop, "Category"}, XmpForm::Simple},
    {kSupplementalCategoryIndex, {kPhotoshop, "SupplementalCategories"}, XmpForm::Bag},
    {kKeywordsIndex, {kDc, "subject"}, XmpForm::Bag},
    {iptcIndex("SpecialInstructions"), {kPhotoshop, "Instructions"}, XmpForm::Simple},
    {kBylineIndex, {kDc, "creator"}, XmpForm::Seq},
    {iptcIndex("BylineTitle"), {kPhotoshop, "AuthorsPosition"}, XmpForm::Simple},
    {kCityIndex, {kPhotoshop, "City"}, XmpForm::Simple},
    {iptcIndex("ProvinceState"), {kPhotoshop, "State"}, XmpForm::Simple},
    {iptcIndex("CountryCode"), {kIptcCore, "CountryCode"}, XmpForm::Simple},
    {kCountryIndex, {kPhotoshop, "Country"}, XmpForm::Simple},
    {iptcIndex("OriginalTransmissionReference"), {kPhotoshop, "TransmissionReference"}, XmpForm::Simple},
    {kHeadlineIndex, {kPhotoshop, "Headline"}, XmpForm::Simple},
    {kCreditIndex, {kPhotoshop, "Credit"}, XmpForm::Simple},
    {iptcIndex("Source"), {kPhotoshop, "Source"}, XmpForm::Simple},
    {kCopyrightIndex, {kDc, "rights"}, XmpForm::LangAlt},
    {kCaptionIndex, {kDc, "description"}, XmpForm::LangAlt},
    {iptcIndex("CaptionWriter"), {kPhotoshop, "CaptionWriter"}, XmpForm::Simple},
};
constexpr XmpName kDateCreated{kPhotoshop, "DateCreated"};

const QString kJoin = QStringLiteral("; ");

// The texts a field gives its property: a list field its entries, the byline its joined names
// (the reader joins repeated bylines the same way), any other field its one value.
QStringList textsOf(const Mirror &mirror, const IimValues &values)
{
    if (mirror.index == kKeywordsIndex)
        return values.keywords;
    if (mirror.index == kSupplementalCategoryIndex)
        return values.supplementalCategories;
    const QString &value = values.fields.values[std::size_t(mirror.index)];
    if (value.isEmpty())
        return {};
    return mirror.form == XmpForm::Seq ? value.split(kJoin) : QStringList{value};
}

// Sets or removes one property to the texts of a changed field.
void mirrorOne(XmpDocument &xmp, XmpName name, XmpForm form, const QStringList &texts, XmpMirrorResult &result)
{
    if (xmp.values(name, form) == texts)
        return;
    if (!xmp.setValues(name, form, texts))
        result.failed = true;
    result.changed = true;
}

void mirrorDateCreated(XmpDocument &xmp, const IptcFieldSet &before, const IptcFieldSet &after,
                       XmpMirrorResult &result)
{
    const QString &date = after.values[kCreatedDateIndex];
    const QString &time = after.values[kCreatedTimeIndex];
    if (date == before.values[kCreatedDateIndex] && time == before.values[kCreatedTimeIndex])
        return;
    if (date.isEmpty()) {
        mirrorOne(xmp, kDateCreated, XmpForm::Simple, {}, result);
        return;
    }
    const QString wanted = xmpDateFromIim(date, time);
    if (wanted.isEmpty())
        return; // no date a reader could take: the property stays as it is
    const QStringList current = xmp.values(kDateCreated, XmpForm::Simple);
    if (!current.isEmpty()) {
        const std::optional<IimDateTime> same = iimDateTimeFromXmp(current.first());
        if (same && same->date == date && same->time == time)
            return; // the same instant, perhaps written with fractions of a second
    }
    mirrorOne(xmp, kDateCreated, XmpForm::Simple, {wanted}, result);
}

} // namespace

XmpMirrorResult mirrorIimIntoXmp(XmpDocument &xmp, const IimValues &before, const IimValues &after)
{
    XmpMirrorResult result;
    for (const Mirror &mirror : kMirrors) {
        const QStringList texts = textsOf(mirror, after);
        if (texts != textsOf(mirror, before))
            mirrorOne(xmp, mirror.name, mirror.form, texts, result);
    }
    mirrorDateCreated(xmp, before.fields, after.fields, result);
    return result;
}

bool readIimFieldsFromXmp(const XmpDocument &xmp, IptcReadResult &result)
{
    bool any = false;
    for (const Mirror &mirror : kMirrors) {
        QString &field = result.fields.values[std::size_t(mirror.index)];
        for (const QString &text : xmp.values(mirror.name, mirror.form)) {
            const QString trimmed = trimBlanks(text);
            if (mirror.index == kKeywordsIndex)
                result.keywordEntries << trimmed;
            else if (mirror.index == kSupplementalCategoryIndex)
                result.supplementalCategoryEntries << trimmed;
            field = joinOccurrence(field, text);
            any = true;
        }
    }
    const QStringList date = xmp.values(kDateCreated, XmpForm::Simple);
    if (!date.isEmpty()) {
        if (const std::optional<IimDateTime> created = iimDateTimeFromXmp(date.first())) {
            result.fields.values[kCreatedDateIndex] = created->date;
            result.fields.values[kCreatedTimeIndex] = created->time;
            any = true;
        }
    }
    return any;
}

QString xmpDateFromIim(const QString &date, const QString &time)
{
    static const QRegularExpression iimDate(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    static const QRegularExpression iimTime(QStringLiteral("^(\\d{2})(\\d{2})(\\d{2})(?:([+-])(\\d{2})(\\d{2}))?$"));
    const QRegularExpressionMatch d = iimDate.match(date);
    if (!d.hasMatch())
        return {};
    QString text = d.captured(1) + u'-' + d.captured(2) + u'-' + d.captured(3);
    const QRegularExpressionMatch t = iimTime.match(time);
    if (!t.hasMatch())
        return text;
    text += u'T' + t.captured(1) + u':' + t.captured(2) + u':' + t.captured(3);
    if (t.hasCaptured(4))
        text += t.captured(4) + t.captured(5) + u':' + t.captured(6);
    return text;
}

std::optional<IimDateTime> iimDateTimeFromXmp(const QString &xmpDate)
{
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{4})-(\\d{2})-(\\d{2})(?:T(\\d{2}):(\\d{2})(?::(\\d{2})(?:\\.\\d+)?)?(Z|[+-]\\d{2}:\\d{2})?)?$"));
    const QRegularExpressionMatch m = form.match(xmpDate.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    IimDateTime result{m.captured(1) + m.captured(2) + m.captured(3), {}};
    if (m.hasCaptured(4)) {
        const QString seconds = m.hasCaptured(6) ? m.captured(6) : QStringLiteral("00");
        QString zone = m.captured(7);
        zone = zone.isEmpty() ? QString() : zone == u"Z" ? QStringLiteral("+0000") : zone.remove(u':');
        result.time = m.captured(4) + m.captured(5) + seconds + zone;
    }
    return result;
}

} // namespace zelvarion
