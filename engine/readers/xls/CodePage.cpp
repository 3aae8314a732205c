#include "engine/readers/xls/CodePage.h"

namespace engine {
namespace {

QByteArray EncodingName(int id) {
    switch (id) {
        case 367:
            return "US-ASCII";
        case 932:
            return "windows-31j";
        case 936:
            return "GBK";
        case 949:
            return "windows-949";
        case 950:
            return "Big5";
        case 1200:
        case 1201:
            return {};  // BIFF8's marker for Unicode strings: none of the 8-bit strings use it
        case 10000:
        case 32768:  // 0x8000: the Mac Roman marker
            return "macintosh";
        case 32769:  // 0x8001: an old marker for the Windows Western code page
            return "windows-1252";
        default:
            break;
    }
    if (id >= 1250 && id <= 1258) {
        return "windows-" + QByteArray::number(id);
    }
    if (id > 0 && id < 1000) {
        return "IBM" + QByteArray::number(id);
    }
    return {};
}

}  // namespace

CodePage::CodePage(int id) {
    const QByteArray name = EncodingName(id);
    if (!name.isEmpty()) {
        decoder_ = QStringDecoder(name.constData());
    }
}

QString CodePage::Decode(QByteArrayView bytes) {
    if (!decoder_.isValid()) {
        return QString::fromLatin1(bytes);
    }
    decoder_.resetState();
    return decoder_.decode(bytes);
}

}  // namespace engine
