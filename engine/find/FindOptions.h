// The conditions of one Find, resolved once before the scan: the word, where to look, whole
// or part, the scan order and direction, and the two match options.
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
};

}  // namespace engine
