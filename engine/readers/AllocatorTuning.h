// How the process's allocator should treat the buffers reading makes. The program entry
// applies KeepFreedReadBuffers once, before the first search; the library never changes the
// allocator's settings on its own, it only hands freed memory back (ReturnFreedMemoryAbove).
#pragma once

#include <cstddef>

namespace engine {

// A search reads each workbook into sheet-sized buffers and frees them before the next:
// keeping freed memory in the process spares the system unmapping it and handing it back
// zeroed page by page for every workbook.
void KeepFreedReadBuffers();
// The memory the process holds now (its resident bytes), or 0 when that cannot be read.
size_t ResidentBytes();
// Hands the freed memory every thread's heap keeps back to the system when the process holds
// more than `residentLimit` bytes: each reading thread's heap would otherwise keep the peak
// of what it read, and the peaks add up.
void ReturnFreedMemoryAbove(size_t residentLimit);

}  // namespace engine
