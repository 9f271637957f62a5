#include "ui/BesideOwner.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace zelvarion {
namespace {

constexpr int kGap = 8;

} // namespace

QRect besideOwner(const QRect &window, const QRect &owner, const QRect &screen)
{
    if (!window.intersects(owner))
        return window;
    const int lowestTop = std::max(screen.top(), screen.bottom() + 1 - window.height());
    const int top = std::clamp(owner.top(), screen.top(), lowestTop);
    if (owner.right() + 1 + kGap + window.width() <= screen.right() + 1)
        return {QPoint(owner.right() + 1 + kGap, top), window.size()};
    if (owner.left() - kGap - window.width() >= screen.left())
        return {QPoint(owner.left() - kGap - window.width(), top), window.size()};
    return window;
}

void moveBesideOwner(QWidget &window, const QWidget &owner, bool placed)
{
    const QScreen *screen = owner.screen();
    if (!screen)
        return;
    QRect where = window.frameGeometry();
    if (!placed)
        where.moveCenter(owner.frameGeometry().center());
    const QRect beside = besideOwner(where, owner.frameGeometry(), screen->availableGeometry());
    // Without room the window keeps the place it would have had.
    if (beside != where)
        window.move(beside.topLeft() + (window.pos() - window.frameGeometry().topLeft()));
}

} // namespace zelvarion
