// The rules that keep the search controls consistent, and the settings their clicks store at
// once.
#include "ui/SearchPanel.h"

#include "core/session/Feedback.h"
#include "ui/AppContext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace zelvarion {
void SearchPanel::connectRules()
{
    for (int i = 0; i < 3; ++i)
        connect(chkIPTC[i], &QCheckBox::clicked, this, [this, i] { iptcBoxClicked(i); });
    connect(lstFields, &QComboBox::activated, this, [this](int position) {
        m_context.setSetting(&AppSettings::indexFieldIPTC, position);
    });
    connect(chkWholeWord, &QCheckBox::clicked, this, [this] { exactOnlyBoxClicked(chkWholeWord); });
    connect(chkTranslation, &QCheckBox::clicked, this, [this] { exactOnlyBoxClicked(chkTranslation); });
    for (int i = 0; i < 3; ++i)
        connect(optOperator[i], &QRadioButton::clicked, this, [this, i] { operatorClicked(i); });
    for (int i = 0; i < 2; ++i)
        connect(chkRevised[i], &QCheckBox::clicked, this, [this, i] { revisedClicked(i); });
    connect(lstSortedBy, &QComboBox::activated, this, [this] { sortedByClicked(); });
    for (QRadioButton *button : {optOrder[0], optOrder[1], optSortedBy[0], optSortedBy[1]})
        connect(button, &QRadioButton::clicked, lblFound, &QLabel::clear);
    connect(cmdSearch, &QPushButton::clicked, this, &SearchPanel::searchRequested);
    connect(lstTxtSearch->lineEdit(), &QLineEdit::returnPressed, this, &SearchPanel::searchRequested);
    connect(cmdErase, &QToolButton::clicked, this, &SearchPanel::eraseClicked);
}

// The state the window has before any rule ran.
void SearchPanel::setInitialStates()
{
    lstFields->setEnabled(false);
    for (QRadioButton *button : optOrder) {
        button->setEnabled(false);
        uncheckRadio(button);
    }
    sortedByClicked();
}

// Checking or unchecking a box from code runs its rule as a click would.
void SearchPanel::setBoxChecked(QCheckBox *box, bool checked)
{
    if (box->isChecked() == checked)
        return;
    box->setChecked(checked);
    Q_EMIT box->clicked(checked);
}

// An exclusive group never lets its checked button go; it is opened for the moment.
void SearchPanel::uncheckRadio(QRadioButton *button)
{
    QButtonGroup *group = button->group();
    if (group)
        group->setExclusive(false);
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
    if (group)
        group->setExclusive(true);
}

void SearchPanel::iptcBoxClicked(int index)
{
    const bool presence = chkIPTC[0]->isChecked() || chkIPTC[1]->isChecked();
    if (presence) {
        lstTxtSearch->setCurrentText(QString());
        setBoxChecked(chkWholeWord, false);
        setBoxChecked(chkTranslation, false);
    }
    lstTxtSearch->setEnabled(!presence);
    cmdErase->setEnabled(!presence);
    chkWholeWord->setEnabled(!presence);
    chkTranslation->setEnabled(!presence);
    for (QRadioButton *button : optOperator)
        button->setEnabled(!presence);

    const bool field = chkIPTC[2]->isChecked();
    if (field) {
        setBoxChecked(chkIPTC[0], false);
        setBoxChecked(chkIPTC[1], false);
        setBoxChecked(chkWholeWord, false);
    }
    chkIPTC[0]->setEnabled(!field && !chkRevised[0]->isChecked() && !chkRevised[1]->isChecked());
    chkIPTC[1]->setEnabled(!field);
    lstFields->setEnabled(field);
    if (index == 2) {
        m_context.setSetting(&AppSettings::fieldIPTC, field);
    }
}

// Whole word and automatic translation work on the exact expression only.
void SearchPanel::exactOnlyBoxClicked(QCheckBox *box)
{
    const bool on = box->isChecked();
    if (on)
        optOperator[0]->setChecked(true);
    optOperator[1]->setEnabled(!on);
    optOperator[2]->setEnabled(!on);
    m_context.setSetting(box == chkWholeWord ? &AppSettings::wholeWord : &AppSettings::useTranslation, on);
}

void SearchPanel::operatorClicked(int index)
{
    if (index == 0) {
        chkTranslation->setEnabled(true);
        chkWholeWord->setEnabled(true);
        return;
    }
    setBoxChecked(chkTranslation, false);
    setBoxChecked(chkWholeWord, false);
    chkTranslation->setEnabled(false);
    chkWholeWord->setEnabled(false);
}

void SearchPanel::revisedClicked(int index)
{
    lblFound->clear();
    const bool anyRevised = chkRevised[0]->isChecked() || chkRevised[1]->isChecked();
    if (anyRevised) {
        setBoxChecked(chkIPTC[0], false);
        chkIPTC[0]->setEnabled(false);
    } else if (!chkIPTC[2]->isChecked()) {
        chkIPTC[0]->setEnabled(true);
    }
    if (index == 0) {
        if (chkRevised[0]->isChecked())
            setBoxChecked(chkRevised[1], false);
        for (QRadioButton *button : optOrder) {
            button->setEnabled(false);
            uncheckRadio(button);
        }
    } else {
        const bool already = chkRevised[1]->isChecked();
        if (already)
            setBoxChecked(chkRevised[0], false);
        for (QRadioButton *button : optOrder) {
            button->setEnabled(already);
            if (!already)
                uncheckRadio(button);
        }
        if (already)
            optOrder[0]->setChecked(true);
    }
    // The column sort is taken away while the revision order is imposed.
    const bool sortAllowed = !chkRevised[1]->isChecked();
    lblSortedBy->setEnabled(sortAllowed);
    lstSortedBy->setEnabled(sortAllowed);
    for (QRadioButton *button : optSortedBy)
        button->setEnabled(sortAllowed && lstSortedBy->currentIndex() > 0);
}

void SearchPanel::sortedByClicked()
{
    const bool sortChosen = lstSortedBy->currentIndex() > 0;
    lblSortedBy->setEnabled(sortChosen);
    for (QRadioButton *button : optSortedBy)
        button->setEnabled(sortChosen);
}

void SearchPanel::eraseClicked()
{
    if (!m_feedback.askYesNo(m_context.language.text(InterfaceText::EraseHistoryQuestion)))
        return;
    lstTxtSearch->clear();
    lstTxtSearch->setCurrentText(QString());
}

} // namespace zelvarion
