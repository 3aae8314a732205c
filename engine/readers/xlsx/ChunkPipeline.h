// Runs a producer of byte chunks (inflating a zip member) on a second thread while the
// calling thread consumes the chunks already made (scanning a worksheet), so on two cores the
// inflate and the parsing overlap. A few fixed buffers pass between the threads: memory stays
// bounded however large the member is. The worker thread starts on first use and lives as
// long as the pipeline.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace engine {

class ChunkPipeline {
public:
    static constexpr size_t BufferSize = 256 * 1024;
    static constexpr size_t BufferCount = 4;

    // What the producer writes into: it fills `Data()` (BufferSize bytes) and publishes
    // `size` of them. Publish returns false once the consumer has stopped; the producer
    // then returns.
    class Output {
    public:
        char* Data();
        bool Publish(size_t size);

    private:
        friend class ChunkPipeline;
        explicit Output(ChunkPipeline& pipeline) : pipeline_(pipeline) {}
        ChunkPipeline& pipeline_;
        char* slot_ = nullptr;
    };
    using Producer = std::function<void(Output& output)>;
    using Consumer = std::function<void(std::string_view chunk)>;

    ChunkPipeline() = default;
    ~ChunkPipeline();
    ChunkPipeline(const ChunkPipeline&) = delete;
    ChunkPipeline& operator=(const ChunkPipeline&) = delete;

    // Runs `produce` on the worker and hands its chunks, in order, to `consume` here. An
    // exception from either side stops both and is raised here once the worker is idle;
    // chunks made before a producer's exception are consumed first.
    void Run(const Producer& produce, const Consumer& consume);

private:
    struct Chunk {
        char* data;
        size_t size;
    };

    void WorkerLoop();
    char* AcquireFree();
    bool Commit(char* slot, size_t size);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread worker_;
    std::vector<std::vector<char>> buffers_;
    std::vector<char*> free_;
    std::vector<Chunk> full_;  // in production order
    const Producer* job_ = nullptr;
    bool jobDone_ = true;
    bool stopConsuming_ = false;  // the consumer failed: the producer should stop
    bool quit_ = false;
    std::exception_ptr producerError_;
};

}  // namespace engine
