#include "engine/readers/xlsx/SharedStringsPart.h"

#include "engine/model/Workbook.h"
#include "engine/readers/xlsx/ZipArchive.h"

namespace engine {

void SharedStringsPart::Read(ZipArchive& zip, const QString& partName, Workbook& book,
                             std::vector<uint32_t>& poolIndexes) {
    const ZipArchive::Entry* entry = zip.Find(partName);
    if (!entry) {
        throw ReadError(ReadErrorCode::XmlPartMissing, {.part = partName});
    }
    SharedStringsPart part(book, poolIndexes, partName);
    zip.Read(*entry, [&part](std::string_view chunk) {
        part.scanner_.Feed(chunk);
        part.Scan();
    });
    part.scanner_.Finish();
    part.Scan();
}

SharedStringsPart::SharedStringsPart(Workbook& book, std::vector<uint32_t>& poolIndexes,
                                     QString partName)
    : book_(book), poolIndexes_(poolIndexes), scanner_(std::move(partName)) {}

void SharedStringsPart::Scan() {
    XmlScanner::Token token;
    while (scanner_.Next(token)) {
        switch (token.kind) {
            case XmlScanner::Kind::StartTag:
                Start(token.name);
                if (token.selfClosing) {
                    End(token.name);
                }
                break;
            case XmlScanner::Kind::EndTag:
                End(token.name);
                break;
            case XmlScanner::Kind::Text:
                if (inItem_) {
                    scratch_.clear();
                    scanner_.DecodeText(token, scratch_);
                    text_.Characters(scratch_);
                }
                break;
        }
    }
}

void SharedStringsPart::Start(std::string_view name) {
    if (name == "si") {
        inItem_ = true;
        text_.Take();
    } else if (inItem_) {
        text_.Start(name);
    }
}

void SharedStringsPart::End(std::string_view name) {
    if (name == "si") {
        inItem_ = false;
        poolIndexes_.push_back(book_.AddString(text_.Take()));
    } else if (inItem_) {
        text_.End(name);
    }
}

}  // namespace engine
