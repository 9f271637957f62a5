#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <optional>

namespace zelvarion {

// The engine's own like and lower fold ASCII letters only, so a search for "élan" would miss
// "Élan". These two replace them on every catalogue connection.

// SQL LIKE: "%" matches any run of characters, "_" exactly one character (a surrogate pair
// counts as one), the escape character makes the next one literal (a trailing escape matches
// nothing). Letters compare case-insensitively through Unicode simple case folding.
bool unicodeLike(QStringView pattern, QStringView text, std::optional<QChar> escape = std::nullopt);

// Lower case of every letter, the same mapping the search text gets before a whole-word search.
QString unicodeLower(QStringView text);

} // namespace zelvarion
