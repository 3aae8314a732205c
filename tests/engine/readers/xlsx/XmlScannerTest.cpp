// The in-place XML tokenizer: the tokens must not depend on where the inflated chunks split
// the document, text and attributes decode as an XML processor reports them, and what a
// hostile or broken part holds is refused.
#include "engine/model/ReadError.h"
#include "engine/readers/xlsx/XmlScanner.h"

#include <gtest/gtest.h>
#include <QStringEncoder>

namespace engine {
namespace {

// Every token as one line: "<name a=v ...>", "</name>", "<name/>" or "'text'".
std::string Trace(XmlScanner& scanner, XmlScanner::Token& token) {
    std::string out;
    switch (token.kind) {
        case XmlScanner::Kind::StartTag: {
            out = "<" + std::string(token.name);
            std::string scratch;
            scanner.ForEachAttribute(token.attributes, [&](std::string_view n, std::string_view v) {
                out +=
                    " " + std::string(n) + "=" + std::string(scanner.DecodeAttribute(v, scratch));
            });
            out += token.selfClosing ? "/>" : ">";
            break;
        }
        case XmlScanner::Kind::EndTag:
            out = "</" + std::string(token.name) + ">";
            break;
        case XmlScanner::Kind::Text:
            out = "'";
            scanner.DecodeText(token, out);
            out += "'";
            break;
    }
    return out + "\n";
}

// A plain tag as Trace shows the same start tag read as a token. Its values are shown raw:
// they must need no decoding.
std::string Trace(XmlScanner& scanner, std::string_view name, const XmlScanner::PlainTag& tag) {
    std::string out = "<" + std::string(name);
    scanner.ForEachAttribute(tag, [&](std::string_view n, std::string_view v) {
        out += " " + std::string(n) + "=" + std::string(v);
    });
    return out + (tag.selfClosing ? "/>\n" : ">\n");
}

// Tags the plain shortcuts are tried for, before every token, when a test asks for them.
constexpr std::string_view PlainNames[] = {"c", "f", "r", "t", "v", "x", "sheet"};

// One shortcut taken, traced like the token it stands for; false when none applies.
bool TracePlain(XmlScanner& scanner, std::string& out) {
    XmlScanner::PlainTag tag;
    for (std::string_view name : PlainNames) {
        if (scanner.NextPlainStartTag(name, tag)) {
            out += Trace(scanner, name, tag);
            return true;
        }
    }
    if (std::string_view text; scanner.NextPlainText(text)) {
        out += "'" + std::string(text) + "'\n";
        return true;
    }
    return false;
}

// Scans `document` fed in pieces of `chunk` bytes (0: all at once), with or without the
// plain shortcuts.
std::string Scan(std::string_view document, size_t chunk = 0, bool plain = false) {
    XmlScanner scanner(QStringLiteral("part.xml"));
    std::string out;
    XmlScanner::Token token;
    const size_t step = chunk ? chunk : std::max<size_t>(document.size(), 1);
    auto next = [&] {
        while (true) {
            if (plain && TracePlain(scanner, out)) {
                continue;
            }
            if (!scanner.Next(token)) {
                return;
            }
            out += Trace(scanner, token);
        }
    };
    for (size_t at = 0; at < document.size(); at += step) {
        scanner.Feed(document.substr(at, step));
        next();
    }
    scanner.Finish();
    next();
    return out;
}

struct TokenCase {
    const char* name;
    std::string document;
    const char* expected;
};

class XmlScannerTokens : public testing::TestWithParam<TokenCase> {};

TEST_P(XmlScannerTokens, AreTheSameHoweverTheChunksSplit) {
    const TokenCase& c = GetParam();
    for (size_t chunk : {size_t{0}, size_t{1}, size_t{2}, size_t{7}, size_t{64}}) {
        EXPECT_EQ(Scan(c.document, chunk), c.expected) << "chunk " << chunk;
    }
}

TEST_P(XmlScannerTokens, AreTheSameThroughThePlainShortcuts) {
    const TokenCase& c = GetParam();
    for (size_t chunk : {size_t{0}, size_t{1}, size_t{5}, size_t{64}}) {
        EXPECT_EQ(Scan(c.document, chunk, true), c.expected) << "chunk " << chunk;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, XmlScannerTokens,
    testing::Values(
        TokenCase{"prefixes_and_quotes",
                  "<?xml version=\"1.0\"?>\n<x:sheet xmlns:x=\"urn:s\" xmlns=\"urn:d\">"
                  "<x:c x:r='A1' t = \"s\" q=\"a>b\"/></x:sheet>",
                  "<sheet>\n<c r=A1 t=s q=a>b/>\n</sheet>\n"},
        TokenCase{"entities_and_references",
                  "<f a=\"&lt;&amp;&#65;&#x3042;\">1&lt;2 &amp;&amp; &quot;&apos;&#x1F600;</f>",
                  "<f a=<&Aあ>\n'1<2 && \"'😀'\n</f>\n"},
        TokenCase{"line_ends", "<t a=\"x\r\ny\tz\">a\r\nb\rc&#13;d</t>",
                  "<t a=x y z>\n'a\nb\nc\rd'\n</t>\n"},
        TokenCase{"cdata_comments_instructions",
                  "<!-- head --><r><!-- <c> --><?pi x?><![CDATA[<a>&amp;]]></r><!-- tail -->",
                  "<r>\n'<a>&amp;'\n</r>\n"},
        TokenCase{"white_space_in_end_tags", "<r>\n <c/>\n</r \n>",
                  "<r>\n'\n '\n<c/>\n'\n'\n</r>\n"},
        // Shapes on both sides of what the plain shortcuts take.
        TokenCase{"plain_tag_shapes",
                  "<sheet><c r=\"A1\" s='2' t=\"s\"><v>1</v></c>"
                  "<c a=\"1\" b=\"2\" c=\"3\" d=\"4\" e=\"5\" f=\"6\" g=\"7\" h=\"8\" i=\"9\"/>"
                  "<c xmlns:q=\"u\" q:r=\"B2\"/><c r=\"a>b\" t=\"x y\"/><c\tr=\"1\"/>"
                  "<c r=\"1\"   t=\"2\" /><c r=\"&amp;\"/><c t=\"a\tb\"/><cx/><f>a&lt;b</f>"
                  "<v>x\r\ny</v><t></t></sheet>",
                  "<sheet>\n<c r=A1 s=2 t=s>\n<v>\n'1'\n</v>\n</c>\n"
                  "<c a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9/>\n<c r=B2/>\n<c r=a>b t=x y/>\n"
                  "<c r=1/>\n<c r=1 t=2/>\n<c r=&/>\n<c t=a b/>\n<cx/>\n<f>\n'a<b'\n</f>\n"
                  "<v>\n'x\ny'\n</v>\n<t>\n</t>\n</sheet>\n"},
        TokenCase{"utf8_byte_order_mark", "\xEF\xBB\xBF<r>ü</r>", "<r>\n'ü'\n</r>\n"},
        TokenCase{"latin1_declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>\xFC</r>",
                  "<r>\n'ü'\n</r>\n"}));

TEST(XmlScanner, ReadsUtf16DocumentsInBothByteOrders) {
    for (auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
        const QByteArray bytes = encoder.encode(
            u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
            u"<r a=\"値\">日本語</r>");
        EXPECT_EQ(Scan(std::string_view(bytes.constData(), size_t(bytes.size())), 3),
                  "<r a=値>\n'日本語'\n</r>\n");
    }
}

TEST(XmlScanner, AHugeTagInTinyChunksIsReadWhole) {
    const std::string value(300000, 'x');
    EXPECT_EQ(Scan("<t a=\"" + value + "\"/>", 100), "<t a=" + value + "/>\n");
}

// The decoded text of every text token, joined, and the longest raw piece.
struct TextPieces {
    std::string text;
    size_t longest = 0;
};

TextPieces JoinText(std::string_view document, size_t chunk) {
    XmlScanner scanner(QStringLiteral("part.xml"));
    TextPieces pieces;
    XmlScanner::Token token;
    auto drain = [&] {
        while (scanner.Next(token)) {
            if (token.kind == XmlScanner::Kind::Text) {
                scanner.DecodeText(token, pieces.text);
                pieces.longest = std::max(pieces.longest, token.text.size());
            }
        }
    };
    for (size_t at = 0; at < document.size(); at += chunk) {
        scanner.Feed(document.substr(at, chunk));
        drain();
    }
    scanner.Finish();
    drain();
    return pieces;
}

TEST(XmlScanner, ALongTextRunComesInPiecesThatJoinToIt) {
    // References and line ends fall on every kind of piece border somewhere in the run.
    std::string raw, expected;
    for (int i = 0; raw.size() < 3'000'000; ++i) {
        raw += std::string(size_t(i % 97), ' ') + "a&amp;b\r\nc&#x41;";
        expected += std::string(size_t(i % 97), ' ') + "a&b\ncA";
    }
    for (size_t chunk : {size_t{4093}, size_t{65536}, size_t{1} << 20}) {
        const TextPieces pieces = JoinText("<t>" + raw + "</t>", chunk);
        EXPECT_EQ(pieces.text, expected) << "chunks of " << chunk;
        // Never buffered whole: a piece is at most twice the scanner's pending limit, or one
        // chunk when chunks are larger.
        EXPECT_LE(pieces.longest, std::max<size_t>(chunk, 2 * 64 * 1024) + chunk) << chunk;
    }
}

TEST(XmlScanner, RefusesMarkupLongerThanAnyWorkbookWrites) {
    const std::string comment = "<t><!--" + std::string(size_t{17} << 20, '-') + "--></t>";
    try {
        Scan(comment, 1 << 20);
        ADD_FAILURE() << "a 17 MiB comment was accepted";
    } catch (const ReadError& error) {
        EXPECT_EQ(error.Code(), ReadErrorCode::XmlMarkupTooLong);
        EXPECT_EQ(error.Kind(), EngineErrorKind::TooLarge);
    }
}

struct BrokenCase {
    const char* name;
    std::string document;
    ReadErrorCode code;
};

class XmlScannerRefuses : public testing::TestWithParam<BrokenCase> {};

TEST_P(XmlScannerRefuses, WithADamagedError) {
    const BrokenCase& c = GetParam();
    for (bool plain : {false, true}) {
        for (size_t chunk : {size_t{0}, size_t{3}}) {
            try {
                Scan(c.document, chunk, plain);
                ADD_FAILURE() << "accepted in chunks of " << chunk << ", plain " << plain;
            } catch (const ReadError& error) {
                EXPECT_EQ(error.Code(), c.code) << error.what() << ", plain " << plain;
                EXPECT_EQ(error.Kind(), EngineErrorKind::Damaged);
            }
        }
    }
}

std::string Nested(int depth) {
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<x>";
        close += "</x>";
    }
    return open + close;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, XmlScannerRefuses,
    testing::Values(
        BrokenCase{"doctype", "<!DOCTYPE r [<!ENTITY a \"aa\">]><r>&a;</r>",
                   ReadErrorCode::XmlDoctype},
        BrokenCase{"mismatched_end", "<r><c><v>1</c></v></r>", ReadErrorCode::XmlEndTagMismatch},
        BrokenCase{"stray_end", "<r></r></r>", ReadErrorCode::XmlEndTagMismatch},
        BrokenCase{"unclosed", "<r><c>", ReadErrorCode::XmlUnclosed},
        BrokenCase{"cut_inside_tag", "<r><c r=\"A1", ReadErrorCode::XmlEndsInMarkup},
        BrokenCase{"empty", "", ReadErrorCode::XmlNoRoot},
        BrokenCase{"second_root", "<r/><r/>", ReadErrorCode::XmlSecondRoot},
        BrokenCase{"text_outside", "<r/>junk", ReadErrorCode::XmlTextOutsideRoot},
        BrokenCase{"undefined_entity", "<r>&nbsp;</r>", ReadErrorCode::XmlUndefinedEntity},
        BrokenCase{"null_reference", "<r>&#0;</r>", ReadErrorCode::XmlBadCharacterReference},
        BrokenCase{"unterminated_reference", "<r>&amp</r>", ReadErrorCode::XmlEntityUnterminated},
        BrokenCase{"unquoted_attribute", "<r a=1/>", ReadErrorCode::XmlMalformedAttributes},
        BrokenCase{"too_deep", Nested(XmlScanner::MaxDepth + 1), ReadErrorCode::XmlNestedTooDeeply},
        BrokenCase{"unknown_encoding", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r/>",
                   ReadErrorCode::XmlEncoding}));

TEST(XmlScanner, AcceptsTheDeepestNestingAllowed) {
    EXPECT_NO_THROW(Scan(Nested(XmlScanner::MaxDepth)));
    EXPECT_NO_THROW(Scan(Nested(XmlScanner::MaxDepth), 0, true));
}

}  // namespace
}  // namespace engine
