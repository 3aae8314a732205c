// Turns the arguments of an automation Find call into the options the finder takes.
#pragma once

#include "automation/Variant.h"
#include "engine/find/FindOptions.h"

namespace engine {

class MemberCall;

class FindCall {
public:
    // Find's arguments in order: What, After, LookIn, LookAt, SearchOrder, SearchDirection,
    // MatchCase, MatchByte, SearchFormat. After is the caller's; omitted options take the
    // defaults of FindOptions. Raises EngineError for a value outside the enumerations.
    static FindOptions Options(const MemberCall& call);
    // An XlFindLookIn value; raises EngineError for any other.
    static LookIn LookInOf(const Variant& value);
};

}  // namespace engine
