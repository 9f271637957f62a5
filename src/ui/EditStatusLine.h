#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace zelvarion {

// The edit dialog's status line (lblStatus): the rules' messages in red under the frames.
class EditStatusLine
{
public:
    explicit EditStatusLine(QWidget *dialog);

    void show(const QString &text);
    void clear();
    // Typing clears a message only once the dialog is on screen: what loading found stays.
    void clearWhenShown();
    bool isEmpty() const;
    // A refusal: a beep and its message.
    void refuse(const QString &text);

private:
    QLabel *m_label;
};

} // namespace zelvarion
