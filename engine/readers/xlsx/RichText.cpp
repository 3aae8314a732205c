#include "engine/readers/xlsx/RichText.h"

#include "engine/model/Cell.h"

namespace engine {
namespace {

int HexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

}  // namespace

void RichText::Start(std::string_view name) {
    if (name == "rPh") {
        ++phoneticDepth_;
    } else if (name == "t") {
        ++textDepth_;
    }
}

void RichText::End(std::string_view name) {
    if (name == "rPh" && phoneticDepth_ > 0) {
        --phoneticDepth_;
    } else if (name == "t" && textDepth_ > 0) {
        --textDepth_;
    }
}

void RichText::Characters(std::string_view text) {
    if (textDepth_ > 0 && phoneticDepth_ == 0 && text_.size() < MaxTextBytes) {
        text_.append(text);  // the pool cuts it to the cell's length; this bounds the reading
    }
}

QString RichText::Take() {
    QString text = DecodeEscapes(text_);
    text_.clear();
    phoneticDepth_ = 0;
    textDepth_ = 0;
    return text;
}

QString RichText::DecodeEscapes(std::string_view utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (utf8.find("_x") == std::string_view::npos) {
        return text;
    }
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            int value = 0;
            bool hex = true;
            for (qsizetype k = i + 2; k < i + 6 && hex; ++k) {
                const int digit = HexValue(text[k]);
                hex = digit >= 0;
                value = value * 16 + digit;
            }
            if (hex) {
                decoded += QChar(static_cast<char16_t>(value));
                i += 6;
                continue;
            }
        }
        decoded += text[i];
    }
    return decoded;
}

}  // namespace engine
