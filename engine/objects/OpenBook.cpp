#include "engine/objects/OpenBook.h"

#include "engine/model/EngineError.h"
#include "engine/model/Workbook.h"
#include "engine/objects/EngineSession.h"
#include "engine/objects/Presenter.h"
#include "engine/readers/AllocatorTuning.h"

namespace engine {
namespace {

// Closing a workbook this large gives the memory it leaves behind back to the system, when
// the process holds more than ReadingLimit beyond what it held when the application started.
constexpr size_t LargeBookBytes = size_t{16} << 20;
constexpr size_t ReadingLimit = size_t{132} << 20;

}  // namespace

OpenBook::OpenBook(std::shared_ptr<Workbook> book, QString canonicalPath,
                   std::weak_ptr<EngineSession> session)
    : book_(std::move(book)),
      canonicalPath_(std::move(canonicalPath)),
      session_(std::move(session)) {}

Workbook& OpenBook::Book() {
    if (const auto session = session_.lock()) {
        session->CheckRunning();
    }
    if (!book_) {
        throw EngineError(EngineErrorKind::InvalidCall,
                          QStringLiteral("ブックは既に閉じられています。"));
    }
    return *book_;
}

Worksheet& OpenBook::Sheet(int index) {
    return Book().Sheet(index);
}

void OpenBook::Close() {
    const size_t bytes = Book().MemoryBytes();  // closing twice is an error, as with any call
    book_.reset();
    const auto session = session_.lock();
    if (bytes >= LargeBookBytes) {
        ReturnFreedMemoryAbove((session ? session->ResidentAtStart() : 0) + ReadingLimit);
    }
    if (session && !session->HasQuit()) {
        session->Forget(*this);
    }
}

void OpenBook::ActivateSheet(int index) {
    Sheet(index);
    activeSheet_ = index;
    if (Presenter* presenter = VisiblePresenter()) {
        presenter->SelectSheet(*book_, index);
    }
}

void OpenBook::ActivateCell(int index, int32_t row, int32_t column) {
    Sheet(index);
    activeSheet_ = index;
    activeRow_ = row;
    activeColumn_ = column;
    if (Presenter* presenter = VisiblePresenter()) {
        presenter->SelectCell(*book_, index, row, column);
    }
}

Presenter* OpenBook::VisiblePresenter() const {
    const auto session = session_.lock();
    return session ? session->VisiblePresenter() : nullptr;
}

}  // namespace engine
