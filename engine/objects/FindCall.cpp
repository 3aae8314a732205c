#include "engine/objects/FindCall.h"

#include "automation/XlFind.h"
#include "engine/objects/MemberCall.h"

namespace engine {
namespace {

enum Argument : size_t {
    What,
    After,
    LookInArg,
    LookAtArg,
    SearchOrderArg,
    SearchDirectionArg,
    MatchCaseArg,
    MatchByteArg,
    SearchFormatArg,
};

// One of two enumeration values: true for `second`.
bool Choice(const MemberCall& call, size_t index, int32_t first, int32_t second) {
    const int32_t value = call.Required(index).ToInt();
    if (value != first && value != second) {
        MemberCall::BadArgument();
    }
    return value == second;
}

}  // namespace

LookIn FindCall::LookInOf(const Variant& value) {
    switch (value.ToInt()) {
        case XlFind::Formulas:
            return LookIn::Formulas;
        case XlFind::Values:
            return LookIn::Values;
        case XlFind::Comments:
            return LookIn::Comments;
        default:
            MemberCall::BadArgument();
    }
}

FindOptions FindCall::Options(const MemberCall& call) {
    call.AllowAtMost(SearchFormatArg + 1);
    FindOptions options;
    options.what = call.Required(What).ToString();
    if (call.Has(LookInArg)) {
        options.lookIn = LookInOf(call.Required(LookInArg));
    }
    if (call.Has(LookAtArg)) {
        options.whole = !Choice(call, LookAtArg, XlFind::Whole, XlFind::Part);
    }
    if (call.Has(SearchOrderArg)) {
        options.byColumns = Choice(call, SearchOrderArg, XlFind::ByRows, XlFind::ByColumns);
    }
    if (call.Has(SearchDirectionArg)) {
        options.previous = Choice(call, SearchDirectionArg, XlFind::Next, XlFind::Previous);
    }
    if (call.Has(MatchCaseArg)) {
        options.matchCase = call.Required(MatchCaseArg).ToBool();
    }
    if (call.Has(MatchByteArg)) {
        options.matchByte = call.Required(MatchByteArg).ToBool();
    }
    return options;
}

}  // namespace engine
