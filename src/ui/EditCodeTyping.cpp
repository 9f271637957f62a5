#include "ui/EditCodeTyping.h"

#include "core/session/AppSettings.h"
#include "core/session/LanguagePack.h"
#include "ui/EditStatusLine.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace zelvarion {

EditCodeTyping::EditCodeTyping(QObject *parent, EditStatusLine &status, const LanguagePack &pack)
    : QObject(parent), m_status(status), m_pack(pack)
{
}

void EditCodeTyping::load(const AppSettings &settings)
{
    m_delimiter = codeDelimiterFrom(settings.codeDelimiter).value_or(kDefaultCodeDelimiter);
    std::vector<CodeFileProblem> problems;
    m_codes = CodeReplacements::load(codeFileList(settings.codeFiles), problems);
    if (!problems.empty() && m_status.isEmpty())
        m_status.show(codeFileProblemText(problems.front(), &m_pack));
}

void EditCodeTyping::watch(QLineEdit *box)
{
    connect(box, &QLineEdit::textChanged, this, [this, box] { replace(box); });
}

void EditCodeTyping::watch(QPlainTextEdit *box)
{
    connect(box, &QPlainTextEdit::textChanged, this, [this, box] { replace(box); });
}

std::optional<TypedCode> EditCodeTyping::typedCode(QWidget *box, const QString &text, int cursor)
{
    const qsizetype before = m_lengths.value(box, 0);
    m_lengths.insert(box, text.size());
    if (!m_active || m_replacing || m_codes.isEmpty() || text.size() <= before)
        return std::nullopt;
    return codeEndingAt(text, cursor, m_delimiter);
}

std::optional<QString> EditCodeTyping::replacementOf(const TypedCode &code)
{
    std::optional<QString> replacement = m_codes.replacement(code.typed);
    if (!replacement)
        m_status.show(unknownCodeText(m_delimiter + code.typed + m_delimiter, &m_pack));
    return replacement;
}

// Through the box's own editing, so Undo gives the code back.
void EditCodeTyping::replace(QLineEdit *box)
{
    const std::optional<TypedCode> code = typedCode(box, box->text(), box->cursorPosition());
    const std::optional<QString> replacement = code ? replacementOf(*code) : std::nullopt;
    if (!replacement)
        return;
    m_replacing = true;
    box->setSelection(int(code->start), int(code->end - code->start));
    box->insert(*replacement);
    m_replacing = false;
    m_lengths.insert(box, box->text().size());
}

void EditCodeTyping::replace(QPlainTextEdit *box)
{
    const QString text = box->toPlainText();
    const std::optional<TypedCode> code = typedCode(box, text, box->textCursor().position());
    const std::optional<QString> replacement = code ? replacementOf(*code) : std::nullopt;
    if (!replacement)
        return;
    m_replacing = true;
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(int(code->start));
    cursor.setPosition(int(code->end), QTextCursor::KeepAnchor);
    cursor.insertText(*replacement);
    box->setTextCursor(cursor);
    m_replacing = false;
    m_lengths.insert(box, box->toPlainText().size());
}

} // namespace zelvarion
