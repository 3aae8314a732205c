// How the process's allocator should treat the buffers reading makes. The program entry
// applies it once, before the first search; the library never changes the process on its own.
#pragma once

namespace engine {

// A search reads each workbook into sheet-sized buffers and frees them before the next:
// keeping freed memory in the process spares the system unmapping it and handing it back
// zeroed page by page for every workbook.
void KeepFreedReadBuffers();

}  // namespace engine
