#include "engine/readers/BookReadAhead.h"
#include "engine/readers/BookOpener.h"
#include "engine/readers/WorkbookFile.h"

#include <QFileInfo>
#include <algorithm>

namespace engine {

BookReadAhead::BookReadAhead() = default;

BookReadAhead::~BookReadAhead() {
    Stop();
}

void BookReadAhead::Add(const QString& path) {
    const std::lock_guard lock(mutex_);
    if (stopping_) {
        return;
    }
    auto entry = std::make_shared<Entry>();
    entry->path = path;
    entries_.push_back(std::move(entry));
    if (workers_.empty()) {
        for (size_t i = 0; i < ReadPolicy::ReadAheadWorkers(); ++i) {
            workers_.emplace_back(&BookReadAhead::Work, this);
        }
    }
    changed_.notify_all();
}

std::unique_ptr<Workbook> BookReadAhead::Open(const QString& path) {
    std::unique_lock lock(mutex_);
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const auto& entry) { return entry->path == path; });
    if (found == entries_.end()) {
        lock.unlock();
        return OpenWorkbook(path);
    }
    const std::shared_ptr<Entry> entry = *found;
    // A worker still reading a dropped entry finishes it and lets it go.
    entries_.erase(entries_.begin(), found + 1);
    changed_.notify_all();
    // One not started yet is read at once rather than waited for.
    changed_.wait(lock, [&] { return entry->state != State::Reading; });
    lock.unlock();
    return entry->book ? std::move(entry->book) : OpenWorkbook(path);
}

void BookReadAhead::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        entries_.clear();
        changed_.notify_all();
    }
    for (std::thread& worker : workers_) {
        worker.join();
    }
    workers_.clear();
}

void BookReadAhead::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [&] { return stopping_ || NextQueued(); });
        if (stopping_) {
            return;
        }
        const std::shared_ptr<Entry> entry = NextQueued();
        entry->state = State::Reading;
        const QFileInfo file(entry->path);
        if (file.size() > MaxFileSize) {
            entry->state = State::Failed;
            continue;
        }
        entry->memory = ExpectedMemory(entry->path, file.size());
        // With other workbooks to read, the other cores have work: one thread per workbook.
        const ReadPolicy policy = OthersPending(*entry) ? ReadPolicy::OneThread() : ReadPolicy{};
        lock.unlock();
        std::unique_ptr<Workbook> book = Read(*entry, policy);
        const size_t memory = book ? book->MemoryBytes() : 0;
        lock.lock();
        entry->book = std::move(book);
        entry->state = entry->book ? State::Ready : State::Failed;
        entry->memory = memory;
        changed_.notify_all();
    }
}

std::shared_ptr<BookReadAhead::Entry> BookReadAhead::NextQueued() const {
    size_t memory = 0;
    const size_t end = std::min(MaxAhead, entries_.size());
    for (size_t i = 0; i < end && memory < MaxAheadMemory; ++i) {
        if (entries_[i]->state == State::Queued) {
            return entries_[i];
        }
        memory += entries_[i]->memory;
    }
    return nullptr;
}

bool BookReadAhead::OthersPending(const Entry& entry) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const auto& other) {
        return other.get() != &entry &&
               (other->state == State::Queued || other->state == State::Reading);
    });
}

size_t BookReadAhead::ExpectedMemory(const QString& path, qint64 fileSize) {
    // A zip package is about a tenth of its sheets' XML, and a cell's XML about as large as
    // its model; a .xls or .csv file is about as large as its cells.
    const bool zipped = WorkbookFile::Head(path, 2) == "PK";
    return size_t(fileSize) * (zipped ? 12 : 6);
}

std::unique_ptr<Workbook> BookReadAhead::Read(const Entry& entry, ReadPolicy policy) const {
    try {
        std::unique_ptr<Workbook> book = OpenWorkbook(entry.path, policy);
        for (int i = 0; i < book->SheetCount(); ++i) {
            if (stopping_) {
                return nullptr;
            }
            book->Sheet(i);
        }
        return book;
    } catch (...) {
        // Open raises it again, for the search to report.
        return nullptr;
    }
}

}  // namespace engine
