#include "engine/readers/AllocatorTuning.h"

#include <malloc.h>

namespace engine {

void KeepFreedReadBuffers() {
    mallopt(M_MMAP_THRESHOLD, 128 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

}  // namespace engine
