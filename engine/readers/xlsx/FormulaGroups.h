// The formulas of one worksheet that several cells share: shared formulas (the master cell
// holds the text, members refer to it by `si` and get it moved by their offset) and legacy
// array formulas (the top-left cell holds the text for its whole range). Puts each formula
// text into the sheet's strings.
#pragma once

#include "engine/model/Worksheet.h"
#include "engine/readers/xlsx/FormulaText.h"
#include "engine/readers/xlsx/MasterBoard.h"
#include "engine/readers/xlsx/PlainFormulas.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace engine {

class SheetStrings;

class FormulaGroups {
public:
    explicit FormulaGroups(SheetStrings& strings) : strings_(strings) {}

    // A formula of its own cell, as the file's bytes; returns its pool index. Rendered only
    // if the formula is shown or compared.
    uint32_t Plain(std::string_view formula);
    // The master of shared group `si` at (row, column); returns its pool index.
    uint32_t SharedMaster(int si, int32_t row, int32_t column, const QString& text);
    // The formula of a member of group `si`, or NoString while its master is not known.
    uint32_t SharedMember(int si, int32_t row, int32_t column);
    // The text of that formula, when the master is known.
    std::optional<QString> MemberText(int si, int32_t row, int32_t column) const;
    // A legacy array formula over `range`, already pooled.
    void AddArray(const CellRect& range, uint32_t formula);
    // The array formula covering (row, column), or NoString. Cells arrive row by row, so
    // arrays that end above `row` are dropped as it goes.
    uint32_t ArrayAt(int32_t row, int32_t column);
    // Whether an array formula may still cover cells further down.
    bool HasArrays() const { return !arrays_.empty(); }
    bool HasMaster(int si) const { return masters_.contains(si); }

    // Reading a sheet in two parts at once: the earlier part posts its masters to `board`,
    // the later one takes a master it lacks from there.
    void PostTo(MasterBoard& board) { postTo_ = &board; }
    void BorrowFrom(const MasterBoard& board) { borrowFrom_ = &board; }
    // Whether every master taken from the board is still the last one posted for its group.
    bool BorrowedLatest() const;

private:
    struct Master {
        int32_t row;
        int32_t column;
        std::shared_ptr<const FormulaText> text;  // split once, moved for each member
    };
    struct Array {
        CellRect range;
        uint32_t formula;
    };

    SheetStrings& strings_;
    std::shared_ptr<PlainFormulas> plain_;
    QHash<int, Master> masters_;
    std::vector<Array> arrays_;
    MasterBoard* postTo_ = nullptr;
    const MasterBoard* borrowFrom_ = nullptr;
    QHash<int, uint32_t> borrowed_;  // group → the board's post count when it was taken
};

}  // namespace engine
