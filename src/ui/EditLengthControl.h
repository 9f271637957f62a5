#pragma once

#include "core/iptc/IptcText.h"

#include <QObject>
#include <functional>

namespace zelvarion {

struct AppContext;
class EditCustomizedRows;
class EditFieldRows;
class EditListPanel;
class EditStatusLine;

// The edit dialog's length control: while ControlLengthFields is on, a text longer than its field
// takes locks every other control until it is shortened, the status line naming the field and
// the excess. A customized number refused locks the same way. Lengths are counted in the bytes
// the file will hold.
class EditLengthControl : public QObject
{
    Q_OBJECT
public:
    struct Panels
    {
        EditFieldRows &fields;
        EditListPanel &keywords;
        EditListPanel &categories;
        EditCustomizedRows &customized;
        EditStatusLine &status;
    };

    // charset: how the values on show would be written. In a template (templateTexts), a text is
    // measured without its variables, which give each image more when the template is applied.
    EditLengthControl(QObject *parent, const AppContext &context, Panels panels,
                      std::function<iptctext::Charset()> charset, bool templateTexts);

    // The text a field's limit is checked against.
    QString measuredText(const QString &text) const;
    // A field's box or a list's entry box changed.
    void checkField(int index, const QString &text);
    void checkEntry(EditListPanel &list);

    // Every control but the one to correct (a field or a customized row; -1 for neither).
    void lockAllBut(int field, int customizedRow);
    void unlockAll();
    bool locked() const { return m_locked; }

Q_SIGNALS:
    // OK, Previous and Next follow.
    void lockChanged();

private:
    const AppContext &m_context;
    Panels m_panels;
    std::function<iptctext::Charset()> m_charset;
    bool m_templateTexts;
    bool m_locked = false;
};

} // namespace zelvarion
