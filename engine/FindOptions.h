// The conditions of one Find, resolved once from the call's arguments: the word, where to
// look, whole or part, the scan order and direction, and the two match options.
#pragma once

#include <QString>

namespace engine {

class MemberCall;

enum class LookIn { Formulas, Values, Comments };

struct FindOptions {
    QString what;
    LookIn lookIn = LookIn::Formulas;
    bool whole = false;
    bool byColumns = false;
    bool previous = false;
    bool matchCase = false;
    bool matchByte = false;

    // Find's arguments in order: What, After, LookIn, LookAt, SearchOrder,
    // SearchDirection, MatchCase, MatchByte, SearchFormat. After is the caller's; omitted
    // options take the defaults above. Raises EngineError for a value outside the
    // enumerations.
    static FindOptions FromCall(const MemberCall& call);
};

}  // namespace engine
