// The number of a cell's `<v>`: most are short decimals ("1234", "-0.25"), read here without
// the general conversion; the rest go to std::from_chars. Both give the same double.
#pragma once

#include <string_view>

namespace engine {

class NumberText {
public:
    // Leading spaces and a plus sign are allowed, as writers put them; false when the text
    // is no number.
    static bool Parse(std::string_view text, double& value);

private:
    // Up to 15 digits with an optional sign and point: the digits make an exact integer below
    // 2^53, the point a power of ten up to 10^15, and one division rounds as from_chars does.
    static bool ParseShortDecimal(std::string_view text, double& value);
};

}  // namespace engine
