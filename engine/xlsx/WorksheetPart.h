// Reads one worksheet part into the model as its bytes inflate, scanning them in place: rows
// and cells (with or without `r` attributes), values of every cell type, formulas (plain,
// shared, array, data table) and each cell's number format. Notes come from the comments
// parts, not from here.
#pragma once

#include "engine/Cell.h"
#include "engine/xlsx/FormulaGroups.h"
#include "engine/xlsx/RichText.h"
#include "engine/xlsx/XmlScanner.h"

#include <cstdint>
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
    };

    WorksheetPart(Workbook& book, Worksheet& sheet, const Context& context, QString partName);

    // The next inflated bytes of the part.
    void Feed(std::string_view chunk);
    // The end of the part: reads what is left and adds the members of shared formulas whose
    // master came after them.
    void Finish();

private:
    enum class Capture : uint8_t { None, Value, Formula, Inline };

    void Scan();
    void StartElement(const XmlScanner::Token& tag);
    void EndElement(std::string_view name);
    void Characters(const XmlScanner::Token& text);
    void StartDimension(std::string_view attributes);
    void StartRow(std::string_view attributes);
    void StartCell(std::string_view attributes);
    void StartFormula(std::string_view attributes);
    void EndCell();
    void SetValue(Cell& cell);
    void SetFormula(Cell& cell);
    void AddCell(const Cell& cell);
    uint32_t EmptyText();

    Workbook& book_;
    Worksheet& sheet_;
    Context context_;
    XmlScanner scanner_;
    std::string scratch_;  // decoded attribute values and inline text
    FormulaGroups formulas_;
    RichText inlineText_;
    std::string value_;
    std::string formula_;
    Capture capture_ = Capture::None;
    bool inSheetData_ = false;
    size_t cellCount_ = 0;
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
    std::string tableInputs_;

    struct PendingMember {
        Cell cell;
        int si;
    };
    std::vector<PendingMember> pending_;
};

}  // namespace engine
