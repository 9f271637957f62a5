#pragma once

#include "core/words/EmptyWords.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zelvarion {

struct AppContext;

// The modal list of empty words: the words the statistics may leave out. OK writes the list to
// the "EmptyWords" section; Cancel leaves it as it was.
class frmEmptyWordsList : public QDialog
{
    Q_OBJECT
public:
    frmEmptyWordsList(AppContext &context, QWidget *parent = nullptr);

    void addWord();
    void replaceWord();
    void removeWord();
    void save();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void applyTexts();
    void refill(int selected);
    void entryClicked();
    bool refused(EmptyWordsList::Refusal refusal);

    AppContext &m_context;
    EmptyWordsList m_list;
    QLabel *lblEmptyWord = nullptr;
    QLineEdit *rtfEmptyWord = nullptr;
    QListWidget *lstEmptyWords = nullptr;
    QLabel *lblNbEmptyWords = nullptr;
    QLabel *lblStatus = nullptr;
    QPushButton *cmdAddEmptyWord = nullptr, *cmdReplaceEmptyWord = nullptr, *cmdRemoveEmptyWord = nullptr,
                *cmdOK = nullptr, *cmdCancel = nullptr;
};

} // namespace zelvarion
