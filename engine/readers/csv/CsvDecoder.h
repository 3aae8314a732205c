// Turns the bytes of a .csv file into text: a byte-order mark decides (UTF-8, UTF-16 LE or
// BE); without one, bytes that are valid UTF-8 are read as UTF-8 and anything else as CP932,
// the Japanese system code page. NUL characters are dropped.
#pragma once

#include <QByteArray>
#include <QString>

namespace engine {

class CsvDecoder {
public:
    enum class Encoding { Utf8Bom, Utf16LE, Utf16BE, Utf8, Cp932 };

    static Encoding Detect(const QByteArray& bytes);
    static QString Decode(const QByteArray& bytes);
};

}  // namespace engine
