// The text encoding of a settings or project file, chosen from its first bytes so that a rewrite
// keeps it: a UTF-8 or UTF-16 byte-order mark keeps that encoding and its mark; text without a
// mark is the locale's code set when it decodes cleanly, else CP932 (files from Japanese Windows).
#pragma once

#include <QByteArray>
#include <QString>

class TextEncoding {
public:
    enum class Kind { System, Cp932, Utf8Bom, Utf16LeBom, Utf16BeBom };

    // The encoding of a new file.
    TextEncoding() = default;
    explicit TextEncoding(Kind kind) : kind_(kind) {}

    // Detects the encoding of the bytes and decodes them. An incomplete trailing UTF-16 unit is
    // dropped; undecodable bytes become replacement characters.
    static QString Decode(const QByteArray& bytes, TextEncoding& detected);

    // Encodes the text with its mark, if any. A text that CP932 or the locale's code set cannot
    // represent is written as UTF-8 with a mark instead, so a save never loses characters; the
    // encoding then changes to that.
    QByteArray Encode(const QString& text);

    Kind GetKind() const { return kind_; }

private:
    Kind kind_ = Kind::System;
};
