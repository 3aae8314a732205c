#include "engine/readers/xlsx/CommentsPart.h"

#include "engine/readers/xlsx/CellReference.h"

namespace engine {

void CommentsPart::StartElement(std::string_view name, const char** attributes) {
    const std::string_view element = kind_ == Kind::Legacy ? "comment" : "threadedComment";
    if (name == element) {
        const char* ref = Attribute(attributes, "ref");
        inComment_ = ref && CellReference::Parse(ref, row_, column_);
        text_.Take();
        plain_.clear();
    } else if (inComment_ && name == "text") {
        inText_ = true;
    } else if (inText_) {
        text_.Start(name);
    }
}

void CommentsPart::EndElement(std::string_view name) {
    if (inText_ && name == "text") {
        inText_ = false;
        return;
    }
    if (inText_) {
        text_.End(name);
        return;
    }
    const std::string_view element = kind_ == Kind::Legacy ? "comment" : "threadedComment";
    if (name != element || !inComment_) {
        return;
    }
    inComment_ = false;
    QString text = kind_ == Kind::Legacy ? text_.Take() : RichText::DecodeEscapes(plain_);
    if (kind_ == Kind::Threaded && !notes_.empty() && notes_.back().row == row_ &&
        notes_.back().column == column_) {
        notes_.back().text += u'\n' + text;  // a reply continues its thread
        return;
    }
    notes_.push_back(CellNote{row_, column_, std::move(text)});
}

void CommentsPart::Characters(std::string_view text) {
    if (!inText_) {
        return;
    }
    if (kind_ == Kind::Legacy) {
        text_.Characters(text);
    } else {
        plain_.append(text);
    }
}

}  // namespace engine
