// Feeds XML to a handler through expat, chunk by chunk as a zip member inflates. Rejects
// document type declarations (no part of a workbook has one, and entity expansion is how
// small hostile files grow) and nesting deeper than any workbook part needs.
// Raises ReadError with the part name and byte offset.
#pragma once

#include "engine/model/ReadError.h"
#include "engine/readers/xlsx/XmlHandler.h"

#include <QString>
#include <exception>
#include <optional>
#include <string_view>

struct XML_ParserStruct;

namespace engine {

class ZipArchive;

class XmlStream {
public:
    static constexpr int MaxDepth = 256;

    XmlStream(XmlHandler& handler, QString partName);
    ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    void Feed(std::string_view chunk);
    void Finish();

    // Reads zip member `partName` of `zip` through `handler`.
    static void ParsePart(ZipArchive& zip, const QString& partName, XmlHandler& handler);

private:
    static void OnStart(void* self, const char* name, const char** attributes);
    static void OnEnd(void* self, const char* name);
    static void OnCharacters(void* self, const char* text, int length);
    static void OnDoctype(void* self, const char*, const char*, const char*, int);
    void Abort(ReadErrorCode reason);
    // Runs a handler call; an exception stops the parser and is raised again from Check(),
    // since it must not unwind through expat's C frames.
    template <typename Call>
    void Guarded(Call call);
    void Check(int status);

    XmlHandler& handler_;
    QString partName_;
    XML_ParserStruct* parser_;
    int depth_ = 0;
    std::optional<ReadErrorCode> abortReason_;
    std::exception_ptr failure_;
};

}  // namespace engine
