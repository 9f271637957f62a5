#pragma once

#include <QObject>
#include <array>

class QBoxLayout;
class QGroupBox;
class QLabel;
class QToolButton;
class QWidget;

namespace zelvarion {

class LanguagePack;

enum class PageStep { First, Back, Forward, Last };

// The strip above the result cells: the four paging buttons (cmdBegin, cmdBack, cmdForward,
// cmdEnd) and the legend of the check pictures (FrameCheckMark). Its controls are the grid's
// children; a button asks for its step, and the grid decides whether it applies.
class ResultPagingStrip : public QObject
{
    Q_OBJECT
public:
    explicit ResultPagingStrip(QWidget *grid);

    // The buttons at the left, bottom-aligned, the legend at the right.
    void placeIn(QBoxLayout &strip) const;
    void applyLanguage(const LanguagePack &pack);
    // The buttons work when the result has more than one page.
    void setPagingEnabled(bool enabled);

Q_SIGNALS:
    void pageRequested(zelvarion::PageStep step);

private:
    void createLegend(QWidget *grid);

    std::array<QToolButton *, 4> m_buttons{};
    QGroupBox *m_legend = nullptr;
    std::array<QLabel *, 2> m_legendTexts{};
};

} // namespace zelvarion
