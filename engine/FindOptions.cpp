#include "engine/FindOptions.h"

#include "engine/MemberCall.h"

namespace engine {
namespace {

// The application's enumeration values.
constexpr int32_t XlFormulas = -4123;
constexpr int32_t XlValues = -4163;
constexpr int32_t XlComments = -4144;
constexpr int32_t XlWhole = 1;
constexpr int32_t XlPart = 2;
constexpr int32_t XlByRows = 1;
constexpr int32_t XlByColumns = 2;
constexpr int32_t XlNext = 1;
constexpr int32_t XlPrevious = 2;

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

FindOptions FindOptions::FromCall(const MemberCall& call) {
    call.AllowAtMost(SearchFormatArg + 1);
    FindOptions options;
    options.what = call.Required(What).ToString();
    if (call.Has(LookInArg)) {
        switch (call.Required(LookInArg).ToInt()) {
            case XlFormulas:
                options.lookIn = LookIn::Formulas;
                break;
            case XlValues:
                options.lookIn = LookIn::Values;
                break;
            case XlComments:
                options.lookIn = LookIn::Comments;
                break;
            default:
                MemberCall::BadArgument();
        }
    }
    if (call.Has(LookAtArg)) {
        options.whole = !Choice(call, LookAtArg, XlWhole, XlPart);
    }
    if (call.Has(SearchOrderArg)) {
        options.byColumns = Choice(call, SearchOrderArg, XlByRows, XlByColumns);
    }
    if (call.Has(SearchDirectionArg)) {
        options.previous = Choice(call, SearchDirectionArg, XlNext, XlPrevious);
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
