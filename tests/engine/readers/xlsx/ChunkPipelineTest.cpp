// The two-thread hand-over of inflated chunks: order kept, errors from either side raised to
// the caller after the other side has stopped, and the pipeline usable again afterwards.
#include "engine/readers/xlsx/ChunkPipeline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace engine {
namespace {

// A producer of `count` chunks, chunk i holding `size` copies of the letter 'a' + i % 26; it
// raises after `failAfter` chunks when that is not negative.
ChunkPipeline::Producer Letters(int count, size_t size, int failAfter = -1) {
    return [=](ChunkPipeline::Output& output) {
        for (int i = 0; i < count; ++i) {
            if (i == failAfter) {
                throw std::runtime_error("producer failed");
            }
            std::memset(output.Data(), 'a' + i % 26, size);
            output.Publish(size);
        }
    };
}

std::string Expected(int count, size_t size) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out.append(size, static_cast<char>('a' + i % 26));
    }
    return out;
}

TEST(ChunkPipeline, HandsEveryChunkOverInOrder) {
    ChunkPipeline pipeline;
    for (int count : {0, 1, 3, 100}) {
        std::string received;
        pipeline.Run(Letters(count, 1000), [&](std::string_view chunk) { received.append(chunk); });
        EXPECT_EQ(received, Expected(count, 1000)) << count << " chunks";
    }
}

TEST(ChunkPipeline, RaisesTheProducersErrorAfterTheChunksBeforeIt) {
    ChunkPipeline pipeline;
    std::string received;
    EXPECT_THROW(
        pipeline.Run(Letters(50, 10, 20), [&](std::string_view chunk) { received.append(chunk); }),
        std::runtime_error);
    EXPECT_EQ(received, Expected(20, 10));
}

TEST(ChunkPipeline, StopsTheProducerWhenTheConsumerFailsAndStaysUsable) {
    ChunkPipeline pipeline;
    int consumed = 0;
    try {
        pipeline.Run(Letters(1000, ChunkPipeline::BufferSize), [&](std::string_view) {
            if (++consumed == 5) {
                throw std::logic_error("consumer failed");
            }
        });
        ADD_FAILURE() << "no error raised";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "consumer failed");
    }
    EXPECT_EQ(consumed, 5);

    std::string received;
    pipeline.Run(Letters(30, 7), [&](std::string_view chunk) { received.append(chunk); });
    EXPECT_EQ(received, Expected(30, 7));
}

}  // namespace
}  // namespace engine
