#include "engine/readers/xlsx/ChunkPipeline.h"

namespace engine {
namespace {

// Unwinds the producer once the consumer has given up; never reaches the caller.
struct ConsumerStopped {};

}  // namespace

char* ChunkPipeline::Output::Data() {
    if (!slot_) {
        slot_ = pipeline_.AcquireFree();
    }
    return slot_;
}

bool ChunkPipeline::Output::Publish(size_t size) {
    if (size == 0) {
        return true;  // keep the buffer for the next chunk
    }
    const bool open = pipeline_.Commit(slot_, size);
    slot_ = nullptr;
    return open;
}

ChunkPipeline::~ChunkPipeline() {
    if (worker_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        worker_.join();
    }
}

void ChunkPipeline::Run(const Producer& produce, const Consumer& consume) {
    {
        std::lock_guard lock(mutex_);
        if (!worker_.joinable()) {
            buffers_.assign(BufferCount, std::vector<char>(BufferSize));
            worker_ = std::thread(&ChunkPipeline::WorkerLoop, this);
        }
        free_.clear();
        for (auto& buffer : buffers_) {
            free_.push_back(buffer.data());
        }
        full_.clear();
        stopConsuming_ = false;
        producerError_ = nullptr;
        job_ = &produce;
        jobDone_ = false;
    }
    changed_.notify_all();

    std::exception_ptr consumerError;
    while (!consumerError) {
        Chunk chunk{};
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return !full_.empty() || jobDone_; });
            if (full_.empty()) {
                break;  // the producer is done and every chunk consumed
            }
            chunk = full_.front();
            full_.erase(full_.begin());
        }
        try {
            consume(std::string_view(chunk.data, chunk.size));
        } catch (...) {
            consumerError = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            free_.push_back(chunk.data);
            stopConsuming_ = consumerError != nullptr;
        }
        changed_.notify_all();
    }

    std::exception_ptr producerError;
    {
        // The producer reads the caller's data: it must be idle before Run returns.
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return jobDone_; });
        job_ = nullptr;
        producerError = producerError_;
    }
    if (consumerError) {
        std::rethrow_exception(consumerError);
    }
    if (producerError) {
        std::rethrow_exception(producerError);
    }
}

void ChunkPipeline::WorkerLoop() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return quit_ || (job_ && !jobDone_); });
        if (quit_) {
            return;
        }
        const Producer* job = job_;
        lock.unlock();
        std::exception_ptr error;
        try {
            Output output(*this);
            (*job)(output);
        } catch (const ConsumerStopped&) {
            // The consumer's own error is the one raised.
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        producerError_ = error;
        jobDone_ = true;
        changed_.notify_all();
    }
}

char* ChunkPipeline::AcquireFree() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !free_.empty() || stopConsuming_; });
    if (stopConsuming_) {
        throw ConsumerStopped{};
    }
    char* slot = free_.back();
    free_.pop_back();
    return slot;
}

bool ChunkPipeline::Commit(char* slot, size_t size) {
    {
        std::lock_guard lock(mutex_);
        if (stopConsuming_) {
            return false;
        }
        full_.push_back(Chunk{slot, size});
    }
    changed_.notify_all();
    return true;
}

}  // namespace engine
