// Writes result rows to a stream as they are found, one line per hit, in the list's column
// order: book, sheet number, sheet name, column, row, text, formula, comment.
#pragma once

#include "cli/CommandLine.h"
#include "search/ResultRow.h"

#include <QByteArray>
#include <QString>
#include <cstdio>

class RowPrinter {
public:
    RowPrinter(OutputFormat format, FILE* out) : format_(format), out_(out) {}

    // Buffered: rows reach the stream in blocks, not one write per row.
    void Print(const ResultRow& row);
    void Flush() { std::fflush(out_); }
    // The UTF-8 line for one row, its line end included.
    QByteArray Format(const ResultRow& row) const;
    // `text` with every control character (C0, DEL, C1, U+2028, U+2029) written as \xHH or
    // \uHHHH, safe to show on a terminal.
    static QString Printable(const QString& text);

private:
    OutputFormat format_;
    FILE* out_;
};
