#include "app/CellJump.h"

#include "automation/Tcsvutility.h"
#include "automation/Texcel.h"
#include "engine/objects/Presenter.h"
#include "storage/Exception.h"

namespace {

int IntegerOr1(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 1;
}

// The visible application's window is the presenter's; raising it stands for bringing the
// application's main window to the foreground. When it is not open there is nothing to raise.
void BringForward(engine::Presenter& window) {
    if (window.IsOpen()) {
        window.Raise();
    }
}

}  // namespace

JumpTarget CellJump::Target(const ResultRow& row) {
    JumpTarget target;
    target.path = row.Book;
    target.sheetNumber = IntegerOr1(row.SheetNumber);
    target.column = TCsvUtility::ColumnNameToIndex(row.Column) + 1;
    target.row = IntegerOr1(row.Row);
    return target;
}

void CellJump::Jump(const JumpTarget& target, const AutomationRegistry& servers,
                    engine::Presenter& window) {
    std::unique_ptr<TExcel> excel = TExcel::GetActiveObject(servers);
    if (!excel) {
        excel = TExcel::CreateObject(servers);
        if (!excel) {
            throw Exception(QStringLiteral("Excelを起動できませんでした。"));
        }
        excel->SetVisible(true);
    }
    Excel::TWorkbook book = excel->Workbooks().Open(target.path);
    Excel::TWorksheet sheet = book.WorkSheets().Item(target.sheetNumber);
    sheet.Activate();
    sheet.Cells(target.column, target.row).Activate();
    BringForward(window);
    // Leaving scope releases every reference without quitting the application.
}
