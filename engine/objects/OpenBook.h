// A workbook as an engine application holds it open: the model, the active sheet and cell
// it records, and the closed state that makes later calls on its objects fail cleanly.
#pragma once

#include "engine/model/Worksheet.h"

#include <QString>
#include <memory>

namespace engine {

class EngineSession;
class Presenter;
class Workbook;

class OpenBook {
public:
    OpenBook(std::shared_ptr<Workbook> book, QString canonicalPath,
             std::weak_ptr<EngineSession> session);

    // The model; raises EngineError once the workbook is closed or its application quit.
    Workbook& Book();
    std::shared_ptr<Workbook> Shared() const { return book_; }
    // The worksheet at the 0-based position, read on first access.
    Worksheet& Sheet(int index);
    const QString& CanonicalPath() const { return canonicalPath_; }
    // The owning application's state; null once that application is gone.
    std::shared_ptr<EngineSession> Session() const { return session_.lock(); }

    void Close();

    // Records the active sheet or cell and shows it when the application is visible.
    void ActivateSheet(int index);
    void ActivateCell(int index, int32_t row, int32_t column);
    int ActiveSheet() const { return activeSheet_; }
    int32_t ActiveRow() const { return activeRow_; }
    int32_t ActiveColumn() const { return activeColumn_; }

private:
    // The presenter while the owning application is visible, else null.
    Presenter* VisiblePresenter() const;

    std::shared_ptr<Workbook> book_;
    QString canonicalPath_;
    std::weak_ptr<EngineSession> session_;
    int activeSheet_ = 0;
    int32_t activeRow_ = 1;
    int32_t activeColumn_ = 1;
};

}  // namespace engine
