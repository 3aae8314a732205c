#include "engine/csv/CsvDecoder.h"

#include <QStringDecoder>

namespace engine {
namespace {

bool StartsWith(const QByteArray& bytes, std::initializer_list<unsigned char> prefix) {
    if (bytes.size() < static_cast<qsizetype>(prefix.size())) {
        return false;
    }
    qsizetype i = 0;
    for (unsigned char b : prefix) {
        if (static_cast<unsigned char>(bytes[i++]) != b) {
            return false;
        }
    }
    return true;
}

bool IsValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // Decoding is the simplest exact check; the result is discarded in chunks to keep the
    // memory of the check small.
    constexpr qsizetype Chunk = 1 << 20;
    for (qsizetype at = 0; at < bytes.size(); at += Chunk) {
        const QString part =
            decoder.decode(QByteArrayView(bytes).sliced(at, std::min(Chunk, bytes.size() - at)));
        if (decoder.hasError()) {
            return false;
        }
    }
    // A sequence cut at the end of the file is not valid either.
    const QString rest = decoder.decode(QByteArrayView());
    return !decoder.hasError() && rest.isEmpty();
}

}  // namespace

CsvDecoder::Encoding CsvDecoder::Detect(const QByteArray& bytes) {
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) {
        return Encoding::Utf8Bom;
    }
    if (StartsWith(bytes, {0xFF, 0xFE})) {
        return Encoding::Utf16LE;
    }
    if (StartsWith(bytes, {0xFE, 0xFF})) {
        return Encoding::Utf16BE;
    }
    return IsValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Cp932;
}

QString CsvDecoder::Decode(const QByteArray& bytes) {
    QString text;
    switch (Detect(bytes)) {
        case Encoding::Utf8Bom:
            text = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
            break;
        case Encoding::Utf16LE:
            text = QStringDecoder(QStringDecoder::Utf16LE)(QByteArrayView(bytes).sliced(2));
            break;
        case Encoding::Utf16BE:
            text = QStringDecoder(QStringDecoder::Utf16BE)(QByteArrayView(bytes).sliced(2));
            break;
        case Encoding::Utf8:
            text = QString::fromUtf8(bytes);
            break;
        case Encoding::Cp932: {
            QStringDecoder decoder("windows-31j");
            text = decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
            break;
        }
    }
    text.remove(QChar(u'\0'));
    return text;
}

}  // namespace engine
