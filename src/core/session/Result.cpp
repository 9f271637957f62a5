#include "core/session/Result.h"

#include "core/session/LanguagePack.h"

namespace zelvarion {

QString fillPlaceholders(const QString &text, const QStringList &arguments)
{
    static constexpr char16_t kPlaceholders[] = {u'#', u'%', u'$'};
    QString filled;
    filled.reserve(text.size());
    for (const QChar c : text) {
        qsizetype index = -1;
        for (qsizetype i = 0; i < 3; ++i)
            index = c == QChar(kPlaceholders[i]) ? i : index;
        if (index >= 0 && index < arguments.size())
            filled += arguments[index];
        else
            filled += c;
    }
    return filled;
}

QString messageText(const LanguagePack *pack, Message key, const QStringList &arguments)
{
    return fillPlaceholders((pack ? *pack : shippedEnglishPack()).message(key), arguments);
}

QString describe(const Failure &failure, const LanguagePack &pack)
{
    QString text = fillPlaceholders(withLineBreaks(pack.message(failure.message)), failure.arguments);
    if (!failure.detail.isEmpty())
        text += u'\n' + failure.detail;
    return text;
}

} // namespace zelvarion
