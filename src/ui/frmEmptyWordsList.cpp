#include "ui/frmEmptyWordsList.h"

#include "core/session/TextRules.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace zelvarion {
using namespace controls;

namespace {

Message messageOf(EmptyWordsList::Refusal refusal)
{
    switch (refusal) {
    case EmptyWordsList::Refusal::AlreadyInList:
        return Message::AlreadyInList;
    case EmptyWordsList::Refusal::BlankWord:
        return Message::WordRequired;
    default:
        return Message::NoEntrySelected;
    }
}

} // namespace

frmEmptyWordsList::frmEmptyWordsList(AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_list(readEmptyWords(context.ini))
{
    setObjectName(QStringLiteral("frmEmptyWordsList"));
    createControls();
    applyTexts();
    refill(-1);
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

void frmEmptyWordsList::createControls()
{
    lblEmptyWord = named(new QLabel(this), QStringLiteral("lblEmptyWord"));
    rtfEmptyWord = named(new QLineEdit(this), QStringLiteral("rtfEmptyWord"));
    lstEmptyWords = named(new QListWidget(this), QStringLiteral("lstEmptyWords"));
    lblNbEmptyWords = named(new QLabel(this), QStringLiteral("lblNbEmptyWords"));
    lblStatus = named(new QLabel(this), QStringLiteral("lblStatus"));
    lblStatus->setStyleSheet(textColourStyle(kStatusRed));
    const std::pair<QPushButton **, const char *> buttons[] = {
        {&cmdAddEmptyWord, "cmdAddEmptyWord"}, {&cmdReplaceEmptyWord, "cmdReplaceEmptyWord"},
        {&cmdRemoveEmptyWord, "cmdRemoveEmptyWord"}, {&cmdOK, "cmdOK"}, {&cmdCancel, "cmdCancel"}};
    auto *commands = new QVBoxLayout;
    commands->setSpacing(10);
    for (const auto &[button, name] : buttons) {
        *button = named(new QPushButton(this), QLatin1String(name));
        (*button)->setMinimumSize(120, 30);
        if (*button == cmdOK)
            commands->addStretch(1);
        commands->addWidget(*button);
    }
    lstEmptyWords->setMinimumSize(260, 200);
    lblStatus->setMinimumHeight(24);
    // The words' list takes what the window gains; the buttons stay beside it.
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(12, 12, 12, 8);
    layout->setHorizontalSpacing(16);
    layout->addWidget(lblEmptyWord, 0, 0);
    layout->addWidget(rtfEmptyWord, 1, 0);
    layout->addWidget(lstEmptyWords, 2, 0);
    layout->addWidget(lblNbEmptyWords, 3, 0);
    layout->addLayout(commands, 1, 1, 3, 1);
    layout->addWidget(lblStatus, 4, 0, 1, 2);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
    resize(420, 380);
    cmdOK->setText(QStringLiteral("OK"));
    cmdReplaceEmptyWord->setEnabled(false);
    cmdRemoveEmptyWord->setEnabled(false);
    rtfEmptyWord->installEventFilter(this);
    lstEmptyWords->installEventFilter(this);

    connect(cmdAddEmptyWord, &QPushButton::clicked, this, &frmEmptyWordsList::addWord);
    connect(cmdReplaceEmptyWord, &QPushButton::clicked, this, &frmEmptyWordsList::replaceWord);
    connect(cmdRemoveEmptyWord, &QPushButton::clicked, this, &frmEmptyWordsList::removeWord);
    connect(cmdOK, &QPushButton::clicked, this, &frmEmptyWordsList::save);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstEmptyWords, &QListWidget::itemClicked, this, &frmEmptyWordsList::entryClicked);
}

void frmEmptyWordsList::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    setWindowTitle(withoutAccelerator(pack.text(InterfaceText::EmptyWordsMenuItem)));
    lblEmptyWord->setText(pack.text(InterfaceText::EmptyWordLabel));
    cmdAddEmptyWord->setText(pack.text(InterfaceText::AddButton));
    cmdReplaceEmptyWord->setText(pack.text(InterfaceText::ReplaceButton));
    cmdRemoveEmptyWord->setText(pack.text(InterfaceText::RemoveButton));
    cmdCancel->setText(pack.text(InterfaceText::CancelButton));
}

void frmEmptyWordsList::refill(int selected)
{
    lstEmptyWords->clear();
    lstEmptyWords->addItems(m_list.words());
    if (selected >= 0)
        lstEmptyWords->setCurrentRow(selected);
    lblNbEmptyWords->setText(QString::number(m_list.count()));
}

bool frmEmptyWordsList::refused(EmptyWordsList::Refusal refusal)
{
    if (refusal == EmptyWordsList::Refusal::None)
        return false;
    QApplication::beep();
    lblStatus->setText(m_context.language.message(messageOf(refusal)));
    return true;
}

void frmEmptyWordsList::addWord()
{
    lblStatus->clear();
    const QString typed = rtfEmptyWord->text();
    int position = -1;
    const EmptyWordsList::Refusal refusal = m_list.add(typed, &position);
    rtfEmptyWord->setText(trimBlanks(typed));
    if (refused(refusal) || position < 0)
        return;
    rtfEmptyWord->clear();
    refill(position);
}

void frmEmptyWordsList::replaceWord()
{
    lblStatus->clear();
    const int selected = lstEmptyWords->currentRow();
    const QString replaced = selected >= 0 ? m_list.words().value(selected) : QString();
    if (refused(m_list.replace(selected, rtfEmptyWord->text())))
        return;
    refill(selected);
    rtfEmptyWord->setText(replaced);
}

void frmEmptyWordsList::removeWord()
{
    lblStatus->clear();
    int next = -1;
    if (refused(m_list.remove(lstEmptyWords->currentRow(), &next)))
        return;
    refill(next);
}

void frmEmptyWordsList::entryClicked()
{
    if (QListWidgetItem *item = lstEmptyWords->currentItem())
        rtfEmptyWord->setText(item->text());
    cmdReplaceEmptyWord->setEnabled(true);
    cmdRemoveEmptyWord->setEnabled(true);
}

void frmEmptyWordsList::save()
{
    writeEmptyWords(m_context.ini, m_list.words());
    accept();
}

bool frmEmptyWordsList::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == rtfEmptyWord && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            addWord();
            return true;
        }
        if (watched == lstEmptyWords && key == Qt::Key_Delete) {
            removeWord();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zelvarion
