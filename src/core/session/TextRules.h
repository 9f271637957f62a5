#pragma once

#include <QString>
#include <QStringView>

namespace zelvarion {

// Leading and trailing spaces removed; tabs and line breaks stay part of the text, as the
// file formats' rules (IPTC values, the translations file) say.
QString trimBlanks(QStringView text);

} // namespace zelvarion
