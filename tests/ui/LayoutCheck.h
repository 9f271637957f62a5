#pragma once

#include <QStringList>

class QWidget;

namespace zelvarion::test {

// What a user sees wrong in a shown window, one line per fault naming the controls:
// - a caption cut by its own control: a button, check box, radio button or label narrower or
//   lower than its size hint (a wrapped label lower than its text needs), a frame narrower than
//   its title;
// - a control cut by the window or by the control it lies in, or lying on a frame's title;
// - two visible controls overlapping (parts of one control, such as a list's scroll bars, and the
//   content a list holds in its viewport are one control with it);
// - a window whose width or height cannot change offering to be maximised.
// Empty labels and pictures stretched to their box hold no caption and are not measured.
QStringList layoutFaults(const QWidget *window);

} // namespace zelvarion::test
