#include "ui/ResultPagingStrip.h"

#include "core/session/LanguagePack.h"
#include "ui/Controls.h"
#include "ui/Pictures.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

namespace zelvarion {
using namespace controls;

ResultPagingStrip::ResultPagingStrip(QWidget *grid) : QObject(grid)
{
    const char *names[] = {"cmdBegin", "cmdBack", "cmdForward", "cmdEnd"};
    const PageStep steps[] = {PageStep::First, PageStep::Back, PageStep::Forward, PageStep::Last};
    for (int i = 0; i < 4; ++i) {
        auto *button = named(new QToolButton(grid), QLatin1String(names[i]));
        button->setIcon(pictures::navigationIcon(pictures::Navigation(i)));
        button->setAutoRaise(true);
        const PageStep step = steps[i];
        connect(button, &QToolButton::clicked, this, [this, step] { Q_EMIT pageRequested(step); });
        m_buttons[std::size_t(i)] = button;
    }
    createLegend(grid);
    setPagingEnabled(false);
}

void ResultPagingStrip::createLegend(QWidget *grid)
{
    m_legend = named(new QGroupBox(QStringLiteral("Pause key"), grid), QStringLiteral("FrameCheckMark"));
    auto *legendRow = new QHBoxLayout(m_legend);
    legendRow->setContentsMargins(10, 2, 10, 4);
    legendRow->setSpacing(6);
    const QString legend[] = {QStringLiteral("not selected"), QStringLiteral("selected")};
    for (int i = 0; i < 2; ++i) {
        auto *picture = named(new QLabel(m_legend), indexed("picCheck", i));
        picture->setPixmap(pictures::checkMark(i));
        picture->setFixedSize(10, 10);
        m_legendTexts[std::size_t(i)] = named(new QLabel(legend[i], m_legend), indexed("lblCheckMark", i));
        if (i == 1)
            legendRow->addSpacing(16);
        legendRow->addWidget(picture);
        legendRow->addWidget(m_legendTexts[std::size_t(i)]);
    }
}

void ResultPagingStrip::placeIn(QBoxLayout &strip) const
{
    for (QToolButton *button : m_buttons)
        strip.addWidget(button, 0, Qt::AlignBottom);
    strip.addStretch(1);
    strip.addWidget(m_legend);
}

void ResultPagingStrip::applyLanguage(const LanguagePack &pack)
{
    using enum InterfaceText;
    const InterfaceText pageTips[] = {FirstPageTip, PreviousPageTip, NextPageTip, LastPageTip};
    for (int i = 0; i < 4; ++i)
        m_buttons[std::size_t(i)]->setToolTip(pack.text(pageTips[i]));
    m_legendTexts[0]->setText(pack.text(NotMarkedLegend));
    m_legendTexts[1]->setText(pack.text(MarkedLegend));
    m_legend->setTitle(pack.text(CheckMarkFrame));
}

void ResultPagingStrip::setPagingEnabled(bool enabled)
{
    for (QToolButton *button : m_buttons)
        button->setEnabled(enabled);
}

} // namespace zelvarion
