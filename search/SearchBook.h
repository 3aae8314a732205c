// The search of one workbook: opens it in the running spreadsheet application, searches the
// used range of every worksheet with Find and FindNext, and hands one row per found cell to
// the sink as it is found. The workbook is closed on every path; errors are let out, running
// out of memory as an Exception naming the book.
#pragma once

#include "search/ConditionArguments.h"
#include "search/ResultRow.h"

#include <QString>

class TExcel;

void SearchBook(TExcel& excel, const QString& path, const SearchConditions& conditions,
                const ResultRowSink& sink);
