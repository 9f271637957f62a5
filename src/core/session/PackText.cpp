#include "core/session/PackText.h"

#include <QFileInfo>

#include <algorithm>

namespace zelvarion {
namespace {

bool takesFirstForm(const LanguagePack &pack, long long count)
{
    const QStringList oneCounts = pack.message(Message::PluralOneCounts).split(u' ', Qt::SkipEmptyParts);
    return oneCounts.contains(QString::number(count));
}

QString formFor(const LanguagePack &pack, const QString &forms, long long count)
{
    const qsizetype bar = forms.indexOf(u'|');
    if (bar < 0)
        return forms;
    return takesFirstForm(pack, count) ? forms.left(bar) : forms.mid(bar + 1);
}

using Counts = std::initializer_list<std::pair<QChar, long long>>;

const std::pair<QChar, long long> *countOf(Counts counts, QChar placeholder)
{
    const auto found = std::find_if(counts.begin(), counts.end(),
                                    [placeholder](const auto &entry) { return entry.first == placeholder; });
    return found == counts.end() ? nullptr : found;
}

// The groups chosen; the placeholders still in place.
QString withFormsChosen(const LanguagePack &pack, const QString &text, Counts counts)
{
    QString result;
    long long current = counts.size() > 0 ? counts.begin()->second : 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (const auto *count = countOf(counts, c))
            current = count->second;
        const qsizetype close = c == u'{' ? text.indexOf(u'}', at) : -1;
        if (close < 0) {
            result += c;
            continue;
        }
        result += formFor(pack, text.mid(at + 1, close - at - 1), current);
        at = close;
    }
    return result;
}

} // namespace

QString counted(const LanguagePack &pack, Message key, long long count)
{
    return formFor(pack, pack.message(key), count).replace(u'#', QString::number(count));
}

QString countedText(const LanguagePack &pack, const QString &text, Counts counts)
{
    // One pass over the chosen text, so a number is never read again as a placeholder.
    QString result;
    for (const QChar c : withFormsChosen(pack, text, counts)) {
        const auto *count = countOf(counts, c);
        result += count ? QString::number(count->second) : QString(c);
    }
    return result;
}

QString withColon(const LanguagePack &pack, const QString &label)
{
    const QString colon = pack.text(InterfaceText::LabelColon);
    if (!colon.contains(u'#'))
        return label + QStringLiteral(": ");
    return QString(colon).replace(u'#', label) + u' ';
}

QLocale packLocale(const LanguagePack &pack)
{
    // A user whose system speaks the pack's language keeps the conventions of their country
    // (a Belgian French, a British English).
    const QLocale system = QLocale::system();
    const auto preferringSystem = [&system](const QLocale &locale) {
        return system.language() == locale.language() ? system : locale;
    };
    const QString named = pack.text(InterfaceText::PackLocale);
    if (!named.isEmpty() && QLocale(named).language() != QLocale::C)
        return preferringSystem(QLocale(named));
    const QString fileLanguage = QFileInfo(pack.filePath()).completeBaseName();
    for (int language = QLocale::C + 1; language <= QLocale::LastLanguage; ++language) {
        const auto value = QLocale::Language(language);
        if (QLocale::languageToString(value).compare(fileLanguage, Qt::CaseInsensitive) == 0
            || QLocale(value).nativeLanguageName().compare(fileLanguage, Qt::CaseInsensitive) == 0)
            return preferringSystem(QLocale(value));
    }
    return system;
}

} // namespace zelvarion
