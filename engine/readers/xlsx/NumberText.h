// The numbers of a worksheet's XML. A cell's `<v>`: most are short decimals ("1234", "-0.25"),
// read here without the general conversion; the rest go to std::from_chars. Both give the
// same double. Indexes and row numbers: a few digits, read without a library call.
#pragma once

#include <string_view>

namespace engine {

class NumberText {
public:
    // Leading spaces and a plus sign are allowed, as writers put them; false when the text
    // is no number.
    static bool Parse(std::string_view text, double& value);
    // The integer the text starts with, as std::from_chars reads it (an optional '-', then
    // digits; what follows is ignored); false when none or out of range.
    static bool ParseLeadingInt(std::string_view text, int& value);

private:
    // Up to 15 digits with an optional sign and point: the digits make an exact integer below
    // 2^53, the point a power of ten up to 10^15, and one division rounds as from_chars does.
    static bool ParseShortDecimal(std::string_view text, double& value);
};

}  // namespace engine
