#include "core/captioning/CodeReplacements.h"

#include "core/captioning/CaptionVariables.h"
#include "core/session/LanguagePack.h"
#include "platform/TextFile.h"

namespace zelvarion {
namespace {

bool holdsBlank(QStringView text)
{
    for (const QChar c : text)
        if (c.isSpace())
            return true;
    return false;
}

// "#", "%" and "$" of a message filled in one pass, so a file name holding one stays as it is.
QString filled(const QString &message, const QString &hash, const QString &percent = {}, const QString &dollar = {})
{
    QString text;
    for (const QChar c : message)
        text += c == u'#' ? hash : c == u'%' ? percent : c == u'$' ? dollar : QString(c);
    return text;
}

} // namespace

CodeReplacements CodeReplacements::load(const QStringList &files, std::vector<CodeFileProblem> &problems)
{
    CodeReplacements codes;
    for (const QString &file : files) {
        const std::optional<QString> text = readTextFile(file);
        if (!text) {
            problems.push_back({CodeFileProblem::Kind::Unreadable, file});
            continue;
        }
        codes.parse(*text, file, problems);
    }
    return codes;
}

void CodeReplacements::parse(QStringView text, const QString &file, std::vector<CodeFileProblem> &problems)
{
    if (text.startsWith(u'\uFEFF'))
        text = text.mid(1);
    int number = 0;
    for (QStringView line : text.split(u'\n')) {
        ++number;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        const QStringView code = tab < 0 ? line : line.left(tab);
        if (tab < 0 || code.isEmpty() || holdsBlank(code) || code.contains(u'#')) {
            problems.push_back({CodeFileProblem::Kind::Malformed, file, number});
            continue;
        }
        const auto known = m_codes.constFind(code.toString());
        if (known != m_codes.constEnd()) {
            problems.push_back({CodeFileProblem::Kind::Twice, file, number, code.toString(), known->file});
            continue;
        }
        QStringList replacements;
        for (const QStringView piece : line.mid(tab + 1).split(u'\t'))
            replacements << piece.toString();
        m_codes.insert(code.toString(), {replacements, file});
    }
}

std::optional<QString> CodeReplacements::replacement(QStringView typed) const
{
    qsizetype choice = 1;
    const qsizetype hash = typed.lastIndexOf(u'#');
    if (hash >= 0) {
        bool number = false;
        choice = typed.mid(hash + 1).toInt(&number);
        if (!number || typed.mid(hash + 1).startsWith(u'+') || choice < 1)
            return std::nullopt;
        typed = typed.left(hash);
    }
    const auto known = m_codes.constFind(typed.toString());
    if (known == m_codes.constEnd() || choice > known->replacements.size())
        return std::nullopt;
    return known->replacements[choice - 1];
}

bool looksLikeCode(QStringView typed) { return !typed.isEmpty() && !holdsBlank(typed); }

CodesExpanded expandCodes(QStringView text, QChar delimiter, const CodeReplacements &codes)
{
    CodesExpanded expanded;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(delimiter, i);
        const qsizetype close = open < 0 ? -1 : text.indexOf(delimiter, open + 1);
        if (close < 0) {
            expanded.text += text.mid(i);
            break;
        }
        expanded.text += text.mid(i, open - i);
        const QStringView typed = text.mid(open + 1, close - open - 1);
        if (!looksLikeCode(typed)) { // "a = b = c": the closing delimiter may open a code
            expanded.text += text.mid(open, close - open);
            i = close;
            continue;
        }
        if (const std::optional<QString> replacement = codes.replacement(typed)) {
            expanded.text += *replacement;
            i = close + 1;
            continue;
        }
        expanded.unknown << text.mid(open, close - open + 1).toString();
        expanded.text += text.mid(open, close - open);
        i = close;
    }
    return expanded;
}

std::optional<TypedCode> codeEndingAt(QStringView text, qsizetype cursor, QChar delimiter)
{
    if (cursor < 2 || cursor > text.size() || text[cursor - 1] != delimiter)
        return std::nullopt;
    const qsizetype open = text.lastIndexOf(delimiter, cursor - 2);
    if (open < 0)
        return std::nullopt;
    const QStringView typed = text.mid(open + 1, cursor - open - 2);
    if (!looksLikeCode(typed))
        return std::nullopt;
    return TypedCode{open, cursor, typed.toString()};
}

std::optional<QChar> codeDelimiterFrom(const QString &text)
{
    if (text.size() != 1)
        return std::nullopt;
    const QChar c = text[0];
    if (c.isLetterOrNumber() || c.isSpace() || c == u'#' || c.isSurrogate() || c.category() == QChar::Other_Control)
        return std::nullopt;
    return c;
}

QString codeFileProblemText(const CodeFileProblem &problem, const LanguagePack *pack)
{
    switch (problem.kind) {
    case CodeFileProblem::Kind::Unreadable:
        return filled(packMessage(Message::CodeFileUnreadable, pack), problem.file);
    case CodeFileProblem::Kind::Malformed:
        return filled(packMessage(Message::CodeLineMalformed, pack), problem.file, QString::number(problem.line));
    case CodeFileProblem::Kind::Twice:
        return filled(packMessage(Message::CodeGivenTwice, pack), problem.code, problem.earlierFile,
                      problem.file + u':' + QString::number(problem.line));
    }
    return {};
}

QString unknownCodeText(const QString &typed, const LanguagePack *pack)
{
    return filled(packMessage(Message::CodeUnknown, pack), typed);
}

} // namespace zelvarion
