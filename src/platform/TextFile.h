#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace zelvarion {

// Text files of the program (configuration, language packs, translations) are UTF-8; files that
// are not valid UTF-8 were written in the old 8-bit code page and are read as Windows-1252.
QString decodeTextFile(const QByteArray &bytes);

// The whole file decoded as above, or nothing when it cannot be read.
std::optional<QString> readTextFile(const QString &path);

// Writes UTF-8 through a temporary file in the same folder that is renamed over the old one,
// so a crash leaves either the old file or the new one.
bool writeTextFileAtomically(const QString &path, const QString &text);

} // namespace zelvarion
