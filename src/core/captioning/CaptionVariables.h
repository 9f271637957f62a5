#pragma once

#include "core/iptc/IptcField.h"

#include <QDateTime>
#include <QLocale>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

namespace zelvarion {

// The facts of one image that the variables of a text name: "{FileBase}", "{Seq:3}", "{City}"...
struct CaptionFacts
{
    QString path;             // folder and file name
    QDateTime modified;       // the file's modification time
    QDateTime now;            // {Today}: the run's start, the same for every image
    int sequence = 1;         // the image's rank in the run, from 1
    QSize size;               // the picture as coded in the file; invalid when unknown
    const IptcFieldSet *fields = nullptr; // the image's values before the run; none: all empty
    QLocale locale = QLocale::c(); // month and day names of a date format
};

// Why a text's variables cannot be expanded. A text holding one is refused when it is saved, so a
// variable is never written literally by surprise.
struct VariableProblem
{
    enum class Kind {
        UnclosedBrace,   // "{" without its "}" (a brace itself is written "{{")
        UnknownVariable, // a name that is neither a variable nor a column
        UnknownFormat,   // a date or time format holding a letter it does not know, or empty
        TakesNoFormat,   // "{File:x}": only dates, times and Seq take one
        BadDigits,       // "{Seq:N}" with N other than 1 to 9
    };
    Kind kind;
    qsizetype position = 0; // of the opening brace
    QString written;        // the variable as written, braces included
};

// One piece of a parsed text: text as it stands, or a variable with its format.
struct CaptionPart
{
    enum class Kind { Text, File, FileBase, Folder, FileDate, FileTime, Today, Seq, Width, Height, Column };
    Kind kind = Kind::Text;
    QString text;   // Text: the text; dates and times: the format (empty: the stored or ISO form)
    int number = 0; // Seq: the digits (0: none); Column: the field's catalogue index
};

// A text parsed once into its parts, expanded for each image. "{{" and "}}" stand for braces; a
// lone "}" stands for itself. A text without braces is one part that expands to itself.
class CaptionText
{
public:
    bool hasVariables() const;
    QString expand(const CaptionFacts &facts) const;
    // What every image gets whatever its facts: the text with its variables left out.
    QString fixedText() const;
    const std::vector<CaptionPart> &parts() const { return m_parts; }

private:
    friend struct CaptionParser;
    std::vector<CaptionPart> m_parts;
};

struct ParsedCaption
{
    CaptionText text;
    std::optional<VariableProblem> problem; // the first one; the text is then not to be used
};
ParsedCaption parseCaptionText(QStringView text);

// The names of the variables other than the columns, in the order the guide lists them.
QStringList captionVariableNames();

class LanguagePack;
enum class Message : int;
// The problem in the pack's words (English without a pack).
QString variableProblemText(const VariableProblem &problem, const LanguagePack *pack);
// A message of the pack, or of the shipped English pack without one.
QString packMessage(Message key, const LanguagePack *pack);

} // namespace zelvarion
