#include "engine/readers/xlsx/XmlStream.h"

#include "engine/model/ReadError.h"
#include "engine/readers/xlsx/ZipArchive.h"

#include <expat.h>

#include <limits>

namespace engine {

XmlStream::XmlStream(XmlHandler& handler, QString partName)
    : handler_(handler), partName_(std::move(partName)), parser_(XML_ParserCreate(nullptr)) {
    if (!parser_) {
        throw std::bad_alloc();
    }
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &XmlStream::OnStart, &XmlStream::OnEnd);
    XML_SetCharacterDataHandler(parser_, &XmlStream::OnCharacters);
    XML_SetStartDoctypeDeclHandler(parser_, &XmlStream::OnDoctype);
}

XmlStream::~XmlStream() {
    XML_ParserFree(parser_);
}

void XmlStream::Feed(std::string_view chunk) {
    while (!chunk.empty()) {
        const size_t size = std::min<size_t>(chunk.size(), std::numeric_limits<int>::max());
        Check(XML_Parse(parser_, chunk.data(), static_cast<int>(size), XML_FALSE));
        chunk.remove_prefix(size);
    }
}

void XmlStream::Finish() {
    Check(XML_Parse(parser_, nullptr, 0, XML_TRUE));
}

void XmlStream::ParsePart(ZipArchive& zip, const QString& partName, XmlHandler& handler) {
    const ZipArchive::Entry* entry = zip.Find(partName);
    if (!entry) {
        throw ReadError(ReadErrorCode::XmlPartMissing, {.part = partName});
    }
    XmlStream stream(handler, partName);
    zip.Read(*entry, [&stream](std::string_view chunk) { stream.Feed(chunk); });
    stream.Finish();
}

void XmlStream::Check(int status) {
    if (failure_) {
        std::rethrow_exception(failure_);
    }
    if (status == XML_STATUS_OK) {
        return;
    }
    const ReadError::Place place{.part = partName_,
                                 .offset = int64_t(XML_GetCurrentByteIndex(parser_)),
                                 .found = int64_t(XML_GetErrorCode(parser_))};
    throw ReadError(abortReason_ ? *abortReason_ : ReadErrorCode::XmlParser, place);
}

void XmlStream::Abort(ReadErrorCode reason) {
    if (abortReason_ || failure_) {
        return;
    }
    abortReason_ = reason;
    XML_StopParser(parser_, XML_FALSE);
}

template <typename Call>
void XmlStream::Guarded(Call call) {
    if (abortReason_ || failure_) {
        return;
    }
    try {
        call();
    } catch (...) {
        failure_ = std::current_exception();
        XML_StopParser(parser_, XML_FALSE);
    }
}

void XmlStream::OnStart(void* self, const char* name, const char** attributes) {
    auto* stream = static_cast<XmlStream*>(self);
    if (++stream->depth_ > MaxDepth) {
        stream->Abort(ReadErrorCode::XmlNestedTooDeeply);
        return;
    }
    stream->Guarded(
        [&] { stream->handler_.StartElement(XmlHandler::LocalName(name), attributes); });
}

void XmlStream::OnEnd(void* self, const char* name) {
    auto* stream = static_cast<XmlStream*>(self);
    --stream->depth_;
    stream->Guarded([&] { stream->handler_.EndElement(XmlHandler::LocalName(name)); });
}

void XmlStream::OnCharacters(void* self, const char* text, int length) {
    auto* stream = static_cast<XmlStream*>(self);
    stream->Guarded(
        [&] { stream->handler_.Characters(std::string_view(text, static_cast<size_t>(length))); });
}

void XmlStream::OnDoctype(void* self, const char*, const char*, const char*, int) {
    static_cast<XmlStream*>(self)->Abort(ReadErrorCode::XmlDoctype);
}

}  // namespace engine
