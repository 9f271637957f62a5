#include "ui/NameQuestion.h"

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLayout>
#include <algorithm>

namespace zelvarion {
namespace {

constexpr int kNarrowest = 420;
constexpr int kTitleBarButtons = 140; // the window's icon and its buttons beside the title
constexpr int kBoxPadding = 60;       // the margins of the dialog and of the box around the name

// The title bar draws its title in a bold font at least as large as the dialog's.
int titleWidth(const QString &title)
{
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    bold.setPointSizeF(std::max(bold.pointSizeF(), QApplication::font().pointSizeF()));
    return QFontMetrics(bold).horizontalAdvance(title) + kTitleBarButtons;
}

} // namespace

std::unique_ptr<QInputDialog> nameDialog(QWidget *parent, const QString &title, const QString &prompt,
                                         const QString &current)
{
    auto dialog = std::make_unique<QInputDialog>(parent);
    dialog->setObjectName(QStringLiteral("dlgName"));
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setWindowTitle(title);
    dialog->setLabelText(prompt);
    dialog->setTextValue(current);
    const QFontMetrics metrics(dialog->font());
    const int name = metrics.horizontalAdvance(current) + kBoxPadding;
    int longestLine = 0;
    for (const QString &line : prompt.split(u'\n'))
        longestLine = std::max(longestLine, metrics.horizontalAdvance(line));
    // The dialog's own layout would hold it at its size hint; it may grow beyond it instead.
    if (QLayout *layout = dialog->layout())
        layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    const int width = std::max({kNarrowest, titleWidth(title), name, longestLine + kBoxPadding});
    dialog->setMinimumWidth(width);
    dialog->resize(width, dialog->sizeHint().height());
    dialog->setSizeGripEnabled(true);
    return dialog;
}

QString askForName(QWidget *parent, const QString &title, const QString &prompt, const QString &current)
{
    const std::unique_ptr<QInputDialog> dialog = nameDialog(parent, title, prompt, current);
    return dialog->exec() == QDialog::Accepted ? dialog->textValue() : QString();
}

} // namespace zelvarion
