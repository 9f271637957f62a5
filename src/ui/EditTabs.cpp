#include "ui/EditTabs.h"

#include "core/session/LanguagePack.h"
#include "ui/Controls.h"

#include <QKeyEvent>
#include <QStackedLayout>
#include <QTabBar>

namespace zelvarion {
using namespace controls;

EditTabs::EditTabs(QWidget *dialog, const std::array<QWidget *, kCount> &frames)
    : QObject(dialog), m_bar(named(new QTabBar(dialog), QStringLiteral("TabStripIPTC"))), m_stack(new QStackedLayout),
      m_frames(frames)
{
    m_bar->setFocusPolicy(Qt::NoFocus);
    m_bar->setUsesScrollButtons(false); // every tab's text whole: the dialog is as wide as they need
    m_bar->setElideMode(Qt::ElideNone);
    for (int k = 0; k < kCount; ++k) {
        m_bar->addTab(QString());
        m_stack->addWidget(m_frames[std::size_t(k)]);
    }
    connect(m_bar, &QTabBar::currentChanged, this, [this](int position) { showFrame(position + 1); });
    showFrame(1);
}

QLayout *EditTabs::frameStack() const { return m_stack; }

void EditTabs::applyTexts(const LanguagePack &pack)
{
    const InterfaceText tabs[] = {InterfaceText::DescriptionTab, InterfaceText::FieldLabelKeywords,
                                  InterfaceText::CategoriesTab, InterfaceText::DatesPlacesTab,
                                  InterfaceText::OtherFieldsTab, InterfaceText::CustomizedTab};
    for (int k = 0; k < kCount; ++k)
        m_bar->setTabText(k, pack.text(tabs[k]));
}

void EditTabs::removeCustomizedTab() { m_bar->removeTab(kCount - 1); }

void EditTabs::select(int tab)
{
    if (tab >= 1 && tab <= m_bar->count())
        m_bar->setCurrentIndex(tab - 1);
}

int EditTabs::tabHolding(const QWidget *control) const
{
    for (int k = 0; k < kCount; ++k)
        if (m_frames[std::size_t(k)]->isAncestorOf(control))
            return k + 1;
    return 0;
}

bool EditTabs::handleKey(QEvent *event)
{
    auto *key = static_cast<QKeyEvent *>(event);
    if (event->type() == QEvent::KeyPress) {
        m_altAlone = key->key() == Qt::Key_Alt && !key->isAutoRepeat();
        if (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F6) {
            select(key->key() - Qt::Key_F1 + 1);
            return true;
        }
        return false;
    }
    if (key->key() == Qt::Key_Alt && m_altAlone) {
        m_altAlone = false;
        select(m_bar->currentIndex() + 1 == m_bar->count() ? 1 : m_bar->currentIndex() + 2);
        return true;
    }
    return false;
}

void EditTabs::setFramesEnabled(bool enabled)
{
    for (QWidget *frame : m_frames)
        frame->setEnabled(enabled);
}

void EditTabs::showFrame(int tab) { m_stack->setCurrentIndex(tab - 1); }

} // namespace zelvarion
