#include "core/catalogue/SqlText.h"

namespace zelvarion {

QString doubledApostrophes(const QString &text)
{
    QString doubled = text;
    return doubled.replace(u'\'', QStringLiteral("''"));
}

QString sqlText(const QString &text)
{
    return u'\'' + doubledApostrophes(text) + u'\'';
}

} // namespace zelvarion
