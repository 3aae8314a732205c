#include "engine/readers/csv/CsvDecoder.h"

#include <QStringDecoder>
#include <optional>

namespace engine {
namespace {

using Encoding = CsvDecoder::Encoding;

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

std::optional<Encoding> MarkedEncoding(const QByteArray& bytes) {
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) {
        return Encoding::Utf8Bom;
    }
    if (StartsWith(bytes, {0xFF, 0xFE})) {
        return Encoding::Utf16LE;
    }
    if (StartsWith(bytes, {0xFE, 0xFF})) {
        return Encoding::Utf16BE;
    }
    return std::nullopt;
}

// The text of valid UTF-8, or nothing. One call over all the bytes: a stateless decoder
// reports a sequence cut at the end of its input, which is then the end of the file.
std::optional<QString> DecodeUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

QString DecodeCp932(const QByteArray& bytes) {
    QStringDecoder decoder("windows-31j");
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
}

QString DecodeMarked(Encoding encoding, const QByteArray& bytes) {
    switch (encoding) {
        case Encoding::Utf8Bom:
            return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
        case Encoding::Utf16LE:
            return QStringDecoder(QStringDecoder::Utf16LE)(QByteArrayView(bytes).sliced(2));
        case Encoding::Utf16BE:
            return QStringDecoder(QStringDecoder::Utf16BE)(QByteArrayView(bytes).sliced(2));
        case Encoding::Utf8:
        case Encoding::Cp932:
            break;  // no mark names these
    }
    return {};
}

}  // namespace

CsvDecoder::Encoding CsvDecoder::Detect(const QByteArray& bytes) {
    if (const auto marked = MarkedEncoding(bytes)) {
        return *marked;
    }
    return DecodeUtf8(bytes) ? Encoding::Utf8 : Encoding::Cp932;
}

QString CsvDecoder::Decode(const QByteArray& bytes) {
    // Without a mark the bytes are decoded as UTF-8 once, and that text is kept when valid.
    QString text;
    if (const auto marked = MarkedEncoding(bytes)) {
        text = DecodeMarked(*marked, bytes);
    } else if (auto utf8 = DecodeUtf8(bytes)) {
        text = std::move(*utf8);
    } else {
        text = DecodeCp932(bytes);
    }
    text.remove(QChar(u'\0'));
    return text;
}

}  // namespace engine
