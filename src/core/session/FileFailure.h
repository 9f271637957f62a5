#pragma once

#include "core/session/Result.h"
#include "platform/AtomicFile.h"

namespace zelvarion {

class LanguagePack;

// A failed replacement or copy as the core tells it: what failed, named by the pack, the file it
// concerns and the system's words.
Failure fileFailure(const atomicfile::Result &result);

// The same on one line ("what: the system's words"), for the reasons a run lists beside each
// image; English unless a pack is given.
QString fileFailureText(const atomicfile::Result &result, const LanguagePack &pack);
QString fileFailureText(const atomicfile::Result &result);
QString fileFailureText(const atomicfile::Result &result, const LanguagePack *pack);

} // namespace zelvarion
