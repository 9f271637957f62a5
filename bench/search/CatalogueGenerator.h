#pragma once

#include <QString>

namespace zelvarion::bench {

// Fills a new catalogue at path with count plausible Images rows: photo folders by year and
// trip, camera file names, and for most images IPTC texts with keywords, captions, cities
// (some accented, some with apostrophes), sizes and dates. The same seed gives the same rows.
// False when the catalogue could not be created (reported on standard error).
bool generateCatalogue(const QString &path, int count, unsigned seed = 20240611);

} // namespace zelvarion::bench
