// Result rows as table text, for the clipboard and the export files: a header line of the
// column captions, then one line per row, lines ending in CR LF. A field that holds the
// separator, a double quote or a line break is enclosed in double quotes with inner quotes
// doubled, as spreadsheet applications write and read them.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class ResultListModel;

class ResultTableText {
public:
    enum class Format { Tsv, Csv };

    // `rows` are shown positions, `columns` column indexes, both in the order to write.
    static QString Build(const ResultListModel& model, const std::vector<int>& rows,
                         const std::vector<int>& columns, Format format);
    // The bytes of an export file: UTF-8, a CSV file with a byte-order mark so that a
    // spreadsheet application reads it as UTF-8.
    static QByteArray FileBytes(const QString& text, Format format);
};
