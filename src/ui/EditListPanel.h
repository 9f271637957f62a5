#pragma once

#include "ui/EntrySuggestions.h"

#include <QObject>
#include <QStringList>

class QColor;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QWidget;

namespace zelvarion {

class EditCodeTyping;
class EditFieldRows;
class EditStatusLine;
class LanguagePack;
enum class Message : int;

// A list field of the edit dialog (Keywords or SupplementalCategory): its entries, the entry box
// and Add, Replace and Remove, which refuse twins and need a selection. The field's own box stays
// hidden behind them and holds the joined value as loaded.
class EditListPanel : public QObject
{
    Q_OBJECT
public:
    enum class Kind { Keywords, SupplementalCategories };

    EditListPanel(Kind kind, QWidget *frame, EditFieldRows &rows, EditStatusLine &status, const LanguagePack &pack);

    int fieldIndex() const { return m_field; }
    QString entryText() const;
    // lblKeyword, or the field's label for the categories.
    QString entryLabelText() const;
    void setEntryLabelColour(const QColor &colour);
    QStringList entries() const;
    void setEntry(int row, const QString &text);
    // The entries of a joined value.
    void rebuild(const QString &joined);
    // The catalogue's entries of the field, offered while the entry box is typed in.
    void offerEntries(EntrySuggestions::Source words);
    void applyTexts();
    void setLocked(bool locked);
    // An entry too long for the field cannot be added until it is shortened.
    void refuseLongEntry();
    void setSpellingAvailable(bool available);
    void watchCodes(EditCodeTyping &codes);
    void markChecking(bool on);
    // A click on the entry label or the field's label: the joined value set aside comes back.
    bool ownsLabel(const QObject *control) const;
    void labelClicked();

Q_SIGNALS:
    // The entry box changed; the dialog's length control follows.
    void entryEdited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void create(QWidget *frame, const QString &suffix);
    void connectControls();
    void entryChanged();
    void add();
    void replace();
    void remove();
    void entryClicked();
    void refuse(Message message);
    QListWidgetItem *selectedEntry();
    void updateSpellButton();

    EditFieldRows &m_rows;
    EditStatusLine &m_status;
    const LanguagePack &m_pack;
    int m_field;
    QListWidget *m_list = nullptr;
    QLineEdit *m_entry = nullptr;
    QLabel *m_keywordLabel = nullptr; // the categories' entry stands beside their field's label
    QPushButton *m_add = nullptr, *m_replace = nullptr, *m_remove = nullptr;
    EntrySuggestions *m_suggestions = nullptr;
    bool m_spellingAvailable = false;
};

} // namespace zelvarion
