#include "core/editing/EditDates.h"

#include <QRegularExpression>

namespace zelvarion::editing {
namespace {

bool isEightDigits(const QString &text)
{
    if (text.size() != 8)
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// Two-digit years read by Qt as 1900 to 1999 move to a window around today.
QDate withCenturyWindow(QDate date)
{
    if (date.isValid() && date.year() < 1950)
        return date.addYears(100);
    return date;
}

} // namespace

QString displayDateFormat(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    return format;
}

QString displayTimeFormat(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (!format.contains(u's')) {
        const qsizetype minutes = format.indexOf(QStringLiteral("mm"));
        if (minutes >= 0)
            format.insert(minutes + 2, QStringLiteral(":ss"));
    }
    return format;
}

QString shownDateForm(const QLocale &locale, const QString &dayMonthYearLetters)
{
    const QString letters = dayMonthYearLetters.size() == 3 ? dayMonthYearLetters : QStringLiteral("dmy");
    QString form = displayDateFormat(locale);
    for (QChar &c : form) {
        if (c == u'd')
            c = letters[0];
        else if (c == u'M')
            c = letters[1];
        else if (c == u'y')
            c = letters[2];
    }
    return form;
}

QString shownTimeForm(const QLocale &locale)
{
    QString form = displayTimeFormat(locale);
    for (QChar &c : form)
        if (c == u'H')
            c = u'h';
    return form;
}

QString dateText(const QDate &date, const QLocale &locale) { return locale.toString(date, displayDateFormat(locale)); }

QString timeText(const QTime &time, const QLocale &locale) { return locale.toString(time, displayTimeFormat(locale)); }

std::optional<QDate> parseDate(const QString &text, const QLocale &locale)
{
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return std::nullopt;
    QDate date = locale.toDate(typed, displayDateFormat(locale));
    if (!date.isValid())
        date = withCenturyWindow(locale.toDate(typed, locale.dateFormat(QLocale::ShortFormat)));
    if (!date.isValid() && isEightDigits(typed))
        date = QDate::fromString(typed, QStringLiteral("yyyyMMdd"));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::optional<QTime> parseTime(const QString &text, const QLocale &locale)
{
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return std::nullopt;
    for (const QString &format : {displayTimeFormat(locale), locale.timeFormat(QLocale::ShortFormat),
                                  QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm")}) {
        const QTime time = locale.toTime(typed, format);
        if (time.isValid())
            return time;
    }
    return std::nullopt;
}

QString dateForDisplay(const QString &stored, const QLocale &locale)
{
    if (!isEightDigits(stored))
        return stored;
    const QDate date = QDate::fromString(stored, QStringLiteral("yyyyMMdd"));
    return date.isValid() ? dateText(date, locale) : QString();
}

QString timeForDisplay(const QString &stored, const QLocale &locale)
{
    if (stored.size() <= 5)
        return stored;
    const QTime time = QTime::fromString(stored.left(6), QStringLiteral("HHmmss"));
    return time.isValid() ? timeText(time, locale) : QString();
}

QString storedDate(const QString &text, const QLocale &locale)
{
    const std::optional<QDate> date = parseDate(text, locale);
    return date ? date->toString(QStringLiteral("yyyyMMdd")) : QString();
}

QString storedTime(const QString &text, const QLocale &locale)
{
    const std::optional<QTime> time = parseTime(text, locale);
    return time ? time->toString(QStringLiteral("HHmmss")) : QString();
}

QString revisionStamp(const QDateTime &instant, const QLocale &locale)
{
    return dateText(instant.date(), locale) + u' ' + timeText(instant.time(), locale);
}

} // namespace zelvarion::editing
