// What a search does with a read sheet, for the reader fuzz targets: every look-in and match
// option's Find over the used range, each match's texts rendered, the chain followed until it
// comes round. Bytes that read must also search.
#pragma once

#include "engine/find/RangeFinder.h"
#include "engine/model/CellText.h"
#include "engine/model/Workbook.h"

#include <set>
#include <utility>

namespace fuzzsearch {

inline void FindEverywhere(const engine::Workbook& book, const engine::Worksheet& sheet) {
    using engine::LookIn;
    for (LookIn lookIn : {LookIn::Formulas, LookIn::Values, LookIn::Comments}) {
        for (int variant = 0; variant < 2; ++variant) {
            engine::FindOptions options;
            options.what = variant == 0 ? QStringLiteral("*") : QStringLiteral("a?~*");
            options.lookIn = lookIn;
            options.whole = variant == 1;
            options.byColumns = variant == 1;
            options.matchCase = variant == 1;
            options.matchByte = variant == 0;
            const engine::RangeFinder finder(book, sheet, sheet.UsedRange(), options);
            std::set<std::pair<int32_t, int32_t>> seen;
            auto at = finder.Next({sheet.UsedRange().top, sheet.UsedRange().left});
            while (at && seen.insert({at->row, at->column}).second) {
                if (const engine::Cell* cell = sheet.FindCell(at->row, at->column)) {
                    engine::CellText::Text(book, *cell);
                    engine::CellText::Formula(book, *cell);
                }
                at = finder.Next(*at);
            }
        }
    }
}

}  // namespace fuzzsearch
