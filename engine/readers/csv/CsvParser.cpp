#include "engine/readers/csv/CsvParser.h"

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

bool CsvParser::Next(QStringView& field, bool& endsRecord) {
    if (at_ >= text_.size()) {
        return false;
    }
    if (text_[at_] == u'"') {
        field = Quoted();
    } else {
        const qsizetype start = at_;
        while (at_ < text_.size() && text_[at_] != separator_ && !IsLineBreak(text_[at_])) {
            ++at_;
        }
        field = text_.sliced(start, at_ - start);
    }
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

QStringView CsvParser::Quoted() {
    // Most quoted fields hold no doubled quote and end right after the closing quote: they
    // are the text between the quotes as it stands.
    const qsizetype start = at_ + 1;
    const qsizetype close = text_.indexOf(u'"', start);
    // (A separator '"' would make the closing quote the start of a doubled one.)
    const auto endsField = [this](qsizetype at) {
        return at == text_.size() || IsLineBreak(text_[at]) ||
               (text_[at] == separator_ && separator_ != u'"');
    };
    if (close >= 0 && endsField(close + 1)) {
        at_ = close + 1;
        return text_.sliced(start, close - start);
    }
    UnquoteInto(unquoted_);
    return unquoted_;
}

void CsvParser::UnquoteInto(QString& field) {
    field.resize(0);  // keeps the buffer for the next field, unlike clear()
    ++at_;
    while (at_ < text_.size()) {
        const QChar c = text_[at_++];
        if (c != u'"') {
            field.append(c);
        } else if (at_ < text_.size() && text_[at_] == u'"') {
            field.append(u'"');
            ++at_;
        } else {
            break;  // closing quote; anything up to the separator is kept too
        }
    }
    const qsizetype start = at_;
    while (at_ < text_.size() && text_[at_] != separator_ && !IsLineBreak(text_[at_])) {
        ++at_;
    }
    field.append(text_.sliced(start, at_ - start));
}

}  // namespace engine
