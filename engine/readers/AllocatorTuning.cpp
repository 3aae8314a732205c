#include "engine/readers/AllocatorTuning.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

namespace engine {

void KeepFreedReadBuffers() {
    mallopt(M_MMAP_THRESHOLD, 128 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

size_t ResidentBytes() {
    // The second field of statm: resident pages.
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) {
        return 0;
    }
    unsigned long size = 0;
    unsigned long resident = 0;
    const bool read = std::fscanf(statm, "%lu %lu", &size, &resident) == 2;
    std::fclose(statm);
    return read ? resident * size_t(sysconf(_SC_PAGESIZE)) : 0;
}

void ReturnFreedMemoryAbove(size_t residentLimit) {
    if (ResidentBytes() > residentLimit) {
        malloc_trim(0);
    }
}

}  // namespace engine
