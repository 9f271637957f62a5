#pragma once

#include <QRect>

class QWidget;

namespace zelvarion {

// The place of a tool window that works on the main window's thumbnails (Selections, the SQL
// console, the display window): where it would cover its owner and the screen has room beside
// the owner, on the right or else on the left, it goes there, top edges level; otherwise it
// keeps `window`. All rectangles in the screen's coordinates.
QRect besideOwner(const QRect &window, const QRect &owner, const QRect &screen);

// Moves a window that is about to be shown for the first time beside its owner by the rule
// above. `placed`: whether the window already has a place of its own (a stored one); without it,
// the window would open centred on the owner.
void moveBesideOwner(QWidget &window, const QWidget &owner, bool placed);

} // namespace zelvarion
