#include "core/captioning/CaptionVariables.h"

#include "core/session/LanguagePack.h"

#include <QDate>
#include <QTime>

namespace zelvarion {
namespace {

using Kind = CaptionPart::Kind;

struct NamedVariable
{
    const char *name;
    Kind kind;
};
constexpr NamedVariable kVariables[] = {
    {"File", Kind::File},         {"FileBase", Kind::FileBase}, {"Folder", Kind::Folder},
    {"FileDate", Kind::FileDate}, {"FileTime", Kind::FileTime}, {"Today", Kind::Today},
    {"Seq", Kind::Seq},           {"Width", Kind::Width},       {"Height", Kind::Height},
};

// A variable written in a problem is cut where a stray brace would make it run on.
constexpr qsizetype kWrittenShown = 40;

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isName(QStringView name)
{
    if (name.isEmpty() || !isAsciiLetter(name.front()))
        return false;
    for (const QChar c : name)
        if (!isAsciiLetter(c) && !isAsciiDigit(c))
            return false;
    return true;
}

qsizetype runLength(QStringView text, qsizetype at)
{
    qsizetype end = at;
    while (end < text.size() && text[end] == text[at])
        ++end;
    return end - at;
}

// Whether a run of one pattern letter is a field this format knows; other letters would be
// written as they are, which is what a misspelt format would silently do.
bool knownRun(QChar letter, qsizetype run, bool date)
{
    if (date) {
        if (letter == u'd' || letter == u'M')
            return run <= 4;
        return letter == u'y' && (run == 2 || run == 4);
    }
    switch (letter.unicode()) {
    case u'h': case u'H': case u'm': case u's': return run <= 2;
    case u'z': return run == 1 || run == 3;
    case u't': case u'a': case u'A': return run == 1;
    default: return false;
    }
}

// A date or time format of the locale's pattern syntax: known letters, quoted text ('' for a
// quote), anything else written as it stands. Empty is not a format.
bool isKnownFormat(QStringView format, bool date)
{
    if (format.isEmpty())
        return false;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        if (c == u'\'') {
            const qsizetype close = format.indexOf(u'\'', i + 1);
            if (close < 0)
                return false;
            i = close + 1;
            continue;
        }
        if (!isAsciiLetter(c)) {
            ++i;
            continue;
        }
        const qsizetype run = runLength(format, i);
        if (!knownRun(c, run, date))
            return false;
        i += run;
        // "ap" and "AP": the marker of the half of the day, as "a" and "A" are.
        if (!date && (c == u'a' || c == u'A') && i < format.size() && (format[i] == u'p' || format[i] == u'P'))
            ++i;
    }
    return true;
}

bool isDigits(const QString &text, qsizetype count)
{
    if (text.size() < count)
        return false;
    for (qsizetype i = 0; i < count; ++i)
        if (!isAsciiDigit(text[i]))
            return false;
    return true;
}

QString fileNameOf(const QString &path) { return path.mid(path.lastIndexOf(u'/') + 1); }

QString folderNameOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash <= 0)
        return {};
    return path.left(slash).mid(path.lastIndexOf(u'/', slash - 1) + 1);
}

QString baseNameOf(const QString &path)
{
    const QString name = fileNameOf(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}

QString dateText(const QDate &date, const QString &format, const QLocale &locale)
{
    if (!date.isValid())
        return {};
    return format.isEmpty() ? date.toString(Qt::ISODate) : locale.toString(date, format);
}

QString timeText(const QTime &time, const QString &format, const QLocale &locale)
{
    if (!time.isValid())
        return {};
    return format.isEmpty() ? time.toString(QStringLiteral("HH:mm:ss")) : locale.toString(time, format);
}

// A column's value; a date stored as yyyymmdd or a time as hhnnss is shown in the format given,
// and a value that is neither stays as stored.
QString columnText(const CaptionPart &part, const CaptionFacts &facts)
{
    const QString value = facts.fields ? facts.fields->values[std::size_t(part.number)] : QString();
    if (part.text.isEmpty() || value.isEmpty())
        return value;
    if (isDateField(part.number)) {
        const QDate date = QDate::fromString(value.left(8), QStringLiteral("yyyyMMdd"));
        return value.size() == 8 && isDigits(value, 8) && date.isValid() ? dateText(date, part.text, facts.locale) : value;
    }
    const QTime time = QTime::fromString(value.left(6), QStringLiteral("HHmmss"));
    return isDigits(value, 6) && time.isValid() ? timeText(time, part.text, facts.locale) : value;
}

QString partText(const CaptionPart &part, const CaptionFacts &facts)
{
    switch (part.kind) {
    case Kind::Text: return part.text;
    case Kind::File: return fileNameOf(facts.path);
    case Kind::FileBase: return baseNameOf(facts.path);
    case Kind::Folder: return folderNameOf(facts.path);
    case Kind::FileDate: return dateText(facts.modified.date(), part.text, facts.locale);
    case Kind::FileTime: return timeText(facts.modified.time(), part.text, facts.locale);
    case Kind::Today: return dateText(facts.now.date(), part.text, facts.locale);
    case Kind::Seq: return QStringLiteral("%1").arg(facts.sequence, part.number, 10, QChar(u'0'));
    case Kind::Width: return facts.size.isValid() ? QString::number(facts.size.width()) : QString();
    case Kind::Height: return facts.size.isValid() ? QString::number(facts.size.height()) : QString();
    case Kind::Column: return columnText(part, facts);
    }
    return {};
}

} // namespace

// Reads a text from left to right, once; it never looks past the text's end.
struct CaptionParser
{
    QStringView text;
    ParsedCaption result;
    QString pending;

    void takePending()
    {
        if (!pending.isEmpty())
            result.text.m_parts.push_back({Kind::Text, pending, 0});
        pending.clear();
    }

    void refuse(VariableProblem::Kind kind, qsizetype at, qsizetype end)
    {
        QString written = text.mid(at, end - at).toString();
        if (written.size() > kWrittenShown)
            written = written.left(kWrittenShown) + QStringLiteral("\u2026");
        result.problem = VariableProblem{kind, at, written};
    }

    // The part of "{name:format}" (inside the braces), or the problem it has.
    std::optional<CaptionPart> variable(QStringView inside, VariableProblem::Kind &problem)
    {
        const qsizetype colon = inside.indexOf(u':');
        const QStringView name = colon < 0 ? inside : inside.left(colon);
        const std::optional<QStringView> format = colon < 0 ? std::nullopt : std::optional(inside.mid(colon + 1));
        problem = VariableProblem::Kind::UnknownVariable;
        if (!isName(name))
            return std::nullopt;
        std::optional<CaptionPart> part;
        for (const NamedVariable &known : kVariables)
            if (name.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0)
                part = CaptionPart{known.kind, {}, 0};
        if (!part) {
            const std::optional<int> column = iptcFieldIndexOfColumn(name);
            if (!column)
                return std::nullopt;
            part = CaptionPart{Kind::Column, {}, *column};
        }
        if (!format)
            return part;
        return withFormat(*part, *format, problem);
    }

    std::optional<CaptionPart> withFormat(CaptionPart part, QStringView format, VariableProblem::Kind &problem)
    {
        const bool dateColumn = part.kind == Kind::Column && isDateField(part.number);
        const bool timeColumn = part.kind == Kind::Column && isTimeField(part.number);
        if (part.kind == Kind::Seq) {
            problem = VariableProblem::Kind::BadDigits;
            if (format.size() != 1 || format[0] < u'1' || format[0] > u'9')
                return std::nullopt;
            part.number = format[0].unicode() - u'0';
            return part;
        }
        const bool date = part.kind == Kind::FileDate || part.kind == Kind::Today || dateColumn;
        const bool time = part.kind == Kind::FileTime || timeColumn;
        problem = date || time ? VariableProblem::Kind::UnknownFormat : VariableProblem::Kind::TakesNoFormat;
        if (!(date || time) || !isKnownFormat(format, date))
            return std::nullopt;
        part.text = format.toString();
        return part;
    }

    // At an opening brace: "{{", or a variable up to its closing brace. The position after it.
    qsizetype openBrace(qsizetype at)
    {
        if (at + 1 < text.size() && text[at + 1] == u'{') {
            pending += u'{';
            return at + 2;
        }
        const qsizetype close = text.indexOf(u'}', at + 1);
        const qsizetype nextOpen = text.indexOf(u'{', at + 1);
        if (close < 0 || (nextOpen >= 0 && nextOpen < close)) {
            refuse(VariableProblem::Kind::UnclosedBrace, at, nextOpen >= 0 ? nextOpen : text.size());
            return text.size();
        }
        VariableProblem::Kind problem{};
        const std::optional<CaptionPart> part = variable(text.mid(at + 1, close - at - 1), problem);
        if (!part) {
            refuse(problem, at, close + 1);
            return text.size();
        }
        takePending();
        result.text.m_parts.push_back(*part);
        return close + 1;
    }

    void run()
    {
        qsizetype i = 0;
        while (i < text.size() && !result.problem) {
            const QChar c = text[i];
            if (c == u'{') {
                i = openBrace(i);
            } else {
                pending += c;
                // "}}" is one brace; a lone one stands for itself.
                i += c == u'}' && i + 1 < text.size() && text[i + 1] == u'}' ? 2 : 1;
            }
        }
        takePending();
    }
};

bool CaptionText::hasVariables() const
{
    for (const CaptionPart &part : m_parts)
        if (part.kind != Kind::Text)
            return true;
    return false;
}

QString CaptionText::expand(const CaptionFacts &facts) const
{
    QString expanded;
    for (const CaptionPart &part : m_parts)
        expanded += partText(part, facts);
    return expanded;
}

QString CaptionText::fixedText() const
{
    QString fixed;
    for (const CaptionPart &part : m_parts)
        if (part.kind == Kind::Text)
            fixed += part.text;
    return fixed;
}

ParsedCaption parseCaptionText(QStringView text)
{
    CaptionParser parser{text, {}, {}};
    parser.run();
    if (parser.result.problem)
        parser.result.text = CaptionText{};
    return parser.result;
}

QStringList captionVariableNames()
{
    QStringList names;
    for (const NamedVariable &known : kVariables)
        names << QLatin1String(known.name);
    return names;
}

QString packMessage(Message key, const LanguagePack *pack)
{
    static const LanguagePack english = [] {
        LanguagePack shipped;
        shipped.loadShippedEnglish();
        return shipped;
    }();
    return (pack ? *pack : english).message(key);
}

QString variableProblemText(const VariableProblem &problem, const LanguagePack *pack)
{
    const Message messages[] = {Message::VariableNotClosed, Message::VariableUnknown, Message::VariableFormatUnknown,
                                Message::VariableTakesNoFormat, Message::VariableDigits};
    return packMessage(messages[int(problem.kind)], pack).replace(u'#', problem.written);
}

} // namespace zelvarion
