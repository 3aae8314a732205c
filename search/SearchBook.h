// The search of one workbook: opens it in the running spreadsheet application, searches the
// used range of every worksheet with Find and FindNext, and hands one row per found cell to
// the sink as it is found. The workbook is closed on every path; errors are let out, running
// out of memory as a BookTooLarge naming the book.
#pragma once

#include "search/ConditionArguments.h"
#include "search/ResultRow.h"

#include "storage/Exception.h"

#include <QString>
#include <functional>

class TExcel;

namespace Excel {
class TWorkbook;
}

// A book that took more memory than there was: worth trying again another time.
class BookTooLarge : public Exception {
public:
    using Exception::Exception;
};

// `afterSearch`, when given, runs on the book after its search, before it is closed.
void SearchBook(TExcel& excel, const QString& path, const SearchConditions& conditions,
                const ResultRowSink& sink,
                const std::function<void(Excel::TWorkbook&)>& afterSearch = {});
