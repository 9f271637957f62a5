#pragma once

#include "core/iptc/IptcField.h"

#include <QObject>
#include <QString>
#include <array>

class QBoxLayout;
class QColor;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QToolButton;
class QWidget;

namespace zelvarion {

class EditCodeTyping;
class EditTabs;
class LanguagePack;

// The edit dialog's field rows: per catalogue field its label (lblIPTC_i), its box (txtIPTC_i)
// and its spell-check button (cmdSpellChecker_i) on the frame of its tab, and the value a click on
// the label sets aside. Urgency and object cycle are picked from lists standing over their hidden
// boxes; the list fields' rows are completed by their list panels.
class EditFieldRows : public QObject
{
    Q_OBJECT
public:
    // Lays out the rows of the description, categories, dates and places and other tabs.
    explicit EditFieldRows(const std::array<QWidget *, 6> &frames);

    // One row under the frame's last: label, box and spell button. A multi-line box is at least
    // `height` high and takes that share of the frame's growth. A list field's row holds its
    // label and hidden box only; its panel places the rest.
    void createRow(QWidget *frame, int index, int height);
    // The line of a field's row; a panel adds its controls after the box and spell button.
    QHBoxLayout *line(int index) const { return m_line[std::size_t(index)]; }
    void addBeside(int index, QWidget *control);
    // A list field's spell button, on the line of its list.
    void placeSpellButton(int index, QBoxLayout &line, Qt::Alignment alignment);

    QString text(int index) const;
    void setText(int index, const QString &text);
    QString labelText(int index) const;
    // The field whose label or box that is; -1 for another control.
    int fieldOfLabel(const QObject *control) const;
    int fieldOfBox(const QObject *control) const;
    bool isCopyrightSign(const QObject *control) const;

    // The dataset numbers as tool tips; the labels in the pack's words, grey.
    void applyToolTips();
    void showLabels(const LanguagePack &pack);
    void setLabelColour(int index, const QColor &colour);
    // A box's grey example of what it takes, and its tip.
    void setHint(int index, const QString &example, const QString &toolTip);
    // The urgency and object-cycle lists, showing their fields' values.
    void fillChoices(const LanguagePack &pack);
    // The value the urgency or object-cycle list stands for.
    QString choiceValue(int index) const;

    // A label click: the text on show and the one set aside change places; true when the label
    // now shows the set-aside state (blue).
    bool swapKept(int index);
    // The same for a click on a field's own label, which turns blue or grey with it.
    void labelClicked(int index);
    void forgetKept();
    void addCopyrightSign();

    // The row shown or not, its box taking input or only showing it.
    void setRowShown(int index, bool shown);
    void setReadOnly(int index, bool readOnly);
    // Its tab shown and the cursor in its box.
    void focusBox(int index, EditTabs &tabs);
    // Codes typed in the boxes of words are replaced as they are typed.
    void watchCodes(EditCodeTyping &codes);
    void markChecking(int index, bool on);
    void markLabelChecking(int index, bool on);

    void lockAllBut(int index);
    void unlockAll();
    void setSpellingAvailable(bool available);
    void updateSpellButton(int index);
    void setSpellButtonEnabled(int index, bool enabled);

Q_SIGNALS:
    // A box's text changed; the dialog's rules follow.
    void textChanged(int index);
    void spellRequested(int index);

private:
    void createDescription(QWidget *frame);
    void createDatesAndPlaces(QWidget *frame);
    void createOthers(QWidget *frame);
    void connectRow(int index);

    std::array<QWidget *, kIptcFieldCount> m_box{};
    std::array<QLabel *, kIptcFieldCount> m_label{};
    std::array<QToolButton *, kIptcFieldCount> m_spell{};
    std::array<QHBoxLayout *, kIptcFieldCount> m_line{};
    std::array<QString, kIptcFieldCount> m_kept;
    std::array<bool, kIptcFieldCount> m_blue{};
    QComboBox *m_urgency = nullptr;
    QComboBox *m_cycle = nullptr;
    QLabel *m_copyright = nullptr;
    bool m_spellingAvailable = false;
};

// A spell-check button, disabled until its text and the speller are there.
QToolButton *newSpellButton(QWidget *parent, const QString &name);

} // namespace zelvarion
