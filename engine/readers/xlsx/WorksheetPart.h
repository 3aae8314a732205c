// Reads one worksheet part into the model as its bytes inflate, scanning them in place: rows
// and cells (with or without `r` attributes), values of every cell type, formulas (plain,
// shared, array, data table), each cell's number format, hidden and formatted rows and
// columns, and the range of an active filter. Notes come from the comments parts.

#pragma once

#include "engine/model/Cell.h"
#include "engine/readers/xlsx/FormulaGroups.h"
#include "engine/readers/xlsx/RichText.h"
#include "engine/readers/xlsx/SheetStrings.h"
#include "engine/readers/xlsx/XmlScanner.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace engine {

class Workbook;
class Worksheet;

class WorksheetPart {
public:
    // Cells beyond this many in one sheet are refused rather than exhausting memory.
    static constexpr size_t MaxCells = size_t{16} << 20;

    struct Context {
        const std::vector<uint32_t>& sharedStrings;  // pool index per shared string
        const std::vector<uint32_t>& cellFormats;    // format index per cellXfs entry
        bool date1904;
        uint64_t partSize;  // inflated size of the part, to bound the cell reservation
        // The workbook asks to be recalculated on opening: its stored results are only
        // what the writer put there (often 0), so its formulas are calculated again.
        bool fullCalcOnLoad = false;
    };

    WorksheetPart(Workbook& book, Worksheet& sheet, const Context& context, QString partName);

    // Bytes held in memory are fed in pieces of this size, so the scanner holds only the
    // bytes it is reading.
    static constexpr size_t Piece = 256 * 1024;

    // The next inflated bytes of the part.
    void Feed(std::string_view chunk);
    // Feeds bytes held in memory, piece by piece.
    void FeedInPieces(std::string_view bytes);
    // The end of the part: reads what is left, adds the members of shared formulas whose
    // master came after them, and hands the cells and strings to the sheet and workbook.
    void Finish();

    // Reading the rows of one sheet in two parts at once (see WorksheetSplit): this part
    // starts inside the sheet data that `head` has opened.
    void ResumeInSheetData(const XmlScanner& head);
    // Room for the cells `bytes` of rows can hold.
    void ReserveFor(uint64_t bytes);
    // Reads what is left, without handing anything over.
    void FinishRows();
    // Whether this part stopped between two rows with nothing half read.
    bool BetweenRows() const;
    // Whether the first row this part read carried its number (r="…").
    bool FirstRowNumbered() const { return firstRowNumbered_; }
    bool HasArrayFormulas() const { return formulas_.HasArrays(); }
    // Shares shared-formula masters with the part reading the later rows, while both read.
    void ShareMastersWith(WorksheetPart& later, MasterBoard& board);
    // Whether the masters this part took from the earlier part are those a pass in order
    // would have used: the last the earlier rows define, and none missed for being late.
    bool MastersAgreeWith(const WorksheetPart& earlier) const;
    // Joins `rest`, which read the rows after this part's, as if one part had read both,
    // and hands everything over.
    void FinishJoined(WorksheetPart& rest);

private:
    enum class Capture : uint8_t { None, Value, Formula, Inline };

    void Scan();
    void StartElement(const XmlScanner::Token& tag);
    void EndElement(std::string_view name);
    void Characters(const XmlScanner::Token& text);
    void StartDimension(std::string_view attributes);
    // The tags of rows, cells and formulas come either as a token's attribute bytes or as a
    // plain tag already split (XmlScanner::NextPlainStartTag).
    template <typename Attributes>
    void StartRow(const Attributes& attributes);
    void StartColumns(std::string_view attributes);
    void StartAutoFilter(std::string_view attributes);
    // Hands the hidden and formatted rows and columns and the filter to the sheet.
    void PassLayout();
    // Reads a row's or a cell's start tag of the plainest shape without a token.
    bool TakesPlainTags() const { return inSheetData_ && capture_ != Capture::Inline; }
    bool TakePlainRow();
    bool TakePlainCell();
    template <typename Attributes>
    void StartCell(const Attributes& attributes);
    void TakeSimpleContent();
    template <typename Attributes>
    void StartFormula(const Attributes& attributes);
    void EndCell();
    void SetValue(Cell& cell);
    void SetFormula(Cell& cell);
    void AddCell(const Cell& cell);
    void CountCell();
    uint32_t EmptyText();
    // Members waiting for their master, resolved from `first`'s masters, else `second`'s.
    void ResolvePending(const FormulaGroups& first, const FormulaGroups& second);
    // Moves this part's strings into the workbook and points its cells at them.
    void PoolStrings();

    Workbook& book_;
    Worksheet& sheet_;
    Context context_;
    XmlScanner scanner_;
    std::string scratch_;  // decoded attribute values and inline text
    XmlScanner::PlainTag plain_;
    SheetStrings strings_;
    std::vector<Cell> cells_;
    std::vector<Cell> resolved_;  // pending members once resolved, added after the cells
    struct Span {
        int first;
        int last;
    };
    std::vector<Span> hiddenRows_;
    std::vector<Span> hiddenColumns_;
    std::vector<Span> formattedRows_;
    std::vector<Span> formattedColumns_;
    std::optional<CellRect> filterRange_;
    FormulaGroups formulas_;
    RichText inlineText_;
    std::string value_;
    std::string formula_;
    Capture capture_ = Capture::None;
    bool inSheetData_ = false;
    size_t cellCount_ = 0;
    int rowCount_ = 0;
    bool firstRowNumbered_ = false;
    uint32_t emptyText_ = NoString;

    // The cell being read.
    int32_t row_ = 0;
    int32_t column_ = 0;
    char type_ = 'n';  // n s b e d, 'r' str, 'i' inlineStr
    uint32_t format_ = 0;
    bool styled_ = false;
    bool dynamicArray_ = false;
    bool inCell_ = false;
    bool hasValue_ = false;
    bool hasFormula_ = false;
    bool hasInline_ = false;
    std::string formulaType_;
    int sharedIndex_ = -1;
    std::string formulaRef_;
    std::string tableInput1_;  // a data table's input cells (r1, r2)
    std::string tableInput2_;

    struct PendingMember {
        Cell cell;
        int si;
    };
    std::vector<PendingMember> pending_;
};

}  // namespace engine
