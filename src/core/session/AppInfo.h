#pragma once

#include <QString>

namespace zelvarion {

// "1.0.0": major, minor and revision without leading zeros.
QString versionText();

// " Basic", leading space included.
QString editionText();

// "Zelvarion Basic - 1.0.0": the main window caption and every message box title.
QString applicationTitle();

} // namespace zelvarion
