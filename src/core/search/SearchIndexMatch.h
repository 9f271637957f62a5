#pragma once

#include "core/catalogue/SearchRequest.h"

#include <QString>
#include <optional>

namespace zelvarion {

// The substring index of the catalogue holds, per image, the case-folded text of its path and
// IPTC columns, cut into trigrams. This is the query of that index whose rows include every row
// the search statement of the request selects (the statement then checks each one), or nothing
// when the index cannot narrow the search: no text, a word of fewer than three characters among
// alternatives, a presence or checked-only search.
std::optional<QString> searchIndexMatch(const SearchRequest &request);

} // namespace zelvarion
