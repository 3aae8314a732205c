#include "engine/readers/xlsx/NumberText.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace engine {
namespace {

constexpr double PowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr int MaxShortDigits = 15;

}  // namespace

bool NumberText::Parse(std::string_view text, double& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    if (ParseShortDecimal(text, value)) {
        return true;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool NumberText::ParseShortDecimal(std::string_view text, double& value) {
    size_t i = 0;
    const bool negative = !text.empty() && text.front() == '-';
    i += negative ? 1 : 0;
    uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (++digits > MaxShortDigits) {
                return false;
            }
            mantissa = mantissa * 10 + uint64_t(c - '0');
            decimals += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (digits == 0) {
        return false;
    }
    value = double(mantissa) / PowersOfTen[decimals];
    value = negative ? -value : value;
    return true;
}

bool NumberText::ParseLeadingInt(std::string_view text, int& value) {
    const bool negative = !text.empty() && text[0] == '-';
    const size_t digitsStart = negative ? 1 : 0;
    size_t i = digitsStart;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > int64_t{std::numeric_limits<int>::max()} + 1) {
            return false;
        }
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (i == digitsStart || signedValue > std::numeric_limits<int>::max()) {
        return false;
    }
    value = static_cast<int>(signedValue);
    return true;
}

}  // namespace engine
