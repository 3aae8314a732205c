#include "engine/format/GeneralNumber.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Rendering {
    double value;
    const char* display;
    const char* edit;
};

class GeneralNumberTest : public testing::TestWithParam<Rendering> {};

TEST_P(GeneralNumberTest, DisplayAndEditForms) {
    const Rendering& r = GetParam();
    EXPECT_EQ(engine::GeneralNumber::Display(r.value).toStdString(), r.display) << r.value;
    EXPECT_EQ(engine::GeneralNumber::Edit(r.value).toStdString(), r.edit) << r.value;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, GeneralNumberTest,
    testing::Values(
        // Integers that fit in 11 digits show in full; the sign is not counted.
        Rendering{0, "0", "0"}, Rendering{7, "7", "7"}, Rendering{-0.0, "0", "0"},
        Rendering{12345678901, "12345678901", "12345678901"},
        Rendering{-12345678901, "-12345678901", "-12345678901"},
        // Too many integer digits: exponent form with up to five decimals.
        Rendering{123456789012, "1.23457E+11", "123456789012"},
        Rendering{-1234567890123, "-1.23457E+12", "-1234567890123"},
        Rendering{1e20, "1E+20", "1E+20"},
        Rendering{1234567890123456, "1.23457E+15", "1234567890123460"},
        Rendering{1234567890123456789.0, "1.23457E+18", "1.23456789012346E+18"},
        // Fractions rounded to fit 11 characters, half away from zero.
        Rendering{123456.7891234, "123456.7891", "123456.7891234"},
        Rendering{1.0 / 3, "0.333333333", "0.333333333333333"},
        Rendering{2.0 / 3 * 1000, "666.6666667", "666.666666666667"},
        Rendering{1234567890.5, "1234567891", "1234567890.5"}, Rendering{0.1 + 0.2, "0.3", "0.3"},
        Rendering{1234.5, "1234.5", "1234.5"}, Rendering{-2.5, "-2.5", "-2.5"},
        // Rounding that carries into a new digit decides the form afterwards.
        Rendering{9999999999.9, "10000000000", "9999999999.9"},
        Rendering{99999999999.5, "1E+11", "99999999999.5"},
        // Small magnitudes: whichever form keeps more significant digits, fixed on a tie.
        Rendering{0.000123456789, "0.000123457", "0.000123456789"},
        Rendering{0.0000123456789, "1.23457E-05", "0.0000123456789"},
        Rendering{0.00000123456789, "1.23457E-06", "1.23456789E-06"},
        Rendering{0.00001, "0.00001", "0.00001"}, Rendering{1e-10, "1E-10", "1E-10"},
        Rendering{-0.5, "-0.5", "-0.5"}));

TEST(GeneralNumberSpecialValues, NonFiniteShowsAsNumberError) {
    EXPECT_EQ(engine::GeneralNumber::Display(std::numeric_limits<double>::infinity()), "#NUM!");
    EXPECT_EQ(engine::GeneralNumber::Edit(std::numeric_limits<double>::quiet_NaN()), "#NUM!");
}

}  // namespace
