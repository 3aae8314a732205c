// What tells that a workbook file is the one an index entry was made from: its size, its
// modification time and a hash of its first and last bytes (a rewrite that keeps size and
// time almost always changes a zip's central directory or a compound file's header).
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

struct BookStamp {
    qint64 size = 0;
    qint64 modified = 0;  // milliseconds since the epoch
    QByteArray hash;

    // Nothing when the file cannot be read.
    static std::optional<BookStamp> Of(const QString& path);
    bool operator==(const BookStamp&) const = default;
};
