#pragma once

#include "core/iptc/IptcField.h"

#include <QString>
#include <array>

class QComboBox;
class QLabel;
class QObject;
class QToolButton;
class QWidget;

namespace zelvarion {

class LanguagePack;

// The edit dialog's field rows: per catalogue field its label (lblIPTC_i), its box (txtIPTC_i)
// and its spell-check button (cmdSpellChecker_i) on the frame of its tab, and the value a click on
// the label sets aside. Urgency and object cycle are picked from lists standing over their hidden
// boxes; the list fields' rows are made by their list panels.
class EditFieldRows
{
public:
    // Lays out the rows of the description, categories, dates and places and other tabs.
    explicit EditFieldRows(const std::array<QWidget *, 6> &frames);

    // One row on the frame; its box is returned.
    QWidget *createRow(QWidget *frame, int index, int top, int height, int width);

    QString text(int index) const;
    void setText(int index, const QString &text);
    QWidget *box(int index) const { return m_box[std::size_t(index)]; }
    QLabel *label(int index) const { return m_label[std::size_t(index)]; }
    QToolButton *spellButton(int index) const { return m_spell[std::size_t(index)]; }
    // The field whose label or box that is; -1 for another control.
    int fieldOfLabel(const QObject *control) const;
    int fieldOfBox(const QObject *control) const;
    bool isCopyrightSign(const QObject *control) const;

    // The dataset numbers as tool tips; the labels in the pack's words, grey.
    void applyToolTips();
    void showLabels(const LanguagePack &pack);
    // The urgency and object-cycle lists, showing their fields' values.
    void fillChoices(const LanguagePack &pack);
    // The value the urgency or object-cycle list stands for.
    QString choiceValue(int index) const;

    // A label click: the text on show and the one set aside change places; true when the label
    // now shows the set-aside state (blue).
    bool swapKept(int index);
    void forgetKept();
    void addCopyrightSign();

    void lockAllBut(int index);
    void unlockAll();
    void setSpellingAvailable(bool available);
    void updateSpellButton(int index);

private:
    void createDescription(QWidget *frame);
    void createDatesAndPlaces(QWidget *frame);
    void createOthers(QWidget *frame);

    std::array<QWidget *, kIptcFieldCount> m_box{};
    std::array<QLabel *, kIptcFieldCount> m_label{};
    std::array<QToolButton *, kIptcFieldCount> m_spell{};
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
