// The jump from a result row to its cell: attach to the running spreadsheet application (or
// start a visible one), open the row's workbook, activate its sheet and cell, and bring the
// application forward. The application is left running.
#pragma once

#include "search/ResultRow.h"

#include <QString>

class AutomationRegistry;

namespace engine {
class Presenter;
}  // namespace engine

struct JumpTarget {
    QString path;
    int sheetNumber = 1;  // 1-based position in the worksheet collection
    int column = 0;       // 1-based; 0 when the letters do not convert
    int row = 1;          // 1-based
};

class CellJump {
public:
    // Reads the target back from the row texts: a sheet number or row that is not an integer
    // counts as 1; column letters that do not convert give column 0.
    static JumpTarget Target(const ResultRow& row);
    // Attaches to or starts the application among `servers`; `window` is the one to bring
    // forward at the end. Raises Exception (automation errors included) when a step fails;
    // what happened before the failing step stays (an application started here stays open
    // and visible).
    static void Jump(const JumpTarget& target, const AutomationRegistry& servers,
                     engine::Presenter& window);
};
