// The workbook search, entirely through the automation wrappers: the application decides
// which cells match and in which order; this side only notices the first repeated cell.
#include "search/SearchBook.h"

#include "automation/Tcsvutility.h"
#include "automation/Texcel.h"
#include "search/Tfoundresult.h"

#include <QDir>
#include <new>
#include <stdexcept>

#include <set>

namespace {

// The Find arguments, resolved once per workbook.
struct FindArguments {
    QString what;
    Variant after = Variant::Missing();
    int lookIn = 0;
    int lookAt = 0;
    int searchOrder = 0;
    bool matchCase = false;
    bool matchByte = false;
};

bool IsFoundCell(const Excel::TRange& cell) {
    return cell.Value().IsDispatch() && !cell.Value().IsEmpty();
}

ResultRow ReadRow(Excel::TRange& cell, const TFoundResult& key, const QString& path,
                  int sheetNumber, const QString& sheetName) {
    ResultRow row;
    row.Book = path;
    row.SheetNumber = QString::number(sheetNumber);
    row.SheetName = sheetName;
    row.Column = TCsvUtility::ColumnIndexToName(key.Column - 1);
    row.Row = QString::number(key.Row);
    row.Text = cell.Text();
    row.Formula = cell.Formula();
    Excel::TComment comment = cell.Comment();
    if (!comment.Value().IsEmpty()) {
        row.Comment = comment.Text();
    }
    return row;
}

void SearchSheet(Excel::TWorksheet& sheet, int sheetNumber, const QString& path,
                 const FindArguments& find, const ResultRowSink& sink) {
    const QString sheetName = sheet.Name();
    Excel::TRange used = sheet.UsedRange();
    Excel::TRange cell =
        used.Find(find.what, find.after, find.lookIn, find.lookAt, find.searchOrder,
                  SearchDirectionNext, find.matchCase, find.matchByte);
    std::set<TFoundResult> reported;
    while (IsFoundCell(cell)) {
        const TFoundResult key{cell.Column(), cell.Row()};
        if (!reported.insert(key).second) {
            break;  // Find-next came round to a reported cell: the worksheet is done
        }
        sink(ReadRow(cell, key, path, sheetNumber, sheetName));
        cell = used.FindNext(cell);
    }
}

void SearchSheets(Excel::TWorkbook& book, const QString& path, const FindArguments& find,
                  const ResultRowSink& sink) {
    const int count = book.WorkSheets().Count();
    for (int i = 1; i <= count; ++i) {
        Excel::TWorksheet sheet = book.WorkSheets().Item(i);
        SearchSheet(sheet, i, path, find, sink);
    }
}

BookTooLarge TooLarge(const QString& path) {
    return BookTooLarge(QStringLiteral("ファイル「%1」は大きすぎるため検索できません。")
                            .arg(QDir::toNativeSeparators(path)));
}

}  // namespace

void SearchBook(TExcel& excel, const QString& path, const SearchConditions& conditions,
                const ResultRowSink& sink,
                const std::function<void(Excel::TWorkbook&)>& afterSearch) {
    FindArguments find;
    find.what = conditions.Word;
    find.lookIn = LookInArgument(conditions);
    find.lookAt = LookAtArgument(conditions);
    find.searchOrder = SearchOrderArgument(conditions);
    find.matchCase = conditions.MatchCase;
    find.matchByte = conditions.MatchByte;

    try {
        Excel::TWorkbook book = excel.Workbooks().Open(path);
        try {
            SearchSheets(book, path, find, sink);
            if (afterSearch) {
                afterSearch(book);
            }
        } catch (...) {
            // The search's own error is the one to report; a failing Close must not hide it.
            try {
                book.Close();
            } catch (...) {
            }
            throw;
        }
        book.Close();
    } catch (const std::bad_alloc&) {
        // Reading, finding or handing on the rows ran out of memory; what the book took is
        // freed by now, so the run can report it and go on.
        throw TooLarge(path);
    } catch (const std::length_error&) {
        throw TooLarge(path);  // a size beyond what a container holds: the same for the user
    }
}
