// Freed memory is handed back by comparing what the process holds with a limit: a misread
// resident size would either never trim or trim after every large workbook.
#include "engine/readers/AllocatorTuning.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

TEST(AllocatorTuning, ResidentBytesFollowsMemoryTheProcessTouches) {
    const size_t before = engine::ResidentBytes();
    ASSERT_GT(before, size_t{1} << 20);  // at least the program and its libraries
    constexpr size_t touched = size_t{64} << 20;
    const auto block = std::make_unique<char[]>(touched);
    std::memset(block.get(), 1, touched);
    const size_t after = engine::ResidentBytes();
    EXPECT_GE(after, before + touched / 2);
    EXPECT_LT(after, before + 4 * touched);
    EXPECT_EQ(block[touched - 1], 1);
}

}  // namespace
