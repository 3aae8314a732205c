// Day serials of the two date systems and calendar dates, both ways. The 1900 system counts
// 1900-01-00 as day 0 and keeps a 29 February 1900 (day 60) for compatibility; the 1904
// system counts from 1904-01-01.
#pragma once

#include <cstdint>

namespace engine {

struct CivilDate {
    int year = 1900;
    int month = 1;
    int day = 0;
    int weekday = 0;  // 0 = Sunday
};

class DateSerial {
public:
    // The date of a whole day serial (not negative).
    static CivilDate ToDate(int64_t serialDay, bool date1904);
    // The serial of a proleptic Gregorian date; month and day may lie outside their usual
    // ranges and carry into the next or previous year or month, as DATE() lets them.
    static int64_t FromDate(int64_t year, int64_t month, int64_t day, bool date1904);
};

}  // namespace engine
