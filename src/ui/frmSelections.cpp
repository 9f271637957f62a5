#include "ui/frmSelections.h"

#include "core/catalogue/CatalogueCommand.h"
#include "core/search/Selections.h"
#include "core/session/Feedback.h"
#include "ui/AppContext.h"
#include "ui/BusyPointer.h"
#include "ui/Controls.h"
#include "core/session/Twips.h"

#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace zelvarion {
using namespace controls;

namespace {

constexpr int kCountColumnTwips = 800;

// The buttons stay disabled while a command uses the catalogue, enabled again however it ends.
class ButtonsDisabled
{
public:
    explicit ButtonsDisabled(std::function<void(bool)> setEnabled) : m_setEnabled(std::move(setEnabled))
    {
        m_setEnabled(false);
    }
    ~ButtonsDisabled() { m_setEnabled(true); }
    ButtonsDisabled(const ButtonsDisabled &) = delete;
    ButtonsDisabled &operator=(const ButtonsDisabled &) = delete;

private:
    std::function<void(bool)> m_setEnabled;
};

} // namespace

frmSelections::frmSelections(AppContext &context, Feedback &feedback, MarkedImagesLister listMarkedImages,
                             QWidget *owner)
    : QDialog(owner), m_context(context), m_feedback(feedback), m_listMarkedImages(std::move(listMarkedImages))
{
    setObjectName(QStringLiteral("frmSelections"));
    setModal(false);
    m_askName = [this](const QString &prompt, const QString &title, const QString &current) {
        return QInputDialog::getText(this, title, prompt, QLineEdit::Normal, current);
    };
    createControls();
    applyTexts();
    fitButtonsToCaptions();
    for (QPushButton *button : {cmdCurrentSelection, cmdSaveSelection, cmdRemoveSelection, cmdRenameSelection,
                                cmdDisplaySelection, cmdCancel})
        roundCorners(button);
    readList();
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

void frmSelections::createControls()
{
    setFixedSize(480, 330);
    lblSaveSelection = named(new QLabel(this), QStringLiteral("lblSaveSelection"));
    lblSaveSelection->setGeometry(12, 10, 280, 20);
    txtSaveSelection = named(new QLineEdit(this), QStringLiteral("txtSaveSelection"));
    txtSaveSelection->setGeometry(12, 32, 270, 26);
    lvSelections = named(new QTreeWidget(this), QStringLiteral("lvSelections"));
    lvSelections->setGeometry(12, 70, 270, 200);
    lvSelections->setRootIsDecorated(false);
    lvSelections->setColumnCount(2);
    lvSelections->header()->setStretchLastSection(false);
    lvSelections->setColumnWidth(1, pixels(kCountColumnTwips));
    lvSelections->setColumnWidth(0, lvSelections->width() - pixels(kCountColumnTwips) - pixels(50));
    lblNbCurrentSelection = named(new QLabel(this), QStringLiteral("lblNbCurrentSelection"));
    lblNbCurrentSelection->setGeometry(12, 276, 270, 20);
    lblNbCurrentSelection->hide();
    lblError = named(new QLabel(this), QStringLiteral("lblError"));
    lblError->setGeometry(12, 300, 456, 20);
    lblError->setStyleSheet(textColourStyle(kStatusRed));

    auto button = [this](const char *name, int top, void (frmSelections::*command)()) {
        auto *b = named(new QPushButton(this), QLatin1String(name));
        b->setGeometry(294, top, 174, 30);
        connect(b, &QPushButton::clicked, this, command);
        return b;
    };
    cmdSaveSelection = button("cmdSaveSelection", 30, &frmSelections::saveSelection);
    cmdCurrentSelection = button("cmdCurrentSelection", 70, &frmSelections::showCurrentSelection);
    cmdDisplaySelection = button("cmdDisplaySelection", 106, &frmSelections::displaySelection);
    cmdRenameSelection = button("cmdRenameSelection", 142, &frmSelections::renameSelection);
    cmdRemoveSelection = button("cmdRemoveSelection", 178, &frmSelections::removeSelection);
    cmdCancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(294, 240, 174, 30);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(lvSelections, &QTreeWidget::itemDoubleClicked, this, &frmSelections::displaySelection);
}

void frmSelections::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    setWindowTitle(withoutAccelerator(pack.text(InterfaceText::SelectionsMenuItem)));
    lblSaveSelection->setText(pack.text(InterfaceText::SaveSelectionLabel));
    lvSelections->setHeaderLabels({pack.text(InterfaceText::SelectionNameHeader),
                                   pack.text(InterfaceText::SelectionImagesHeader)});
    cmdCurrentSelection->setText(pack.text(InterfaceText::DisplayMarkedMenuItem));
    cmdSaveSelection->setText(pack.text(InterfaceText::SaveButton));
    cmdRemoveSelection->setText(pack.text(InterfaceText::DeleteMenuItem));
    cmdRenameSelection->setText(pack.text(InterfaceText::RenameMenuItem));
    cmdDisplaySelection->setText(pack.text(InterfaceText::DisplaySelectionButton));
    cmdCancel->setText(pack.text(InterfaceText::CloseButton));
}

// The buttons' column as wide as its longest caption (a language may need more than English),
// the window growing with it.
void frmSelections::fitButtonsToCaptions()
{
    constexpr int kEnds = 12; // room for the rounded ends
    const QList<QPushButton *> buttons = {cmdSaveSelection, cmdCurrentSelection, cmdDisplaySelection,
                                          cmdRenameSelection, cmdRemoveSelection, cmdCancel};
    int width = 174;
    for (QPushButton *button : buttons)
        width = std::max(width, button->sizeHint().width() + kEnds);
    for (QPushButton *button : buttons)
        button->setGeometry(button->x(), button->y(), width, button->height());
    setFixedSize(cmdCancel->x() + width + 12, height());
    lblError->setGeometry(lblError->x(), lblError->y(), this->width() - 2 * lblError->x(), lblError->height());
}

void frmSelections::readList()
{
    const CatalogueCommand command{m_context.catalogue, m_feedback, m_context.language};
    for (const SavedSelection &selection : readSavedSelections(command))
        addEntry(selection.name, selection.count);
    if (lvSelections->topLevelItemCount() > 0)
        lvSelections->setCurrentItem(lvSelections->topLevelItem(0));
}

void frmSelections::addEntry(const QString &name, const QString &count)
{
    auto *item = new QTreeWidgetItem(lvSelections, {name, count});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
}

QStringList frmSelections::listedNames() const
{
    QStringList names;
    for (int i = 0; i < lvSelections->topLevelItemCount(); ++i)
        names << lvSelections->topLevelItem(i)->text(0);
    return names;
}

void frmSelections::startCommand()
{
    lblError->clear();
    lblNbCurrentSelection->hide();
}

void frmSelections::refuse(const QString &text)
{
    lblError->setText(text);
    QApplication::beep();
}

// The entry a command acts on; nothing (message 45 told) when the list has entries but none is
// chosen, nothing silently when the list is empty.
QTreeWidgetItem *frmSelections::chosenEntry()
{
    if (lvSelections->topLevelItemCount() == 0)
        return nullptr;
    QTreeWidgetItem *item = lvSelections->currentItem();
    if (!item || !item->isSelected()) {
        refuse(m_context.language.message(Message::NoSelectionChosen));
        return nullptr;
    }
    return item;
}

void frmSelections::showCount(int count)
{
    lblNbCurrentSelection->setText(m_context.language.text(InterfaceText::SelectionImagesHeader) + u'='
                                   + QString::number(count));
    lblNbCurrentSelection->show();
}

void frmSelections::setButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {cmdCurrentSelection, cmdSaveSelection, cmdRemoveSelection, cmdRenameSelection,
                                cmdDisplaySelection, cmdCancel})
        button->setEnabled(enabled);
}

void frmSelections::saveSelection()
{
    startCommand();
    const QString name = txtSaveSelection->text().trimmed();
    txtSaveSelection->setText(name);
    if (const auto problem = selectionNameProblem(name, listedNames())) {
        refuse(m_context.language.message(*problem));
        return;
    }
    const BusyPointer busy;
    const ButtonsDisabled disabled([this](bool on) { setButtonsEnabled(on); });
    const std::optional<int> count =
        saveMarkedImagesAs({m_context.catalogue, m_feedback, m_context.language}, name);
    if (!count)
        return;
    showCount(*count);
    if (*count > 0)
        addEntry(name, QString::number(*count));
}

void frmSelections::showCurrentSelection()
{
    startCommand();
    showCount(m_listMarkedImages ? m_listMarkedImages() : 0);
}

void frmSelections::displaySelection()
{
    startCommand();
    QTreeWidgetItem *entry = chosenEntry();
    if (!entry)
        return;
    const BusyPointer busy;
    const ButtonsDisabled disabled([this](bool on) { setButtonsEnabled(on); });
    if (restoreSelection({m_context.catalogue, m_feedback, m_context.language}, entry->text(0)) && m_listMarkedImages)
        m_listMarkedImages();
}

void frmSelections::renameSelection()
{
    startCommand();
    QTreeWidgetItem *entry = chosenEntry();
    if (!entry)
        return;
    const QString prompt = m_context.language.message(Message::RenameSelectionPrompt);
    const QString answer = m_askName(prompt, prompt, entry->text(0)).trimmed();
    if (answer.isEmpty())
        return;
    if (listedNames().contains(answer, Qt::CaseSensitive)) {
        refuse(m_context.language.message(Message::SelectionNameUsed));
        return;
    }
    {
        const BusyPointer busy;
        const ButtonsDisabled disabled([this](bool on) { setButtonsEnabled(on); });
        renameSavedSelection({m_context.catalogue, m_feedback, m_context.language}, entry->text(0), answer);
    }
    entry->setText(0, answer);
}

void frmSelections::removeSelection()
{
    startCommand();
    QTreeWidgetItem *entry = chosenEntry();
    if (!entry)
        return;
    const QString name = entry->text(0);
    if (!m_feedback.askYesNo(m_context.language.message(Message::RemoveSelectionQuestion) + QStringLiteral(" '") + name
                             + u'\'', MessageIcon::Question))
        return;
    {
        const BusyPointer busy;
        const ButtonsDisabled disabled([this](bool on) { setButtonsEnabled(on); });
        removeSavedSelection({m_context.catalogue, m_feedback, m_context.language}, name);
    }
    delete entry;
}

} // namespace zelvarion
