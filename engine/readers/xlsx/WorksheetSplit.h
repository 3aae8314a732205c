// Reads a worksheet part held whole in memory on two threads: a second WorksheetPart reads the
// rows after the middle while this thread reads those before (posting its shared-formula
// masters for the other as it goes), and the two are joined as if one pass had read them.
// Where a join could differ from one pass (the later rows without numbers, an array formula
// reaching over the middle, a middle that falls inside other markup, a shared-formula master
// the later rows took too early) the later rows are read again after the earlier ones.
#pragma once

#include "engine/readers/xlsx/WorksheetPart.h"

#include <QString>
#include <string_view>

namespace engine {

class WorksheetSplit {
public:
    // Smaller parts are read in one pass: a thread costs more than it saves there. Larger
    // ones are streamed, so memory stays bounded.
    static constexpr uint64_t MinimumSize = 32 * 1024;
    static constexpr uint64_t MaximumSize = uint64_t{64} << 20;

    // True when the two halves were read at once and joined.
    static bool Read(Workbook& book, Worksheet& sheet, const WorksheetPart::Context& context,
                     const QString& partName, std::string_view xml);

private:
    // Where the row after the middle of `xml` starts, or npos; `head` receives the state of
    // a scanner inside the sheet data.
    static size_t FindMiddle(std::string_view xml, XmlScanner& head);
};

}  // namespace engine
