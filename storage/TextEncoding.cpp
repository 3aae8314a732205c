#include "storage/TextEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr char kUtf16LeBom[] = "\xFF\xFE";
constexpr char kUtf16BeBom[] = "\xFE\xFF";
// ICU's name for the Windows Japanese code page (Shift_JIS with the NEC and IBM extensions).
constexpr char kCp932Name[] = "windows-31j";

// The mark is stripped by the caller, so a second one in the text stays in it.
constexpr auto kKeepBom = QStringConverter::Flag::ConvertInitialBom;

QString DecodeWith(QStringDecoder decoder, QByteArrayView bytes) {
    return decoder.decode(bytes);
}

}  // namespace

QString TextEncoding::Decode(const QByteArray& bytes, TextEncoding& detected) {
    const QByteArrayView view(bytes);
    if (view.startsWith(kUtf8Bom)) {
        detected = TextEncoding(Kind::Utf8Bom);
        return DecodeWith(QStringDecoder(QStringConverter::Utf8, kKeepBom), view.sliced(3));
    }
    if (view.startsWith(kUtf16LeBom) || view.startsWith(kUtf16BeBom)) {
        const bool little = view.startsWith(kUtf16LeBom);
        detected = TextEncoding(little ? Kind::Utf16LeBom : Kind::Utf16BeBom);
        QByteArrayView body = view.sliced(2);
        body.truncate(body.size() & ~qsizetype(1));  // a truncated file may end in half a unit
        return DecodeWith(
            QStringDecoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                           kKeepBom),
            body);
    }
    QStringDecoder system(QStringConverter::System, kKeepBom);
    const QString text = system.decode(view);
    QStringDecoder cp932(kCp932Name, kKeepBom);
    if (!system.hasError() || !cp932.isValid()) {
        detected = TextEncoding(Kind::System);
        return text;
    }
    detected = TextEncoding(Kind::Cp932);
    return cp932.decode(view);
}

QByteArray TextEncoding::Encode(const QString& text) {
    switch (kind_) {
        case Kind::System:
        case Kind::Cp932: {
            QStringEncoder encoder = kind_ == Kind::System
                                         ? QStringEncoder(QStringConverter::System)
                                         : QStringEncoder(kCp932Name);
            QByteArray bytes = encoder.encode(text);
            if (encoder.isValid() && !encoder.hasError()) {
                return bytes;
            }
            kind_ = Kind::Utf8Bom;
            return Encode(text);
        }
        case Kind::Utf8Bom:
            return QByteArray(kUtf8Bom) + text.toUtf8();
        case Kind::Utf16LeBom:
            return QByteArray(kUtf16LeBom) + QStringEncoder(QStringConverter::Utf16LE).encode(text);
        case Kind::Utf16BeBom:
            return QByteArray(kUtf16BeBom) + QStringEncoder(QStringConverter::Utf16BE).encode(text);
    }
    return {};
}
