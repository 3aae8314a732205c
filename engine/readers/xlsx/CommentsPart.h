// Reads a worksheet's notes: the legacy comments part (the runs of each `<text>`
// concatenated, without the phonetic reading; the author is not added, the visible author
// line is part of the runs) or a threaded-comments part (the messages of each thread, one
// per line, for files that have only those).
#pragma once

#include "engine/model/Worksheet.h"
#include "engine/readers/xlsx/RichText.h"
#include "engine/readers/xlsx/XmlHandler.h"

#include <string>
#include <vector>

namespace engine {

class CommentsPart : public XmlHandler {
public:
    enum class Kind { Legacy, Threaded };

    explicit CommentsPart(Kind kind) : kind_(kind) {}

    // The notes in file order; a thread is one note.
    std::vector<CellNote>& Notes() { return notes_; }

    void StartElement(std::string_view name, const char** attributes) override;
    void EndElement(std::string_view name) override;
    void Characters(std::string_view text) override;

private:
    Kind kind_;
    std::vector<CellNote> notes_;
    RichText text_;
    std::string plain_;
    bool inComment_ = false;
    bool inText_ = false;
    int32_t row_ = 0;
    int32_t column_ = 0;
};

}  // namespace engine
