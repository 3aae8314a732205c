// The engine's visible face. The engine itself has no windows: a front end that can show
// workbooks (the main program's viewer) hands the engine server a presenter; without one,
// making the application visible is accepted and shows nothing (command line, tests).
#pragma once

#include <memory>

namespace engine {

class Workbook;

class Presenter {
public:
    virtual ~Presenter() = default;
    // The application was made visible.
    virtual void Show() = 0;
    // A workbook was opened in a visible application; the presenter keeps it while shown.
    virtual void ShowWorkbook(std::shared_ptr<Workbook> book) = 0;
    // A worksheet (0-based position) of a shown workbook was activated.
    virtual void SelectSheet(const Workbook& book, int sheetIndex) = 0;
    // A cell (1-based) of a shown workbook's worksheet was activated.
    virtual void SelectCell(const Workbook& book, int sheetIndex, int row, int column) = 0;
    // Brings the presenter's window to the front.
    virtual void Raise() = 0;
    // While the presenter is open, the visible application counts as running.
    virtual bool IsOpen() const = 0;
};

}  // namespace engine
