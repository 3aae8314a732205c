// The state of one engine application instance: its open workbooks, whether it was made
// visible, whether it has quit, and the conditions of its last Find (which FindNext reuses
// on a range that has not searched itself). Shared by the objects the application hands out.
#pragma once

#include "engine/find/FindOptions.h"

#include <QString>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace engine {

class BookReadAhead;
class OpenBook;
class Presenter;

class EngineSession : public std::enable_shared_from_this<EngineSession> {
public:
    // The presenter (may be null) shows what this application does while it is visible.
    explicit EngineSession(Presenter* presenter);
    ~EngineSession();

    // Raises EngineError once the application has quit.
    void CheckRunning() const;
    bool HasQuit() const { return quit_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    // The presenter while the application is visible; null when hidden or without one.
    Presenter* VisiblePresenter() const { return visible_ ? presenter_ : nullptr; }

    // Opens the workbook at `path`, or returns it when this application has it open.
    std::shared_ptr<OpenBook> Open(const QString& path);
    int OpenCount() const { return static_cast<int>(books_.size()); }
    // Names the next workbook Open will be asked for, so it can be read ahead.
    void ReadAhead(const QString& path);
    // Forgets a workbook that was closed.
    void Forget(const OpenBook& book);
    // Closes every workbook; later calls on the application's objects raise an error.
    void Quit();

    // Whether Find also finds the cells the application's Find passes over (hidden ones).
    bool FindsHiddenCells() const { return findsHiddenCells_; }
    void SetFindsHiddenCells(bool finds) { findsHiddenCells_ = finds; }

    // What the process held when this application started: reading is given its memory
    // beyond that, whatever a window or its caller holds besides.
    size_t ResidentAtStart() const { return residentAtStart_; }

    const std::optional<FindOptions>& LastFind() const { return lastFind_; }
    void SetLastFind(const FindOptions& options) { lastFind_ = options; }

private:
    Presenter* presenter_;
    size_t residentAtStart_;
    bool quit_ = false;
    bool visible_ = false;
    bool findsHiddenCells_ = false;
    std::vector<std::shared_ptr<OpenBook>> books_;
    std::unique_ptr<BookReadAhead> readAhead_;  // from the first workbook named
    std::optional<FindOptions> lastFind_;
};

}  // namespace engine
