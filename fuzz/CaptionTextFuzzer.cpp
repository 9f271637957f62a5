// One input, read as UTF-8 text, goes through the parsers of text a captioner types: the
// variables of a template value and the lines of a code file, with the codes expanded in it and
// looked for at every cursor position as the edit dialog does while typing.
#include "core/captioning/CaptionVariables.h"
#include "core/captioning/CodeReplacements.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace zelvarion;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QString doubledBraces(QString text)
{
    return text.replace(u'{', QStringLiteral("{{")).replace(u'}', QStringLiteral("}}"));
}

// Every variable expands without reading outside its facts; a refused text names the brace that
// opens the variable it refuses.
void checkVariables(const QString &text)
{
    const ParsedCaption parsed = parseCaptionText(text);
    if (parsed.problem) {
        check(parsed.problem->position >= 0 && parsed.problem->position < text.size());
        check(text[parsed.problem->position] == u'{');
        check(parsed.text.parts().empty());
        return;
    }
    IptcFieldSet fields;
    for (IptcField field : kIptcFields)
        fields.values[std::size_t(field.index)] = text.left(field.index * 3);
    fields.values[std::size_t(iptcIndex("CreatedDate"))] = QStringLiteral("20240229");
    const CaptionFacts facts{QStringLiteral("/photos/") + text.left(12) + QStringLiteral(".jpg"),
                           QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)), QDateTime(QDate(2025, 1, 1), QTime(0, 0)),
                           1234, QSize(640, 480), &fields, QLocale(QLocale::French)};
    const QString expanded = parsed.text.expand(facts);
    if (!parsed.text.hasVariables())
        check(expanded == parsed.text.fixedText());
    // The fixed text with its braces doubled reads back as itself, without variables.
    const ParsedCaption escaped = parseCaptionText(doubledBraces(parsed.text.fixedText()));
    check(!escaped.problem && !escaped.text.hasVariables() && escaped.text.fixedText() == parsed.text.fixedText());
}

void checkCodes(const QString &text)
{
    std::vector<CodeFileProblem> problems;
    CodeReplacements codes;
    codes.parse(text, QStringLiteral("codes.txt"), problems);
    for (const CodeFileProblem &problem : problems)
        check(problem.line >= 1);
    const CodeReplacements none;
    check(expandCodes(text, u'=', none).text == text);
    const CodesExpanded expanded = expandCodes(text, u'=', codes);
    for (const QString &unknown : expanded.unknown)
        check(unknown.size() >= 3 && unknown.startsWith(u'=') && unknown.endsWith(u'=') && text.contains(unknown));
    for (qsizetype cursor = 0; cursor <= text.size() && cursor < 256; ++cursor) {
        if (const std::optional<TypedCode> typed = codeEndingAt(text, cursor, u'=')) {
            check(typed->start >= 0 && typed->start + 2 <= typed->end && typed->end == cursor);
            check(text[typed->start] == u'=' && text[typed->end - 1] == u'=');
            (void)codes.replacement(typed->typed);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 4096) // a template value or a code file, not a book
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    checkVariables(text);
    checkCodes(text);
    return 0;
}
