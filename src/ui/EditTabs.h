#pragma once

#include <QObject>
#include <array>

class QEvent;
class QLayout;
class QStackedLayout;
class QTabBar;
class QWidget;

namespace zelvarion {

class LanguagePack;

// The edit dialog's tab strip (TabStripIPTC) over its six frames (FrameIPTC_0..5), one shown at a
// time: description, keywords, categories, dates and places, other fields, customized fields. The
// dialog makes the frames and hands them to the panels that fill them.
class EditTabs : public QObject
{
public:
    static constexpr int kCount = 6;

    EditTabs(QWidget *dialog, const std::array<QWidget *, kCount> &frames);

    // The frames in one place under the strip, as large as the largest needs.
    QLayout *frameStack() const;
    void applyTexts(const LanguagePack &pack);
    // Without customized rows the last tab goes.
    void removeCustomizedTab();
    // Tab 1..count; a tab not shown is ignored.
    void select(int tab);
    // The tab (from 1) whose frame holds the control.
    int tabHolding(const QWidget *control) const;
    // F1 to F6 select a tab; Alt pressed and released alone selects the next one. True when used.
    bool handleKey(QEvent *event);
    void setFramesEnabled(bool enabled);

private:
    void showFrame(int tab);

    QTabBar *m_bar;
    QStackedLayout *m_stack;
    std::array<QWidget *, kCount> m_frames{};
    bool m_altAlone = false;
};

} // namespace zelvarion
