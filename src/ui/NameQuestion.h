#pragma once

#include <QString>
#include <memory>

class QInputDialog;
class QWidget;

namespace zelvarion {

// The dialog that asks for a new name: wide enough for its whole title in the title bar, its
// prompt and the name it starts from, and growing with the window.
std::unique_ptr<QInputDialog> nameDialog(QWidget *parent, const QString &title, const QString &prompt,
                                         const QString &current);

// Runs that dialog; the name typed, or an empty text when it was cancelled.
QString askForName(QWidget *parent, const QString &title, const QString &prompt, const QString &current);

} // namespace zelvarion
