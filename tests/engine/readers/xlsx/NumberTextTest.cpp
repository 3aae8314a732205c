// A cell's number read by the short path must be the double the general conversion gives,
// digit for digit, and the text it refuses must stay refused.
#include "engine/readers/xlsx/NumberText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Reference(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

TEST(NumberText, ShortDecimalsAreTheDoublesFromCharsGives) {
    uint64_t seed = 7;
    const auto next = [&seed] {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        return seed >> 33;
    };
    for (int round = 0; round < 200000; ++round) {
        std::string text = next() % 4 == 0 ? "-" : "";
        const int digits = int(next() % 17) + 1;
        const int point = int(next() % (digits + 2));
        for (int i = 0; i < digits; ++i) {
            if (i == point) {
                text += '.';
            }
            text += char('0' + next() % 10);
        }
        double value = 0;
        ASSERT_TRUE(engine::NumberText::Parse(text, value)) << text;
        const double expected = Reference(text);
        ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
    }
}

TEST(NumberText, OtherFormsGoToTheGeneralConversion) {
    double value = 0;
    for (const char* text : {"1e3", "  +2.5", "1234567890123456789", "1.5E-7", "-0"}) {
        ASSERT_TRUE(engine::NumberText::Parse(text, value)) << text;
        const std::string trimmed =
            std::string(text).substr(std::string(text).find_first_not_of(" +"));
        const double expected = Reference(trimmed);
        EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
    }
    for (const char* text : {"", "-", ".", "1.2.3", "12a", "--1", "1 "}) {
        EXPECT_FALSE(engine::NumberText::Parse(text, value)) << text;
    }
}

TEST(NumberText, LeadingIntegersAreWhatFromCharsReads) {
    std::vector<std::string> texts = {"",
                                      "-",
                                      "+1",
                                      "0",
                                      "-0",
                                      "007",
                                      "12abc",
                                      " 1",
                                      "2147483647",
                                      "2147483648",
                                      "-2147483648",
                                      "-2147483649",
                                      "99999999999999999999",
                                      "1-2",
                                      "--1"};
    uint64_t seed = 11;
    for (int round = 0; round < 20000; ++round) {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        std::string text = (seed >> 60) % 3 == 0 ? "-" : "";
        for (int i = int((seed >> 40) % 12); i-- > 0;) {
            text += char('0' + (seed >> (i * 3 % 40)) % 10);
        }
        texts.push_back(text + ((seed >> 20) % 2 ? "" : "x"));
    }
    for (const std::string& text : texts) {
        int expected = -7;
        const bool parsed =
            std::from_chars(text.data(), text.data() + text.size(), expected).ec == std::errc();
        int value = -7;
        ASSERT_EQ(engine::NumberText::ParseLeadingInt(text, value), parsed) << text;
        if (parsed) {
            ASSERT_EQ(value, expected) << text;
        }
    }
}

}  // namespace
