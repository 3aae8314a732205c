// Reads the workbooks a search is about to open on the other cores, in the order they were
// named and ahead of the one being searched, so that Open finds them read. It is only a cache:
// a workbook whose reading failed is opened afresh by Open, which then raises the error it
// would have raised without reading ahead. A file is read ahead shortly before its Open, as if
// the search had reached it that much earlier.
#pragma once

#include "engine/model/Workbook.h"
#include "engine/readers/ReadPolicy.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace engine {

class BookReadAhead {
public:
    // Workbooks are read while fewer than this many are read or being read and not yet
    // opened, and they hold less than MaxAheadMemory: a large workbook being read does not
    // stall the small ones after it, and the memory they hold stays bounded. A workbook read
    // counts what its model holds; one being read, an estimate from its file's size.
    static constexpr size_t MaxAhead = 64;
    static constexpr size_t MaxAheadMemory = size_t{32} << 20;
    // Larger files are left to Open: they would hold much memory, and stopping waits for them.
    static constexpr qint64 MaxFileSize = qint64{32} << 20;

    BookReadAhead();
    ~BookReadAhead();  // stops
    BookReadAhead(const BookReadAhead&) = delete;
    BookReadAhead& operator=(const BookReadAhead&) = delete;

    // Adds the next workbook to be opened. Ignored once stopped.
    void Add(const QString& path);
    // The workbook at `path`: the one read ahead for it with all its sheets (waiting while it
    // is being read), else opened now. Raises what OpenWorkbook raises. Paths added before it
    // and not opened are dropped.
    std::unique_ptr<Workbook> Open(const QString& path);
    // Drops what is queued and waits for the workbooks being read (they stop between sheets).
    void Stop();

private:
    enum class State { Queued, Reading, Ready, Failed };
    struct Entry {
        QString path;
        State state = State::Queued;
        size_t memory = 0;  // what it holds or is expected to, once claimed
        std::unique_ptr<Workbook> book;
    };

    void Work();
    // The memory a workbook of this file is expected to take once read.
    static size_t ExpectedMemory(const QString& path, qint64 fileSize);
    // The next queued entry the limits allow reading now, or null; called with the mutex held.
    std::shared_ptr<Entry> NextQueued() const;
    // Whether any entry other than `entry` is queued or being read; called with the mutex held.
    bool OthersPending(const Entry& entry) const;
    // The workbook with all its sheets read, or null when it fails or reading stops.
    std::unique_ptr<Workbook> Read(const Entry& entry, ReadPolicy policy) const;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Entry>> entries_;  // in the order added, the next to take first
    std::vector<std::thread> workers_;
    std::atomic<bool> stopping_ = false;
};

}  // namespace engine
