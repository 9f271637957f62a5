#pragma once

#include <QString>

namespace zelvarion::shell {

// Opens a file, folder or web address with its default program; false when nothing opened it.
bool openWithDefaultProgram(const QString &pathOrUrl);

// A short text naming the operating system, for the About box.
QString operatingSystemDescription();

} // namespace zelvarion::shell
