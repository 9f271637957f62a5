#pragma once

#include "core/spelling/CorrectionPass.h"
#include "core/spelling/Speller.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace zelvarion {

class LanguagePack;

// The interactive correction of one text: the text with the unknown word lit, the suggestions,
// Change, Change all, Ignore, Ignore all, Add to the personal dictionary and Cancel. Accepted
// when the last unknown word has been dealt with; rejected on Cancel.
class frmSpelling : public QDialog
{
    Q_OBJECT
public:
    frmSpelling(Speller &speller, const QString &text, const LanguagePack &pack, QWidget *parent = nullptr);

    // False when the text holds no unknown word: the dialog need not be shown.
    bool hasUnknownWord() const { return m_hasWord; }
    // The text with the corrections made so far.
    QString correctedText() const { return m_pass.text(); }

    void change();
    void changeAll();
    void ignore();
    void ignoreAll();
    void addToDictionary();

private:
    void createControls();
    void applyTexts(const LanguagePack &pack);
    void advance();
    void showWord();

    CorrectionPass m_pass;
    bool m_hasWord = false;
    QTextEdit *rtfText = nullptr;
    QLabel *lblNotInDictionary = nullptr;
    QLabel *lblWord = nullptr;
    QLabel *lblChangeTo = nullptr;
    QLineEdit *txtChangeTo = nullptr;
    QLabel *lblSuggestions = nullptr;
    QListWidget *lstSuggestions = nullptr;
    QPushButton *cmdChange = nullptr, *cmdChangeAll = nullptr, *cmdIgnore = nullptr, *cmdIgnoreAll = nullptr,
                *cmdAdd = nullptr, *cmdCancel = nullptr;
    QLabel *lblStatus = nullptr;
};

// The spell check's TextCorrector in the window program: one frmSpelling per text.
class DialogCorrector : public TextCorrector
{
public:
    DialogCorrector(const LanguagePack &pack, QWidget *parent) : m_pack(pack), m_parent(parent) {}
    Correction correct(Speller &speller, const QString &text) override;

private:
    const LanguagePack &m_pack;
    QWidget *m_parent;
};

} // namespace zelvarion
