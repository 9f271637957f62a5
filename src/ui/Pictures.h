#pragma once

#include <QIcon>
#include <QPixmap>

// The program's small pictures, drawn rather than shipped as files.
namespace zelvarion::pictures {

enum class Navigation { Begin, Back, Forward, End };

// A navigation button picture with its enabled and disabled forms.
QIcon navigationIcon(Navigation which);

// The eraser of the search box, enabled and disabled.
QIcon eraseIcon();

// Check-mark pictures: 0 a blue square outline, white inside; 1 a filled blue square.
QPixmap checkMark(int index);

// Shown in a result cell when no thumbnail can be made.
QPixmap noImage();

// The program's window icon.
QIcon applicationIcon();

// The spell-check buttons of the edit dialog, enabled and disabled.
QIcon spellCheckIcon();

// The calendar buttons of the edit dialog's date fields.
QIcon calendarIcon();

// The IPTC mark of the edit dialog.
QPixmap iptcLogo();

} // namespace zelvarion::pictures
