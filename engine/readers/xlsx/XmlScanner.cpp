#include "engine/readers/xlsx/XmlScanner.h"

#include "engine/model/ReadError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace engine {
namespace {

// Enough of the document's start to hold a byte order mark and the XML declaration.
constexpr size_t PrologueBytes = 512;
// A longer run of character data is handed on in pieces, so it is never buffered whole.
constexpr size_t MaxPendingText = 64 * 1024;
// The longest entity or character reference ("&#x0010FFFF;" and a margin).
constexpr size_t MaxReferenceLength = 16;
// No markup a workbook writes comes near this; a longer tag or comment is a hostile file.
constexpr size_t MaxMarkupBytes = size_t{16} << 20;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Byte classes for the tight loops over tags.
enum : uint8_t { Plain = 0, EndsName = 1, Quote = 2, Close = 4, Open = 8 };

constexpr auto ByteClasses = [] {
    std::array<uint8_t, 256> classes{};
    for (unsigned char c : {' ', '\t', '\n', '\r', '/'}) {
        classes[c] = EndsName;
    }
    classes[static_cast<unsigned char>('"')] = Quote;
    classes[static_cast<unsigned char>('\'')] = Quote;
    classes[static_cast<unsigned char>('>')] = EndsName | Close;
    classes[static_cast<unsigned char>('<')] = EndsName | Open;
    return classes;
}();

uint8_t ClassOf(char c) {
    return ByteClasses[static_cast<unsigned char>(c)];
}

// The first '<' in [p, end), or end. Text between tags is mostly a few bytes long: a plain
// loop beats a library call there.
const char* FindOpen(const char* p, const char* end) {
    for (int i = 0; i < 16 && p < end; ++i, ++p) {
        if (*p == '<') {
            return p;
        }
    }
    const void* found = p < end ? std::memchr(p, '<', size_t(end - p)) : nullptr;
    return found ? static_cast<const char*>(found) : end;
}

// Where the character data from `at` ends: its '<', or npos when a reference or a carriage
// return (something to decode) comes first or no '<' is buffered. Values are a few bytes
// long: a plain loop beats a library call.
size_t PlainTextEnd(std::string_view data, size_t at) {
    for (; at < data.size() && data[at] != '<'; ++at) {
        if (data[at] == '&' || data[at] == '\r') {
            return std::string_view::npos;
        }
    }
    return at < data.size() ? at : std::string_view::npos;
}

// Tag names are a few bytes long: a plain loop beats a library call.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

// The name without its prefix ("x:c" → "c").
std::string_view LocalPart(std::string_view qualified) {
    for (size_t i = qualified.size(); i-- > 0;) {
        if (qualified[i] == ':') {
            return qualified.substr(i + 1);
        }
    }
    return qualified;
}

bool StartsWith(std::string_view text, size_t at, std::string_view prefix) {
    return text.size() - at >= prefix.size() && text.substr(at, prefix.size()) == prefix;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x | 0x20) == (y | 0x20);
           });
}

// The characters XML allows, as numeric character references may name them.
bool IsXmlCharacter(uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendUtf8(uint32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The value of `encoding="…"` in an XML declaration, or empty.
std::string_view DeclaredEncoding(std::string_view declaration) {
    const size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) {
        return {};
    }
    const size_t open = declaration.find_first_of("\"'", key);
    if (open == std::string_view::npos) {
        return {};
    }
    const size_t close = declaration.find(declaration[open], open + 1);
    return close == std::string_view::npos ? std::string_view{}
                                           : declaration.substr(open + 1, close - open - 1);
}

// How much of a pending text run to hand on now: all of it but a line end or a reference
// that the next bytes may complete.
size_t PieceLength(std::string_view text) {
    size_t length = text.size();
    const size_t reference = text.rfind('&');
    if (reference != std::string_view::npos && text.size() - reference <= MaxReferenceLength &&
        text.find(';', reference) == std::string_view::npos) {
        length = reference;
    }
    if (length > 0 && text[length - 1] == '\r') {
        --length;
    }
    return length;
}

}  // namespace

XmlScanner::XmlScanner(QString partName) : partName_(std::move(partName)) {}

XmlScanner::~XmlScanner() = default;

void XmlScanner::Feed(std::string_view chunk) {
    if (pos_ > 0) {
        buffer_.erase(0, pos_);
        consumed_ += pos_;
        retryAt_ = retryAt_ > pos_ ? retryAt_ - pos_ : 0;
        pos_ = 0;
    }
    if (decoder_) {
        buffer_ += QString(decoder_->decode(QByteArrayView(chunk.data(), qsizetype(chunk.size()))))
                       .toStdString();
    } else {
        buffer_.append(chunk);
    }
    if (!prologueDone_ && buffer_.size() >= PrologueBytes) {
        Prologue();
    }
}

void XmlScanner::Finish() {
    if (!prologueDone_) {
        Prologue();
    }
    finished_ = true;
    retryAt_ = 0;
}

void XmlScanner::Prologue() {
    prologueDone_ = true;
    const std::string_view start(buffer_);
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    if (StartsWith(start, 0, "\xEF\xBB\xBF")) {
        buffer_.erase(0, 3);
        consumed_ += 3;
        return;
    }
    if (StartsWith(start, 0, "\xFF\xFE") || StartsWith(start, 0, std::string_view("<\0?\0", 4))) {
        encoding = QStringConverter::Utf16LE;
    } else if (StartsWith(start, 0, "\xFE\xFF") ||
               StartsWith(start, 0, std::string_view("\0<\0?", 4))) {
        encoding = QStringConverter::Utf16BE;
    } else if (StartsWith(start, 0, "<?xml")) {
        const std::string_view name = DeclaredEncoding(start.substr(0, start.find("?>")));
        if (EqualsIgnoringCase(name, "ISO-8859-1")) {
            encoding = QStringConverter::Latin1;
        } else if (!name.empty() && !EqualsIgnoringCase(name, "UTF-8") &&
                   !EqualsIgnoringCase(name, "US-ASCII")) {
            Fail(ReadErrorCode::XmlEncoding);
        }
    }
    if (encoding == QStringConverter::Utf8) {
        return;
    }
    decoder_ = std::make_unique<QStringDecoder>(encoding);
    const std::string raw = std::move(buffer_);
    buffer_ =
        QString(decoder_->decode(QByteArrayView(raw.data(), qsizetype(raw.size())))).toStdString();
}

bool XmlScanner::NeedMore(size_t tokenStart) {
    if (finished_) {
        Fail(ReadErrorCode::XmlEndsInMarkup);
    }
    if (buffer_.size() - tokenStart > MaxMarkupBytes) {
        throw ReadError(ReadErrorCode::XmlMarkupTooLong, {.part = partName_,
                                                          .offset = int64_t(consumed_ + tokenStart),
                                                          .expected = int64_t(MaxMarkupBytes)});
    }
    // Rescan an incomplete token only when its bytes have doubled, so a huge token costs
    // linear time however small the chunks are, and once more when it passes the limit.
    retryAt_ =
        std::min(buffer_.size() + (buffer_.size() - tokenStart), tokenStart + MaxMarkupBytes + 1);
    return false;
}

bool XmlScanner::Next(Token& token) {
    if (!prologueDone_) {
        return false;  // the encoding is not known yet
    }
    while (true) {
        if (pos_ >= buffer_.size()) {
            if (finished_ && !rootSeen_) {
                Fail(ReadErrorCode::XmlNoRoot);
            }
            if (finished_ && depth_ != 0) {
                Fail(ReadErrorCode::XmlUnclosed);
            }
            return false;
        }
        if (buffer_.size() < retryAt_) {
            return false;
        }
        if (buffer_[pos_] != '<') {
            const char* begin = buffer_.data() + pos_;
            const char* bufferEnd = buffer_.data() + buffer_.size();
            const char* end = FindOpen(begin, bufferEnd);
            if (end == bufferEnd && !finished_) {
                if (size_t(end - begin) < MaxPendingText) {
                    return NeedMore(pos_);
                }
                end = begin + PieceLength(std::string_view(begin, size_t(end - begin)));
            }
            const std::string_view text(begin, size_t(end - begin));
            pos_ += text.size();
            if (depth_ == 0) {
                if (!std::all_of(text.begin(), text.end(), IsSpace)) {
                    Fail(ReadErrorCode::XmlTextOutsideRoot);
                }
                continue;
            }
            token.kind = Kind::Text;
            token.text = text;
            token.cdata = false;
            return true;
        }
        size_t at = pos_;
        if (!NextMarkup(token, at)) {
            return NeedMore(pos_);
        }
        const bool skipped = at == std::string::npos;
        if (skipped) {
            continue;
        }
        pos_ = at;
        return true;
    }
}

// Reads the markup starting at `at` ('<'). False when incomplete; otherwise `at` moves past
// it, or becomes npos for markup that yields no token (comments, processing instructions),
// in which case pos_ has already moved.
bool XmlScanner::NextMarkup(Token& token, size_t& at) {
    const std::string_view data(buffer_);
    if (data.size() - at < 2) {
        return false;
    }
    const char kind = data[at + 1];
    if (kind == '/') {
        return EndTag(token, at);
    }
    if (kind == '?') {
        return SkipPast("?>", at + 2, at);
    }
    if (kind != '!') {
        return StartTag(token, at);
    }
    if (StartsWith(data, at, "<!--")) {
        return SkipPast("-->", at + 4, at);
    }
    if (StartsWith(data, at, "<![CDATA[")) {
        const size_t end = data.find("]]>", at + 9);
        if (end == std::string_view::npos) {
            return false;
        }
        if (depth_ == 0) {
            Fail(ReadErrorCode::XmlTextOutsideRoot);
        }
        token.kind = Kind::Text;
        token.text = data.substr(at + 9, end - at - 9);
        token.cdata = true;
        at = end + 3;
        return true;
    }
    if (StartsWith(data, at, "<!DOCTYPE")) {
        Fail(ReadErrorCode::XmlDoctype);
    }
    if (data.size() - at < 9 && !finished_) {
        return false;  // too short yet to tell which declaration it is
    }
    Fail(ReadErrorCode::XmlMalformedMarkup);
}

bool XmlScanner::SkipPast(std::string_view terminator, size_t from, size_t& at) {
    const size_t end = std::string_view(buffer_).find(terminator, from);
    if (end == std::string_view::npos) {
        return false;
    }
    pos_ = end + terminator.size();
    at = std::string::npos;
    return true;
}

bool XmlScanner::StartTag(Token& token, size_t& at) {
    const char* begin = buffer_.data() + at;
    const char* end = buffer_.data() + buffer_.size();
    const char* p = begin + 1;
    while (p < end && !(ClassOf(*p) & EndsName)) {
        ++p;
    }
    if (p == end) {
        return false;
    }
    const std::string_view qualified(begin + 1, size_t(p - begin - 1));
    if (qualified.empty() || *p == '<') {
        Fail(ReadErrorCode::XmlMalformedStartTag);
    }
    const char* attributes = p;
    for (; p < end; ++p) {
        const uint8_t c = ClassOf(*p);
        if (c == Plain || c == EndsName) {
            continue;
        }
        if (c & Close) {
            break;
        }
        if (c & Open) {
            Fail(ReadErrorCode::XmlMalformedStartTag);
        }
        const char quote = *p;
        do {
            ++p;
        } while (p < end && *p != quote);
        if (p == end) {
            return false;
        }
    }
    if (p == end) {
        return false;
    }
    const bool selfClosing = p[-1] == '/' && p - 1 >= attributes;
    if (depth_ == 0) {
        if (rootSeen_) {
            Fail(ReadErrorCode::XmlSecondRoot);
        }
        rootSeen_ = true;
    }
    if (!selfClosing) {
        if (++depth_ > MaxDepth) {
            Fail(ReadErrorCode::XmlNestedTooDeeply);
        }
        openStarts_.push_back(static_cast<uint32_t>(open_.size()));
        open_.append(qualified);
    }
    token.kind = Kind::StartTag;
    token.name = LocalPart(qualified);
    token.attributes = std::string_view(attributes, size_t(p - attributes) - (selfClosing ? 1 : 0));
    token.selfClosing = selfClosing;
    at = size_t(p + 1 - buffer_.data());
    return true;
}

bool XmlScanner::EndTag(Token& token, size_t& at) {
    const char* begin = buffer_.data() + at;
    const char* end = buffer_.data() + buffer_.size();
    const char* p = begin + 2;
    while (p < end && *p != '>' && !IsSpace(*p)) {
        ++p;
    }
    const std::string_view qualified(begin + 2, size_t(p - begin - 2));
    while (p < end && IsSpace(*p)) {
        ++p;
    }
    if (p == end) {
        return false;
    }
    if (*p != '>') {
        Fail(ReadErrorCode::XmlMalformedEndTag);
    }
    if (depth_ == 0 || !SameName(std::string_view(open_).substr(openStarts_.back()), qualified)) {
        Fail(ReadErrorCode::XmlEndTagMismatch);
    }
    open_.resize(openStarts_.back());
    openStarts_.pop_back();
    --depth_;
    token.kind = Kind::EndTag;
    token.name = LocalPart(qualified);
    at = size_t(p + 1 - buffer_.data());
    return true;
}

void XmlScanner::ResumeFrom(const XmlScanner& other) {
    open_ = other.open_;
    openStarts_ = other.openStarts_;
    depth_ = other.depth_;
    rootSeen_ = other.rootSeen_;
    prologueDone_ = true;
}

std::string_view XmlScanner::InnermostName() const {
    return depth_ == 0 ? std::string_view{} : std::string_view(open_).substr(openStarts_.back());
}

bool XmlScanner::OnlySpacePending() const {
    return std::all_of(buffer_.begin() + static_cast<std::ptrdiff_t>(pos_), buffer_.end(), IsSpace);
}

bool XmlScanner::NextSimpleElement(std::string_view name, std::string_view& text) {
    const std::string_view rest = std::string_view(buffer_).substr(pos_);
    const size_t open = name.size() + 2;  // <name>
    if (depth_ == 0 || rest.size() < 2 * open + 1 || rest[0] != '<' || rest[open - 1] != '>' ||
        !SameName(rest.substr(1, name.size()), name)) {
        return false;
    }
    // Values are a few bytes long: a plain loop beats a library call.
    const size_t close = PlainTextEnd(rest, open);
    if (close == std::string_view::npos || rest.size() - close < open + 1 ||
        rest[close + 1] != '/' || !SameName(rest.substr(close + 2, name.size()), name) ||
        rest[close + 2 + name.size()] != '>') {
        return false;
    }
    text = rest.substr(open, close - open);
    pos_ += close + open + 1;
    return true;
}

bool XmlScanner::NextEndTag(std::string_view name) {
    const std::string_view rest = std::string_view(buffer_).substr(pos_);
    if (depth_ == 0 || rest.size() < name.size() + 3 || rest[0] != '<' || rest[1] != '/' ||
        !SameName(rest.substr(2, name.size()), name) || rest[name.size() + 2] != '>' ||
        !SameName(std::string_view(open_).substr(openStarts_.back()), name)) {
        return false;
    }
    open_.resize(openStarts_.back());
    openStarts_.pop_back();
    --depth_;
    pos_ += name.size() + 3;
    return true;
}

bool XmlScanner::NextPlainStartTag(std::string_view name, PlainTag& tag) {
    const char* p = buffer_.data() + pos_;
    const char* end = buffer_.data() + buffer_.size();
    if (depth_ == 0 || buffer_.size() < retryAt_ || size_t(end - p) < name.size() + 2 ||
        p[0] != '<' || !SameName(std::string_view(p + 1, name.size()), name)) {
        return false;
    }
    p += 1 + name.size();
    tag.count = 0;
    while (p < end && *p == ' ') {
        const char* key = ++p;
        while (p < end && ClassOf(*p) == Plain && *p != '=' && *p != ':') {
            ++p;
        }
        if (p == end || *p != '=' || p == key || tag.count == PlainTag::MaxAttributes) {
            return false;
        }
        const std::string_view keyName(key, size_t(p - key));
        if (keyName.starts_with("xmlns") || ++p == end || (*p != '"' && *p != '\'')) {
            return false;
        }
        const char quote = *p;
        const char* value = ++p;
        while (p < end && *p != quote && *p != '&' && *p != '<' && *p != '\t' && *p != '\n' &&
               *p != '\r') {
            ++p;
        }
        if (p == end || *p != quote) {
            return false;
        }
        tag.names[tag.count] = keyName;
        tag.values[tag.count] = std::string_view(value, size_t(p - value));
        ++tag.count;
        ++p;
    }
    tag.selfClosing = p < end && *p == '/';
    p += tag.selfClosing ? 1 : 0;
    if (p == end || *p != '>' || (!tag.selfClosing && depth_ >= MaxDepth)) {
        return false;
    }
    if (!tag.selfClosing) {
        ++depth_;
        openStarts_.push_back(static_cast<uint32_t>(open_.size()));
        open_.append(name);
    }
    pos_ = size_t(p + 1 - buffer_.data());
    return true;
}

bool XmlScanner::NextPlainText(std::string_view& text) {
    if (depth_ == 0 || buffer_.size() < retryAt_) {
        return false;
    }
    const size_t end = PlainTextEnd(buffer_, pos_);
    if (end == std::string_view::npos || end == pos_) {
        return false;
    }
    text = std::string_view(buffer_).substr(pos_, end - pos_);
    pos_ = end;
    return true;
}

void XmlScanner::DecodeText(const Token& token, std::string& out) const {
    if (token.cdata) {
        out.append(token.text);
    } else {
        AppendDecoded(token.text, out, false);
    }
}

std::string_view XmlScanner::DecodeAttributeCopy(std::string_view raw, std::string& scratch) const {
    scratch.clear();
    AppendDecoded(raw, scratch, true);
    return scratch;
}

void XmlScanner::AppendDecoded(std::string_view raw, std::string& out, bool attribute) const {
    size_t i = 0;
    while (i < raw.size()) {
        size_t plain = i;
        while (plain < raw.size() && raw[plain] != '&' && raw[plain] != '\r' &&
               !(attribute && IsSpace(raw[plain]))) {
            ++plain;
        }
        out.append(raw.substr(i, plain - i));
        if (plain == raw.size()) {
            return;
        }
        i = plain;
        if (raw[i] != '&') {
            // A line end (CR LF, or a lone CR) reads as LF; in an attribute any white space
            // reads as a space.
            const bool crlf = raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n';
            out += attribute ? ' ' : '\n';
            i += crlf ? 2 : 1;
            continue;
        }
        const size_t semicolon = raw.find(';', i);
        if (semicolon == std::string_view::npos) {
            Fail(ReadErrorCode::XmlEntityUnterminated);
        }
        const std::string_view name = raw.substr(i + 1, semicolon - i - 1);
        i = semicolon + 1;
        if (name == "lt") {
            out += '<';
        } else if (name == "gt") {
            out += '>';
        } else if (name == "amp") {
            out += '&';
        } else if (name == "quot") {
            out += '"';
        } else if (name == "apos") {
            out += '\'';
        } else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            uint32_t code = 0;
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
            if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
                !IsXmlCharacter(code)) {
                Fail(ReadErrorCode::XmlBadCharacterReference);
            }
            AppendUtf8(code, out);
        } else {
            Fail(ReadErrorCode::XmlUndefinedEntity);
        }
    }
}

void XmlScanner::AttributeError() const {
    Fail(ReadErrorCode::XmlMalformedAttributes);
}

void XmlScanner::Fail(ReadErrorCode code) const {
    throw ReadError(code, {.part = partName_, .offset = int64_t(consumed_ + pos_)});
}

}  // namespace engine
