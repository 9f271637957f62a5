#include "ui/frmSelections.h"

#include "core/catalogue/CatalogueCommand.h"
#include "core/search/Selections.h"
#include "core/session/Feedback.h"
#include "ui/AppContext.h"
#include "ui/BusyPointer.h"
#include "ui/Controls.h"
#include "ui/NameQuestion.h"
#include "core/session/Twips.h"

#include <QHeaderView>
#include <QBoxLayout>
#include <QGridLayout>
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
        return askForName(this, title, prompt, current);
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

// The name box and the list on the left, the buttons beside them; the list takes what the window gains.
void frmSelections::createControls()
{
    lblSaveSelection = named(new QLabel(this), QStringLiteral("lblSaveSelection"));
    txtSaveSelection = named(new QLineEdit(this), QStringLiteral("txtSaveSelection"));
    lvSelections = named(new QTreeWidget(this), QStringLiteral("lvSelections"));
    lvSelections->setRootIsDecorated(false);
    lvSelections->setColumnCount(2);
    lvSelections->header()->setStretchLastSection(false);
    lvSelections->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lvSelections->setColumnWidth(1, pixels(kCountColumnTwips));
    lvSelections->setMinimumSize(270, 200);
    lblNbCurrentSelection = named(new QLabel(this), QStringLiteral("lblNbCurrentSelection"));
    lblNbCurrentSelection->hide();
    lblError = named(new QLabel(this), QStringLiteral("lblError"));
    lblError->setMinimumHeight(20);
    lblError->setStyleSheet(textColourStyle(kStatusRed));

    auto button = [this](const char *name, void (frmSelections::*command)()) {
        auto *b = named(new QPushButton(this), QLatin1String(name));
        connect(b, &QPushButton::clicked, this, command);
        return b;
    };
    cmdSaveSelection = button("cmdSaveSelection", &frmSelections::saveSelection);
    cmdCurrentSelection = button("cmdCurrentSelection", &frmSelections::showCurrentSelection);
    cmdDisplaySelection = button("cmdDisplaySelection", &frmSelections::displaySelection);
    cmdRenameSelection = button("cmdRenameSelection", &frmSelections::renameSelection);
    cmdRemoveSelection = button("cmdRemoveSelection", &frmSelections::removeSelection);
    cmdCancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(lvSelections, &QTreeWidget::itemDoubleClicked, this, &frmSelections::displaySelection);
    placeControls();
}

void frmSelections::placeControls()
{
    auto *commands = new QVBoxLayout;
    commands->setSpacing(6);
    for (QPushButton *b : {cmdCurrentSelection, cmdDisplaySelection, cmdRenameSelection, cmdRemoveSelection})
        commands->addWidget(b);
    commands->addStretch(1);
    commands->addWidget(cmdCancel);
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(6);
    layout->addWidget(lblSaveSelection, 0, 0);
    layout->addWidget(txtSaveSelection, 1, 0);
    layout->addWidget(cmdSaveSelection, 1, 1);
    layout->addWidget(lvSelections, 2, 0);
    layout->addLayout(commands, 2, 1);
    layout->addWidget(lblNbCurrentSelection, 3, 0);
    layout->addWidget(lblError, 4, 0, 1, 2);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
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
    for (QPushButton *button : {cmdSaveSelection, cmdCurrentSelection, cmdDisplaySelection, cmdRenameSelection,
                                cmdRemoveSelection, cmdCancel})
        fitRoundedButton(button, 174);
    resize(sizeHint().expandedTo(QSize(480, 330)));
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
