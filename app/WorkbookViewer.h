// The visible face of the embedded spreadsheet engine: a window that shows one workbook, a tab
// per worksheet with a read-only grid of displayed texts, and beside the grid the current
// cell's address, formula and comment. It can hand the workbook to the desktop's spreadsheet
// application at the current cell.
#pragma once

#include <QMainWindow>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTableView;
class SheetTableModel;

namespace engine {
class Workbook;
}

class WorkbookViewer : public QMainWindow {
    Q_OBJECT

public:
    explicit WorkbookViewer(QWidget* parent = nullptr);
    ~WorkbookViewer() override;

    void ShowWorkbook(std::shared_ptr<engine::Workbook> book);
    const engine::Workbook* Book() const { return book_.get(); }
    void SelectSheet(int sheetIndex);                      // 0-based
    void SelectCell(int sheetIndex, int row, int column);  // row and column 1-based

    int CurrentSheet() const;
    // The current cell as an address ("B3"); empty when nothing is selected.
    QString CurrentAddress() const;
    QString CurrentFormula() const;
    QString CurrentComment() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QTableView* SheetView(int sheetIndex);
    // The sheet's model, made when the sheet is first shown (reading it may fail).
    SheetTableModel* SheetModel(int sheetIndex);
    void UpdateCellPanel();
    void ActionOpenInSpreadsheetExecute();

    std::shared_ptr<engine::Workbook> book_;
    QTabWidget* SheetTabs;
    QLabel* LabelAddress;
    QLineEdit* EditFormula;
    QPlainTextEdit* MemoComment;
    QAction* ActionOpenInSpreadsheet;
};
