#pragma once

#include <QObject>
#include <array>

class QEvent;
class QTabBar;
class QWidget;

namespace zelvarion {

class LanguagePack;

// The edit dialog's tab strip (TabStripIPTC) and its six frames (FrameIPTC_0..5), one shown at a
// time: description, keywords, categories, dates and places, other fields, customized fields.
class EditTabs : public QObject
{
public:
    static constexpr int kCount = 6;

    explicit EditTabs(QWidget *dialog);

    QWidget *frame(int k) const { return m_frames[std::size_t(k)]; }
    const std::array<QWidget *, kCount> &frames() const { return m_frames; }
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
    std::array<QWidget *, kCount> m_frames{};
    bool m_altAlone = false;
};

} // namespace zelvarion
