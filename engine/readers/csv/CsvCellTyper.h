// Types a .csv field as the spreadsheet application types text entered into a "General"
// cell when it opens a .csv file (Japanese locale): numbers (with grouping, percent,
// exponent and currency forms, which also choose a number format), dates and times, TRUE
// and FALSE, error codes, formulas ("=..." and signed expressions such as "+81-3"), and text.
// Quoting does not matter. Formulas are left uncalculated, for the workbook's calculation.
#pragma once

#include "engine/model/Cell.h"

#include <QStringView>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace engine {

class Workbook;

class CsvCellTyper {
public:
    // `currentYear` completes dates given as month and day only.
    CsvCellTyper(Workbook& book, int currentYear);

    // The cell for a field, or nothing for an empty field (it creates no cell).
    std::optional<Cell> Type(QStringView field, int32_t row, int32_t column);

private:
    // The number formats a field can choose, added to the workbook on first use.
    enum class Format : uint8_t {
        Percent,
        PercentDecimals,
        Scientific,
        Grouped,
        GroupedDecimals,
        Yen,
        YenDecimals,
        Dollar,
        DollarDecimals,
        Date,
        DateTime,
        YearMonth,
        MonthDay,
        Time,
        TimeSeconds,
        Count
    };

    bool TypeNumber(QStringView text, Cell& cell);
    bool TypeDateTime(QStringView text, Cell& cell);
    uint32_t FormatIndex(Format format);
    uint32_t TextIndex(QStringView text);

    Workbook& book_;
    int year_;
    std::array<uint32_t, static_cast<size_t>(Format::Count)> formats_;
    std::string number_;  // reused for the digits of each number
    // Text values already in the pool: columns of names or categories repeat them, and a
    // Find matches each pool string once. The keys view the pool's strings, which never
    // change once added.
    std::unordered_map<std::u16string_view, uint32_t> texts_;
};

}  // namespace engine
