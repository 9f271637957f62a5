#pragma once

#include <QString>

namespace zelvarion {

// Texts embedded in statements stand between apostrophes, each apostrophe inside doubled; shown
// and stored texts keep the single apostrophe.

// The text with every apostrophe doubled, ready to stand between apostrophes: l'eau -> l''eau.
QString doubledApostrophes(const QString &text);

// The text between apostrophes, every apostrophe inside doubled: O'Brien -> 'O''Brien'.
QString sqlText(const QString &text);

} // namespace zelvarion
