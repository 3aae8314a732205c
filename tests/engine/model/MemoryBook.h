// Hand-made workbooks for engine tests: cells are given as a grid of texts ("" = no cell)
// or added one by one, without any file.
#pragma once

#include "engine/model/BookReader.h"
#include "engine/model/Workbook.h"

#include <functional>
#include <memory>
#include <vector>

namespace testbook {

using Fill = std::function<void(engine::Workbook&, engine::Worksheet&)>;

class MemoryReader : public engine::BookReader {
public:
    explicit MemoryReader(std::vector<Fill> sheets) : sheets_(std::move(sheets)) {}
    void ReadWorkbook(engine::Workbook& book) override {
        for (size_t i = 0; i < sheets_.size(); ++i) {
            book.AddSheetName(QStringLiteral("Sheet%1").arg(i + 1));
        }
    }
    void ReadWorksheet(int index, engine::Workbook& book, engine::Worksheet& sheet) override {
        sheets_.at(static_cast<size_t>(index))(book, sheet);
    }

private:
    std::vector<Fill> sheets_;
};

inline std::shared_ptr<engine::Workbook> Make(std::vector<Fill> sheets) {
    auto reader = std::make_unique<MemoryReader>(std::move(sheets));
    MemoryReader& r = *reader;
    auto book =
        std::make_shared<engine::Workbook>(QStringLiteral("memory.xlsx"), std::move(reader));
    r.ReadWorkbook(*book);
    return book;
}

inline engine::Cell Text(engine::Workbook& book, int32_t row, int32_t column, const QString& text) {
    engine::Cell cell;
    cell.row = row;
    cell.column = column;
    cell.type = engine::CellType::Text;
    cell.text = book.AddString(text);
    return cell;
}

inline engine::Cell Number(engine::Workbook& book, int32_t row, int32_t column, double value,
                           const QString& format = QStringLiteral("General")) {
    engine::Cell cell;
    cell.row = row;
    cell.column = column;
    cell.type = engine::CellType::Number;
    cell.number = value;
    cell.format = book.AddFormat(format);
    return cell;
}

// Text cells from a grid whose first row is row `top` and first column `left`.
inline Fill Grid(std::vector<std::vector<QString>> rows, int32_t top = 1, int32_t left = 1) {
    return [rows = std::move(rows), top, left](engine::Workbook& book, engine::Worksheet& sheet) {
        for (size_t r = 0; r < rows.size(); ++r) {
            for (size_t c = 0; c < rows[r].size(); ++c) {
                if (!rows[r][c].isEmpty()) {
                    sheet.AddCell(Text(book, top + static_cast<int32_t>(r),
                                       left + static_cast<int32_t>(c), rows[r][c]));
                }
            }
        }
    };
}

}  // namespace testbook
