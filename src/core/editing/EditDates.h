#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>
#include <optional>

// Dates and times between their stored forms ("yyyymmdd", "hhnnss") and the user's formats.
// The short date format is shown with a four-digit year, so a date read back is the date shown;
// the time format is shown with seconds, so a stored time survives the dialog.
namespace zelvarion::editing {

// The locale's short date format with the year widened to four digits ("M/d/yy" -> "M/d/yyyy").
QString displayDateFormat(const QLocale &locale);
// The locale's short time format with seconds ("HH:mm" -> "HH:mm:ss").
QString displayTimeFormat(const QLocale &locale);

// The display forms as a user reads them: "dd/MM/yyyy" with the letters of day, month and year
// given ("dmy", "jma" in French) becomes "dd/mm/yyyy" or "jj/mm/aaaa"; a time "hh:mm:ss".
QString shownDateForm(const QLocale &locale, const QString &dayMonthYearLetters);
QString shownTimeForm(const QLocale &locale);

QString dateText(const QDate &date, const QLocale &locale);
QString timeText(const QTime &time, const QLocale &locale);

// A typed date: the display format, the locale's short format (two-digit years from 2000 to
// 2049, else 1950 to 1999) or eight digits yyyymmdd.
std::optional<QDate> parseDate(const QString &text, const QLocale &locale);
// A typed time: with or without seconds, in the locale's form or 24-hour "HH:mm[:ss]".
std::optional<QTime> parseTime(const QString &text, const QLocale &locale);

// Loading: eight digits shown as a date (an invalid date shows empty); other texts as they are.
QString dateForDisplay(const QString &stored, const QLocale &locale);
// Loading: a value longer than five characters shown from its first six as hours, minutes and
// seconds (an invalid time shows empty); shorter values as they are.
QString timeForDisplay(const QString &stored, const QLocale &locale);

// Saving: "yyyymmdd" / "hhnnss" when the text parses, else empty.
QString storedDate(const QString &text, const QLocale &locale);
QString storedTime(const QString &text, const QLocale &locale);

// LastRevisionDate of a template: the date, a blank, the time, in the user's formats.
QString revisionStamp(const QDateTime &instant, const QLocale &locale);

} // namespace zelvarion::editing
