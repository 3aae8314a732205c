// The conditions of one Find, resolved once before the scan: the word, where to look, whole
// or part, the scan order and direction, the two match options, and hidden cells.
#pragma once

#include <QString>

namespace engine {

enum class LookIn { Formulas, Values, Comments };

struct FindOptions {
    QString what;
    LookIn lookIn = LookIn::Formulas;
    bool whole = false;
    bool byColumns = false;
    bool previous = false;
    bool matchCase = false;
    bool matchByte = false;
    // Also cells the application's Find passes over: in hidden rows and columns (looking in
    // values) and in rows an active filter hides (looking anywhere).
    bool hiddenCells = false;
};

}  // namespace engine
