#pragma once

#include <QLocale>
#include <QString>

namespace zelvarion {

// The names of the size units, from the language pack.
struct SizeUnits
{
    QString bytes;
    QString kilobytes;
    QString megabytes;
    QString gigabytes;
};

// "1.50 KB (1,536 bytes)": the size in the largest fitting unit with two, one or no decimals,
// and the exact byte count in brackets; below 1024 bytes only the byte count. Digit grouping and
// the decimal separator follow the locale.
QString formatFileSize(qint64 bytes, const SizeUnits &units, const QLocale &locale = QLocale());

} // namespace zelvarion
