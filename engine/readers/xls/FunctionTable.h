// The built-in worksheet functions of .xls formulas: the number a formula token stores,
// the English name the formula bar shows, and the fixed argument count where the token
// does not carry one.
#pragma once

#include <QLatin1String>
#include <optional>

namespace engine {

struct FunctionInfo {
    QLatin1String name;
    int arguments = -1;  // -1 for functions that take a variable number of arguments
};

class FunctionTable {
public:
    // The function stored under `index`, or nothing for an index the table does not know.
    static std::optional<FunctionInfo> Find(int index);
};

}  // namespace engine
