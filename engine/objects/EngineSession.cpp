#include "engine/objects/EngineSession.h"

#include "engine/model/EngineError.h"
#include "engine/model/Workbook.h"
#include "engine/objects/OpenBook.h"
#include "engine/readers/AllocatorTuning.h"
#include "engine/readers/BookOpener.h"
#include "engine/readers/BookReadAhead.h"

#include <QFileInfo>
#include <algorithm>

namespace engine {

EngineSession::EngineSession(Presenter* presenter)
    : presenter_(presenter), residentAtStart_(ResidentBytes()) {}

EngineSession::~EngineSession() = default;

void EngineSession::CheckRunning() const {
    if (quit_) {
        throw EngineError(EngineErrorKind::InvalidCall,
                          QStringLiteral("アプリケーションは既に終了しています。"));
    }
}

std::shared_ptr<OpenBook> EngineSession::Open(const QString& path) {
    CheckRunning();
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const auto& book : books_) {
        if (!canonical.isEmpty() && book->CanonicalPath() == canonical) {
            return book;
        }
    }
    std::shared_ptr<Workbook> workbook = readAhead_ ? readAhead_->Open(path) : OpenWorkbook(path);
    auto book = std::make_shared<OpenBook>(std::move(workbook), canonical, weak_from_this());
    books_.push_back(book);
    return book;
}

void EngineSession::ReadAhead(const QString& path) {
    CheckRunning();
    if (!readAhead_) {
        readAhead_ = std::make_unique<BookReadAhead>();
    }
    readAhead_->Add(path);
}

void EngineSession::Forget(const OpenBook& book) {
    std::erase_if(books_, [&](const auto& open) { return open.get() == &book; });
}

void EngineSession::Quit() {
    CheckRunning();
    if (readAhead_) {
        readAhead_->Stop();
    }
    const auto books = std::move(books_);
    books_.clear();
    for (const auto& book : books) {
        book->Close();
    }
    quit_ = true;
    visible_ = false;
}

}  // namespace engine
