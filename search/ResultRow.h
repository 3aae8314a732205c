// One hit as the result list shows it: the caption and the seven sub-items, all texts.
// The jump to a cell reads Book, SheetNumber, Column and Row back from it.
#pragma once

#include <QString>
#include <functional>

struct ResultRow {
    QString Book;         // full path of the workbook, as collected
    QString SheetNumber;  // 1-based position in the worksheet collection, decimal
    QString SheetName;
    QString Column;  // column letters, "A" for column 1
    QString Row;     // decimal
    QString Text;    // displayed text
    QString Formula;
    QString Comment;  // empty when the cell has no comment

    bool operator==(const ResultRow&) const = default;
};

// Where the workbook search delivers each row as it is found.
using ResultRowSink = std::function<void(const ResultRow&)>;
