#include "engine/csv/CsvParser.h"

namespace engine {
namespace {

bool IsLineBreak(QChar c) {
    return c == u'\n' || c == u'\r';
}

}  // namespace

CsvParser::CsvParser(QStringView text) : text_(text) {
    // "sep=;" on the first line names the separator and is not data.
    if (text_.size() >= 5 && text_.startsWith(u"sep=", Qt::CaseInsensitive) &&
        (text_.size() == 5 || IsLineBreak(text_[5]))) {
        separator_ = text_[4];
        at_ = 5;
        SkipLineBreak();
    }
}

void CsvParser::SkipLineBreak() {
    if (at_ < text_.size() && text_[at_] == u'\r') {
        ++at_;
    }
    if (at_ < text_.size() && text_[at_] == u'\n') {
        ++at_;
    }
}

bool CsvParser::Next(QString& field, bool& endsRecord) {
    field.resize(0);  // keeps the buffer for the next field, unlike clear()
    if (at_ >= text_.size()) {
        return false;
    }
    if (text_[at_] == u'"') {
        ++at_;
        while (at_ < text_.size()) {
            const QChar c = text_[at_++];
            if (c != u'"') {
                field.append(c);
            } else if (at_ < text_.size() && text_[at_] == u'"') {
                field.append(u'"');
                ++at_;
            } else {
                break;  // closing quote; anything up to the separator is appended below
            }
        }
    }
    const qsizetype start = at_;
    while (at_ < text_.size() && text_[at_] != separator_ && !IsLineBreak(text_[at_])) {
        ++at_;
    }
    field.append(text_.mid(start, at_ - start));
    if (at_ < text_.size() && text_[at_] == separator_) {
        ++at_;
        // A separator at the very end still ends a record with one more, empty field.
        endsRecord = false;
        return true;
    }
    SkipLineBreak();
    endsRecord = true;
    return true;
}

}  // namespace engine
