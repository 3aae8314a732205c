// The thread budget of reading, decided here once: how many threads read workbooks ahead of a
// search, and how many one workbook's reading may use. With two, a large sheet is read in two
// halves at once and a streamed member inflates ahead of its scan; with one, everything stays
// on the calling thread, for a workbook read while others are read on the other cores.
#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>

namespace engine {

struct ReadPolicy {
    // Threads one workbook's reading may use: 1 or 2.
    int threads = 2;

    bool MayUseSecondThread() const { return threads > 1; }

    static ReadPolicy OneThread() { return ReadPolicy{1}; }
    // Workbooks read at once ahead of a search: one per core, at most two.
    static size_t ReadAheadWorkers() {
        return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 2);
    }
};

}  // namespace engine
