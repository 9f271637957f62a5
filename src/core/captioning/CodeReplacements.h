#pragma once

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

namespace zelvarion {

class LanguagePack;

// What loading code files met. A code given twice keeps its first replacements.
struct CodeFileProblem
{
    enum class Kind { Unreadable, Malformed, Twice };
    Kind kind;
    QString file;
    int line = 0;        // Malformed and Twice: the line, from 1
    QString code;        // Twice
    QString earlierFile; // Twice: where the code was first given
};

// Codes a captioner types instead of long texts: "=cc8=" becomes the first replacement of cc8,
// "=cc8#2=" its second. Read from UTF-8 text files of lines "CODE<TAB>replacement[<TAB>...]";
// blank lines and lines starting with "#" are skipped. A code holds no blank and no "#", and
// compares with its letter case.
class CodeReplacements
{
public:
    // The files in order; problems are added to `problems`.
    static CodeReplacements load(const QStringList &files, std::vector<CodeFileProblem> &problems);
    // The lines of one file's text (`file` names it in problems).
    void parse(QStringView text, const QString &file, std::vector<CodeFileProblem> &problems);

    bool isEmpty() const { return m_codes.isEmpty(); }
    // "cc8" or "cc8#2": the replacement; nothing for an unknown code or a replacement it lacks.
    std::optional<QString> replacement(QStringView typed) const;

private:
    struct Entry
    {
        QStringList replacements;
        QString file;
    };
    QHash<QString, Entry> m_codes;
};

// Whether a text between two delimiters has the form of a code (with its "#N"): not empty, no blank.
bool looksLikeCode(QStringView typed);

// The text with every known code replaced; the codes not known stay as typed and are listed
// with their delimiters ("=cc9="), in order.
struct CodesExpanded
{
    QString text;
    QStringList unknown;
};
CodesExpanded expandCodes(QStringView text, QChar delimiter, const CodeReplacements &codes);

// The code the text's delimiter just before `cursor` closes: from its opening delimiter (start)
// to the cursor (end). What the edit dialog replaces as it is typed.
struct TypedCode
{
    qsizetype start;
    qsizetype end;
    QString typed; // between the delimiters, "#N" included
};
std::optional<TypedCode> codeEndingAt(QStringView text, qsizetype cursor, QChar delimiter);

// The delimiter a setting or an option names: one character, neither a letter, digit, blank nor
// "#"; nothing for anything else.
std::optional<QChar> codeDelimiterFrom(const QString &text);
inline constexpr QChar kDefaultCodeDelimiter = u'=';

// The problem in the pack's words (English without a pack).
QString codeFileProblemText(const CodeFileProblem &problem, const LanguagePack *pack);
// "Unknown code: =cc9=" in the pack's words.
QString unknownCodeText(const QString &typed, const LanguagePack *pack);

} // namespace zelvarion
