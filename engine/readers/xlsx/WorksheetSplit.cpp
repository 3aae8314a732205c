#include "engine/readers/xlsx/WorksheetSplit.h"

#include <algorithm>
#include <exception>
#include <thread>

namespace engine {
namespace {

constexpr size_t HeadPiece = 4096;
constexpr size_t LeadMinimum = 4096;

bool EndsTagName(char c) {
    return c == ' ' || c == '>' || c == '/' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

size_t WorksheetSplit::FindMiddle(std::string_view xml, XmlScanner& head) {
    XmlScanner::Token token;
    bool inSheetData = false;
    for (size_t at = 0; at < xml.size() / 2 && !inSheetData; at += HeadPiece) {
        head.Feed(xml.substr(at, HeadPiece));
        while (!inSheetData && head.Next(token)) {
            inSheetData = token.kind == XmlScanner::Kind::StartTag && token.name == "sheetData" &&
                          !token.selfClosing;
        }
    }
    if (!inSheetData || head.Depth() != 2 || !head.IsUtf8()) {
        return std::string_view::npos;
    }
    // Rows carry the prefix their sheet data has: "<row" or "<x:row".
    const std::string_view sheetData = head.InnermostName();
    std::string rowTag = "<";
    rowTag.append(sheetData.substr(0, sheetData.size() - 9));
    rowTag.append("row");
    for (size_t at = xml.find(rowTag, xml.size() / 2); at != std::string_view::npos;
         at = xml.find(rowTag, at + 1)) {
        if (at + rowTag.size() < xml.size() && EndsTagName(xml[at + rowTag.size()])) {
            return at;
        }
    }
    return std::string_view::npos;
}

bool WorksheetSplit::Read(Workbook& book, Worksheet& sheet, const WorksheetPart::Context& context,
                          const QString& partName, std::string_view xml) {
    WorksheetPart first(book, sheet, context, partName);
    XmlScanner head(partName);
    const size_t middle = FindMiddle(xml, head);
    if (middle == std::string_view::npos) {
        first.FeedInPieces(xml);
        first.Finish();
        return false;
    }

    WorksheetPart rest(book, sheet, context, partName);
    rest.ResumeInSheetData(head);
    rest.ReserveFor(xml.size() - middle);
    MasterBoard masters;
    first.ShareMastersWith(rest, masters);
    // Masters of shared formulas mostly sit at the top: the first rows (an eighth of the
    // earlier half, at least 4 KiB) are read before the later half starts, so it finds them
    // posted rather than reading its rows again for having looked too early.
    const size_t lead = std::min({middle, WorksheetPart::Piece, std::max(middle / 8, LeadMinimum)});
    first.Feed(xml.substr(0, lead));
    std::exception_ptr restError;
    std::thread worker([&] {
        try {
            rest.FeedInPieces(xml.substr(middle));
            rest.FinishRows();
        } catch (...) {
            restError = std::current_exception();
        }
    });
    struct Joiner {
        std::thread& thread;
        ~Joiner() {
            if (thread.joinable()) {
                thread.join();
            }
        }
    } joiner{worker};
    first.FeedInPieces(xml.substr(lead, middle - lead));
    worker.join();

    if (first.BetweenRows() && rest.FirstRowNumbered() && !first.HasArrayFormulas() &&
        rest.MastersAgreeWith(first)) {
        if (restError) {
            std::rethrow_exception(restError);
        }
        first.FinishJoined(rest);
        return true;
    }
    first.FeedInPieces(xml.substr(middle));
    first.Finish();
    return false;
}

}  // namespace engine
