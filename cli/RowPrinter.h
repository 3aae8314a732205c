// Writes result rows to a stream as they are found, one line per hit, in the list's column
// order: book, sheet number, sheet name, column, row, text, formula, comment.
#pragma once

#include "cli/CommandLine.h"
#include "search/ResultRow.h"

#include <QByteArray>
#include <cstdio>

class RowPrinter {
public:
    RowPrinter(OutputFormat format, FILE* out) : format_(format), out_(out) {}

    // Buffered: rows reach the stream in blocks, not one write per row.
    void Print(const ResultRow& row);
    void Flush() { std::fflush(out_); }
    // The UTF-8 line for one row, its line end included.
    QByteArray Format(const ResultRow& row) const;

private:
    OutputFormat format_;
    FILE* out_;
};
