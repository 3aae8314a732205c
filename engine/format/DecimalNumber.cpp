#include "engine/format/DecimalNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace engine {

DecimalNumber DecimalNumber::FromDouble(double value) {
    DecimalNumber number;
    if (!std::isfinite(value) || value == 0) {
        return number;
    }
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    *result.ptr = '\0';
    // "d.dddddddddddddde±XX"
    number.digits_.push_back(buffer[0]);
    const char* p = buffer + 2;
    while (*p != 'e') {
        number.digits_.push_back(*p++);
    }
    number.exponent_ = std::atoi(p + 1) + 1;
    number.Normalise();
    return number;
}

void DecimalNumber::RoundToDecimals(int decimals) {
    if (!IsZero()) {
        RoundAt(exponent_ + decimals);
    }
}

void DecimalNumber::RoundToSignificant(int count) {
    if (!IsZero()) {
        RoundAt(count);
    }
}

// Keeps `keep` leading digits, rounding half away from zero on the next one.
void DecimalNumber::RoundAt(int keep) {
    if (keep < 0) {
        digits_.clear();
        return;
    }
    if (static_cast<size_t>(keep) >= digits_.size()) {
        return;
    }
    const bool up = digits_[static_cast<size_t>(keep)] >= '5';
    digits_.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && digits_[static_cast<size_t>(i)] == '9') {
            digits_[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits_[static_cast<size_t>(i)];
        } else {
            digits_.insert(digits_.begin(), '1');
            ++exponent_;
        }
    }
    Normalise();
}

void DecimalNumber::Normalise() {
    const size_t last = digits_.find_last_not_of('0');
    digits_.resize(last == std::string::npos ? 0 : last + 1);
    const size_t first = digits_.find_first_not_of('0');
    if (first == std::string::npos) {
        digits_.clear();
    } else if (first > 0) {
        digits_.erase(0, first);
        exponent_ -= static_cast<int>(first);
    }
    if (digits_.empty()) {
        exponent_ = 0;
    }
}

std::string DecimalNumber::IntegerDigits() const {
    if (exponent_ <= 0) {
        return {};
    }
    std::string result = digits_.substr(0, static_cast<size_t>(exponent_));
    result.resize(static_cast<size_t>(exponent_), '0');
    return result;
}

std::string DecimalNumber::FractionDigits(int count) const {
    std::string result;
    result.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const int position = exponent_ + i;  // index into digits_
        result.push_back(position >= 0 && static_cast<size_t>(position) < digits_.size()
                             ? digits_[static_cast<size_t>(position)]
                             : '0');
    }
    return result;
}

}  // namespace engine
