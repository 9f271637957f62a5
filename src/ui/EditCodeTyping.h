#pragma once

#include "core/captioning/CodeReplacements.h"

#include <QHash>
#include <QObject>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace zelvarion {

struct AppSettings;
class EditStatusLine;
class LanguagePack;

// The code replacements of the edit dialog: typing the delimiter, a code and the delimiter again
// in a text box, a keyword or category entry or a customized value replaces them at once by the
// code's first replacement ("=code#2=": its second). An unknown code stays as typed and is named
// in the status line. Only typing that adds text is looked at, never loading nor deleting.
class EditCodeTyping : public QObject
{
    Q_OBJECT
public:
    EditCodeTyping(QObject *parent, EditStatusLine &status, const LanguagePack &pack);

    // The files and delimiter of the edit options; the first problem reading them goes to the
    // status line when it is free.
    void load(const AppSettings &settings);
    void watch(QLineEdit *box);
    void watch(QPlainTextEdit *box);
    // Off while the dialog fills its boxes.
    void setActive(bool active) { m_active = active; }

private:
    // The code the delimiter before the cursor closes, if the text grew; nothing else is touched.
    std::optional<TypedCode> typedCode(QWidget *box, const QString &text, int cursor);
    void replace(QLineEdit *box);
    void replace(QPlainTextEdit *box);
    // The replacement of a known code; an unknown one is named in the status line.
    std::optional<QString> replacementOf(const TypedCode &code);

    EditStatusLine &m_status;
    const LanguagePack &m_pack;
    CodeReplacements m_codes;
    QChar m_delimiter = kDefaultCodeDelimiter;
    QHash<const QWidget *, qsizetype> m_lengths; // each box's text length when last seen
    bool m_active = false;
    bool m_replacing = false;
};

} // namespace zelvarion
