#include "core/search/FileSizeText.h"

namespace zelvarion {
namespace {

// Decimals shown for a value whose whole part has this many digits: 0.00, 0.0, then 0.
int decimalsFor(qint64 wholeUnits)
{
    if (wholeUnits <= 9)
        return 2;
    if (wholeUnits <= 99)
        return 1;
    return 0;
}

} // namespace

QString formatFileSize(qint64 bytes, const SizeUnits &units, const QLocale &locale)
{
    const QString exact = locale.toString(bytes) + u' ' + units.bytes;
    if (bytes < 1024)
        return exact;
    const qint64 k = bytes / 1024;
    double value;
    QString unit;
    qint64 whole;
    if (k <= 999) {
        value = double(bytes) / 1024.0;
        unit = units.kilobytes;
        whole = k;
    } else if (k <= 999999) {
        value = double(bytes) / 1048576.0;
        unit = units.megabytes;
        whole = k / 1000; // 1000..9999 KB reads 0.00 MB, as the unit boundaries are decimal
    } else {
        value = double(bytes) / 1073741824.0;
        unit = units.gigabytes;
        whole = 0;
    }
    return locale.toString(value, 'f', decimalsFor(whole)) + u' ' + unit + QStringLiteral(" (") + exact + u')';
}

} // namespace zelvarion
