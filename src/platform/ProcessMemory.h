#pragma once

namespace zelvarion::processMemory {

// Lets the allocator keep freed blocks of up to 32 MB for the next allocation. By default a
// block of a photograph's size is handed back to the system when freed and the next one is
// faulted in and cleared page by page: a run over many photographs spent a third of its time
// there. Called once, first thing in main.
void keepFreedPhotographBuffers();

} // namespace zelvarion::processMemory
