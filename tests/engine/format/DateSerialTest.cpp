// Day serials and dates: the two date systems, the 1900 system's phantom leap day, and the
// carrying of months and days DATE() relies on.
#include "engine/format/DateSerial.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using engine::DateSerial;

TEST(DateSerial, KnownDaysOfBothSystems) {
    EXPECT_EQ(DateSerial::FromDate(1900, 1, 1, false), 1);
    EXPECT_EQ(DateSerial::FromDate(1900, 2, 28, false), 59);
    EXPECT_EQ(DateSerial::FromDate(1900, 3, 1, false), 61);  // day 60 is 29 February 1900
    EXPECT_EQ(DateSerial::FromDate(2024, 1, 5, false), 45296);
    EXPECT_EQ(DateSerial::FromDate(1904, 1, 1, true), 0);
    EXPECT_EQ(DateSerial::FromDate(2024, 1, 5, true), 45296 - 1462);
    const engine::CivilDate leap = DateSerial::ToDate(60, false);
    EXPECT_EQ((std::array{leap.year, leap.month, leap.day}), (std::array{1900, 2, 29}));
}

TEST(DateSerial, MonthsAndDaysOutsideTheirRangeCarry) {
    EXPECT_EQ(DateSerial::FromDate(2024, 13, 1, false), DateSerial::FromDate(2025, 1, 1, false));
    EXPECT_EQ(DateSerial::FromDate(2024, 0, 1, false), DateSerial::FromDate(2023, 12, 1, false));
    EXPECT_EQ(DateSerial::FromDate(2024, -12, 1, false), DateSerial::FromDate(2022, 12, 1, false));
    EXPECT_EQ(DateSerial::FromDate(2024, 3, 0, false), DateSerial::FromDate(2024, 2, 29, false));
    EXPECT_EQ(DateSerial::FromDate(2024, 1, 366, false), DateSerial::FromDate(2024, 12, 31, false));
}

TEST(DateSerial, EveryDayRoundTrips) {
    for (bool date1904 : {false, true}) {
        for (int64_t serial = 61; serial < 2958466; serial += 97) {
            const engine::CivilDate date = DateSerial::ToDate(serial, date1904);
            ASSERT_EQ(DateSerial::FromDate(date.year, date.month, date.day, date1904), serial)
                << serial << (date1904 ? " (1904)" : "");
        }
    }
}

}  // namespace
