#pragma once

#include <QString>

namespace zelvarion::shell {

// Opens a file, folder or web address with its default program; false when nothing opened it.
bool openWithDefaultProgram(const QString &pathOrUrl);

// Asks the desktop's file manager to show the properties of a file (the freedesktop FileManager1
// ShowItemProperties call on the session bus). False when no file manager answered.
bool showFileProperties(const QString &path);

// A short text naming the operating system, for the About box.
QString operatingSystemDescription();

} // namespace zelvarion::shell
