// A pull tokenizer for the largest parts of a workbook (worksheets): the inflated bytes are
// appended chunk by chunk and read in place, token by token, with no callback, attribute array
// or copy per element. It checks what a reader relies on: tags close in order, one root
// element, no document type declaration (entity expansion is how small hostile files grow),
// nesting no deeper than any part needs. Text and attribute values come raw; DecodeText
// resolves entities and line ends. UTF-16 and Latin-1 documents are converted to UTF-8 first.
// Raises ReadError with the part name and byte offset.
#pragma once

#include "engine/model/ReadError.h"

#include <QString>
#include <QStringDecoder>
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class XmlScanner {
public:
    static constexpr int MaxDepth = 256;

    enum class Kind { StartTag, EndTag, Text };

    struct Token {
        Kind kind = Kind::Text;
        std::string_view name;        // local name of a tag (prefix dropped)
        std::string_view attributes;  // a start tag's raw attribute bytes
        bool selfClosing = false;     // `<c/>`: no EndTag follows
        std::string_view text;        // raw character data, or a CDATA section's content
        bool cdata = false;           // `text` is literal: no entities to resolve
    };

    explicit XmlScanner(QString partName);
    ~XmlScanner();

    // Appends the next bytes of the document. Tokens returned before are invalidated.
    void Feed(std::string_view chunk);
    // Marks the end of the document: Next() then returns the last tokens and checks that the
    // document is complete.
    void Finish();
    // The next token; false when the buffered bytes hold no complete token (or, after
    // Finish(), at the end).
    bool Next(Token& token);

    // Shortcuts for the commonest shapes, tried before Next(): when the next bytes are
    // exactly `<name>text</name>` with plain text (no attribute, prefix, markup or entity),
    // consumes them and returns the text; when they are `</name>` closing the innermost
    // element, consumes it. Otherwise they return false and leave the input to Next().
    bool NextSimpleElement(std::string_view name, std::string_view& text);
    bool NextEndTag(std::string_view name);

    // A start tag split into its attributes while it is scanned.
    struct PlainTag {
        static constexpr size_t MaxAttributes = 8;
        std::array<std::string_view, MaxAttributes> names;
        std::array<std::string_view, MaxAttributes> values;  // raw, with nothing to decode
        size_t count = 0;
        bool selfClosing = false;
    };
    // When the next bytes are a start tag of the plainest shape, `<name a="…" b='…'>` or
    // `<name …/>`: the exact name without prefix, one space before each attribute, attribute
    // names without prefix or namespace declaration, values without '&', '<' or white space
    // other than spaces, at most MaxAttributes: consumes it as Next() would and returns its
    // attributes. Otherwise returns false and leaves the input to Next().
    bool NextPlainStartTag(std::string_view name, PlainTag& tag);
    // When the next bytes are character data up to a buffered '<', with no reference or
    // carriage return in it: consumes and returns it, as Next() would.
    bool NextPlainText(std::string_view& text);

    // For reading one document in parts at once: this scanner continues inside the
    // elements `other` has open (a UTF-8 document only).
    void ResumeFrom(const XmlScanner& other);
    int Depth() const { return depth_; }
    // The qualified name of the innermost open element ("x:sheetData").
    std::string_view InnermostName() const;
    // Whether the bytes fed and not yet returned are white space only.
    bool OnlySpacePending() const;
    bool IsUtf8() const { return prologueDone_ && !decoder_; }

    // Calls `visit(localName, rawValue)` for each attribute of a start tag, namespace
    // declarations left out. Raises on malformed attributes.
    template <typename Visit>
    void ForEachAttribute(std::string_view attributes, Visit visit) const;
    template <typename Visit>
    void ForEachAttribute(const PlainTag& tag, Visit visit) const;

    // Appends character data to `out` (UTF-8) with entities resolved and line ends
    // normalised, as an XML processor reports them. Raises on an unknown entity.
    void DecodeText(const Token& token, std::string& out) const;
    // An attribute value with entities resolved; `scratch` holds the result when it differs
    // from the raw bytes.
    std::string_view DecodeAttribute(std::string_view raw, std::string& scratch) const {
        // Inline: most values are a few plain bytes, and every cell has some.
        for (const char c : raw) {
            if (c == '&' || c <= ' ') {
                return DecodeAttributeCopy(raw, scratch);
            }
        }
        return raw;
    }

private:
    bool NextMarkup(Token& token, size_t& at);
    // Markup that yields no token (a comment, a processing instruction): skips to past the
    // `terminator` found from `from`, as NextMarkup does; false when it is not buffered yet.
    bool SkipPast(std::string_view terminator, size_t from, size_t& at);
    bool StartTag(Token& token, size_t& at);
    bool EndTag(Token& token, size_t& at);
    bool NeedMore(size_t tokenStart);
    void Prologue();
    void AppendDecoded(std::string_view raw, std::string& out, bool attribute) const;
    std::string_view DecodeAttributeCopy(std::string_view raw, std::string& scratch) const;
    [[noreturn]] void Fail(ReadErrorCode code) const;
    [[noreturn]] void AttributeError() const;

    QString partName_;
    std::string buffer_;
    size_t pos_ = 0;       // first byte not yet returned
    size_t consumed_ = 0;  // bytes dropped from the front of buffer_, for error offsets
    size_t retryAt_ = 0;   // an incomplete token is rescanned only once this much is buffered
    bool finished_ = false;
    bool prologueDone_ = false;
    bool rootSeen_ = false;
    std::string open_;                  // names of the open elements, one after the other
    std::vector<uint32_t> openStarts_;  // where each open name starts in open_
    int depth_ = 0;
    std::unique_ptr<QStringDecoder> decoder_;  // set for a UTF-16 or Latin-1 document
};

template <typename Visit>
void XmlScanner::ForEachAttribute(std::string_view attributes, Visit visit) const {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    size_t i = 0;
    const size_t n = attributes.size();
    while (true) {
        while (i < n && isSpace(attributes[i])) {
            ++i;
        }
        if (i == n) {
            return;
        }
        const size_t nameStart = i;
        while (i < n && attributes[i] != '=' && !isSpace(attributes[i])) {
            ++i;
        }
        std::string_view name = attributes.substr(nameStart, i - nameStart);
        while (i < n && isSpace(attributes[i])) {
            ++i;
        }
        if (name.empty() || i == n || attributes[i] != '=') {
            AttributeError();
        }
        ++i;
        while (i < n && isSpace(attributes[i])) {
            ++i;
        }
        if (i == n || (attributes[i] != '"' && attributes[i] != '\'')) {
            AttributeError();
        }
        // Values are a few bytes long: a plain loop beats a library call.
        size_t close = i + 1;
        while (close < n && attributes[close] != attributes[i]) {
            ++close;
        }
        if (close == n) {
            AttributeError();
        }
        const std::string_view value = attributes.substr(i + 1, close - i - 1);
        i = close + 1;
        if (name.substr(0, 5) == "xmlns" && (name.size() == 5 || name[5] == ':')) {
            continue;
        }
        if (const size_t colon = name.find(':'); colon != std::string_view::npos) {
            name.remove_prefix(colon + 1);
        }
        visit(name, value);
    }
}

template <typename Visit>
void XmlScanner::ForEachAttribute(const PlainTag& tag, Visit visit) const {
    for (size_t i = 0; i < tag.count; ++i) {
        visit(tag.names[i], tag.values[i]);
    }
}

}  // namespace engine
