// The workbook search's call sequence over the wrappers, step for step, collecting one hit
// per found cell: what the engine must answer exactly as the spreadsheet application does.
#pragma once

#include "automation/Texcel.h"

#include <QString>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace wrappersearch {

struct Hit {
    int sheet;
    QString sheetName;
    int column;
    int row;
    QString text;
    QString formula;
    QString comment;
    bool operator==(const Hit&) const = default;
};

inline void PrintTo(const Hit& h, std::ostream* os) {
    *os << h.sheet << " " << h.sheetName.toStdString() << " (" << h.column << "," << h.row
        << ") text=" << h.text.toStdString() << " formula=" << h.formula.toStdString()
        << " comment=" << h.comment.toStdString();
}

struct Conditions {
    QString word;
    int lookIn = -4163;
    int lookAt = 2;
    int searchOrder = 1;
    bool matchCase = false;
    bool matchByte = false;
};

inline std::vector<Hit> SearchBook(TExcel& excel, const QString& path, const Conditions& c) {
    std::vector<Hit> hits;
    Excel::TWorkbook book = excel.Workbooks().Open(path);
    try {
        const int count = book.WorkSheets().Count();
        for (int i = 1; i <= count; ++i) {
            Excel::TWorksheet sheet = book.WorkSheets().Item(i);
            const QString name = sheet.Name();
            Excel::TRange used = sheet.UsedRange();
            Excel::TRange current = used.Find(c.word, Variant::Missing(), c.lookIn, c.lookAt,
                                              c.searchOrder, 1, c.matchCase, c.matchByte);
            std::set<std::pair<int, int>> seen;
            while (current.Value().IsDispatch() && !current.Value().IsEmpty()) {
                const int column = current.Column();
                const int row = current.Row();
                if (!seen.insert({column, row}).second) {
                    break;
                }
                Excel::TComment comment = current.Comment();
                hits.push_back({i, name, column, row, current.Text(), current.Formula(),
                                comment.Value().IsEmpty() ? QString() : comment.Text()});
                current = used.FindNext(current);
            }
        }
    } catch (...) {
        book.Close();
        throw;
    }
    book.Close();
    return hits;
}

}  // namespace wrappersearch
