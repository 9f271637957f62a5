#include "ui/frmSpelling.h"

#include "core/session/LanguagePack.h"
#include "ui/Controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zelvarion {
using namespace controls;

frmSpelling::frmSpelling(Speller &speller, const QString &text, const LanguagePack &pack, QWidget *parent)
    : QDialog(parent), m_pass(speller, text)
{
    setObjectName(QStringLiteral("frmSpelling"));
    createControls();
    applyTexts(pack);
    m_hasWord = m_pass.next();
    showWord();
}

void frmSpelling::createControls()
{
    resize(560, 360);
    rtfText = named(new QTextEdit(this), QStringLiteral("rtfText"));
    rtfText->setReadOnly(true);
    lblNotInDictionary = named(new QLabel(this), QStringLiteral("lblNotInDictionary"));
    lblWord = named(new QLabel(this), QStringLiteral("lblWord"));
    lblWord->setStyleSheet(QStringLiteral("color: #c0392b; font-weight: bold;"));
    lblChangeTo = named(new QLabel(this), QStringLiteral("lblChangeTo"));
    txtChangeTo = named(new QLineEdit(this), QStringLiteral("txtChangeTo"));
    lblSuggestions = named(new QLabel(this), QStringLiteral("lblSuggestions"));
    lstSuggestions = named(new QListWidget(this), QStringLiteral("lstSuggestions"));
    lblStatus = named(new QLabel(this), QStringLiteral("lblStatus"));
    lblStatus->setStyleSheet(textColourStyle(kStatusRed));
    auto *buttons = new QVBoxLayout;
    for (auto [button, name] : {std::pair{&cmdChange, "cmdChange"}, {&cmdChangeAll, "cmdChangeAll"},
                                {&cmdIgnore, "cmdIgnore"}, {&cmdIgnoreAll, "cmdIgnoreAll"}, {&cmdAdd, "cmdAdd"},
                                {&cmdCancel, "cmdCancel"}}) {
        *button = named(new QPushButton(this), QLatin1String(name));
        buttons->addWidget(*button);
    }
    buttons->addStretch();
    auto *grid = new QGridLayout;
    grid->addWidget(rtfText, 0, 0, 1, 2);
    grid->addWidget(lblNotInDictionary, 1, 0);
    grid->addWidget(lblWord, 1, 1);
    grid->addWidget(lblChangeTo, 2, 0);
    grid->addWidget(txtChangeTo, 2, 1);
    grid->addWidget(lblSuggestions, 3, 0, Qt::AlignTop);
    grid->addWidget(lstSuggestions, 3, 1);
    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    left->addLayout(grid);
    left->addWidget(lblStatus);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    cmdChange->setDefault(true);

    connect(lstSuggestions, &QListWidget::currentTextChanged, txtChangeTo, &QLineEdit::setText);
    connect(lstSuggestions, &QListWidget::itemDoubleClicked, this, &frmSpelling::change);
    connect(cmdChange, &QPushButton::clicked, this, &frmSpelling::change);
    connect(cmdChangeAll, &QPushButton::clicked, this, &frmSpelling::changeAll);
    connect(cmdIgnore, &QPushButton::clicked, this, &frmSpelling::ignore);
    connect(cmdIgnoreAll, &QPushButton::clicked, this, &frmSpelling::ignoreAll);
    connect(cmdAdd, &QPushButton::clicked, this, &frmSpelling::addToDictionary);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmSpelling::applyTexts(const LanguagePack &pack)
{
    setWindowTitle(withoutAccelerator(pack.text(InterfaceText::SpellCheckTip)));
    lblNotInDictionary->setText(pack.text(InterfaceText::NotInDictionaryLabel));
    lblChangeTo->setText(pack.text(InterfaceText::ChangeToLabel));
    lblSuggestions->setText(pack.text(InterfaceText::SuggestionsLabel));
    cmdChange->setText(pack.text(InterfaceText::ChangeButton));
    cmdChangeAll->setText(pack.text(InterfaceText::ChangeAllButton));
    cmdIgnore->setText(pack.text(InterfaceText::IgnoreButton));
    cmdIgnoreAll->setText(pack.text(InterfaceText::IgnoreAllButton));
    cmdAdd->setText(pack.text(InterfaceText::AddToDictionaryButton));
    cmdCancel->setText(pack.text(InterfaceText::CancelButton));
}

// The text with the word in question lit; the suggestions with the first one chosen.
void frmSpelling::showWord()
{
    const QString text = m_pass.text();
    const QString before = text.left(m_pass.wordStart()).toHtmlEscaped();
    const QString word = m_pass.word().toHtmlEscaped();
    const QString after = text.mid(m_pass.wordStart() + m_pass.wordLength()).toHtmlEscaped();
    rtfText->setHtml(QStringLiteral("<p style=\"white-space: pre-wrap\">") + before
                     + QStringLiteral("<span style=\"background: #ffd54f; color: #b71c1c; font-weight: bold\">") + word
                     + QStringLiteral("</span>") + after + QStringLiteral("</p>"));
    lblWord->setText(m_pass.word());
    lstSuggestions->clear();
    const QStringList suggestions = m_hasWord ? m_pass.suggestions() : QStringList();
    lstSuggestions->addItems(suggestions);
    txtChangeTo->setText(suggestions.isEmpty() ? m_pass.word() : suggestions.first());
    if (!suggestions.isEmpty())
        lstSuggestions->setCurrentRow(0);
    lblStatus->clear();
}

void frmSpelling::advance()
{
    m_hasWord = m_pass.next();
    if (!m_hasWord) {
        accept();
        return;
    }
    showWord();
}

void frmSpelling::change()
{
    m_pass.change(txtChangeTo->text());
    advance();
}

void frmSpelling::changeAll()
{
    m_pass.changeAll(txtChangeTo->text());
    advance();
}

void frmSpelling::ignore()
{
    m_pass.ignore();
    advance();
}

void frmSpelling::ignoreAll()
{
    m_pass.ignoreAll();
    advance();
}

void frmSpelling::addToDictionary()
{
    if (!m_pass.addToDictionary()) {
        // The word is accepted for this command all the same; only keeping it failed.
        lblStatus->setText(QStringLiteral("The personal dictionary could not be saved."));
    }
    advance();
}

Correction DialogCorrector::correct(Speller &speller, const QString &text)
{
    frmSpelling dialog(speller, text, m_pack, m_parent);
    if (!dialog.hasUnknownWord())
        return {Correction::Outcome::Finished, text};
    const int result = dialog.exec();
    return {result == QDialog::Accepted ? Correction::Outcome::Finished : Correction::Outcome::Cancelled,
            dialog.correctedText()};
}

} // namespace zelvarion
