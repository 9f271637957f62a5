#include "cli/CliText.h"

#include "core/editing/EditDates.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

namespace zelvarion::cli {

QString filled(const QString &text, std::initializer_list<std::pair<QChar, QString>> values)
{
    QString result;
    for (const QChar c : text) {
        const auto value = std::find_if(values.begin(), values.end(), [c](const auto &entry) { return entry.first == c; });
        result += value == values.end() ? QString(c) : value->second;
    }
    return result;
}

QString withSubject(const LanguagePack &pack, Message key, const QString &subject)
{
    return pack.message(key) + u' ' + subject;
}

QString escapedName(QString name)
{
    if (!name.contains(u'\\') && !name.contains(u'\n') && !name.contains(u'\r') && !name.contains(u'\t'))
        return name;
    name.replace(u'\\', QStringLiteral("\\\\"));
    name.replace(u'\n', QStringLiteral("\\n"));
    name.replace(u'\r', QStringLiteral("\\r"));
    return name.replace(u'\t', QStringLiteral("\\t"));
}

QString isoDateFromMark(const QString &mark)
{
    const QLocale locale;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QDate date = locale.toDate(mark.trimmed(), format);
    if (!date.isValid())
        return mark;
    if (!format.contains(QStringLiteral("yyyy")))
        date = date.addYears(100); // a two-digit year reads as 19yy; marks are made today
    return date.toString(Qt::ISODate);
}

QString isoFromRevisionStamp(const QString &stamp)
{
    // Date and time forms may both hold spaces ("10 Dec 2026", "10:36:30 PM"): try each split.
    const QLocale locale; // the pack's, as the window writes stamps
    for (qsizetype space = stamp.indexOf(u' '); space > 0; space = stamp.indexOf(u' ', space + 1)) {
        const std::optional<QDate> date = editing::parseDate(stamp.left(space), locale);
        const std::optional<QTime> time = date ? editing::parseTime(stamp.mid(space + 1), locale) : std::nullopt;
        if (date && time)
            return QDateTime(*date, *time).toString(Qt::ISODate);
    }
    return stamp;
}

} // namespace zelvarion::cli
