#include "platform/ProcessMemory.h"

#include <malloc.h>

namespace zelvarion::processMemory {

void keepFreedPhotographBuffers()
{
    constexpr int kLargestKept = 32 * 1024 * 1024; // the allocator's own upper limit for mmap
    ::mallopt(M_MMAP_THRESHOLD, kLargestKept);
    ::mallopt(M_TRIM_THRESHOLD, kLargestKept);
}

} // namespace zelvarion::processMemory
