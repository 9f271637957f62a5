#pragma once

#include <QString>

namespace zelvarion::bench {

// Fills a new catalogue at path with count plausible Images rows: photo folders by year and
// trip, camera file names, and for most images IPTC texts with keywords, captions, cities
// (some accented, some with apostrophes), sizes and dates. The same seed gives the same rows.
// False when the catalogue could not be created (reported on standard error).
// With distinctKeywords, the keywords come from that many made-up words instead of a few dozen:
// every word is used, a few very often and most rarely (a log-uniform draw), some accented or
// capitalised, as in an archive captioned for years.
bool generateCatalogue(const QString &path, int count, unsigned seed = 20240611, int distinctKeywords = 0);

// Word number index (from 0) of the made-up keywords: three syllables, so up to 64 000 words.
QString madeUpKeyword(int index);

} // namespace zelvarion::bench
