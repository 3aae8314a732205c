#include "engine/format/DateSerial.h"

namespace engine {
namespace {

constexpr int64_t EpochDays1899_12_30 = -25569;
constexpr int64_t EpochDays1899_12_31 = -25568;
constexpr int64_t EpochDays1904_01_01 = -24107;

// Days since 1970-01-01 to a proleptic Gregorian date.
void FromEpochDays(int64_t days, CivilDate& date) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    date.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
}

// A proleptic Gregorian date (month 1-12) to days since 1970-01-01.
int64_t ToEpochDays(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

CivilDate DateSerial::ToDate(int64_t serialDay, bool date1904) {
    CivilDate date;
    if (date1904) {
        FromEpochDays(EpochDays1904_01_01 + serialDay, date);
        date.weekday = static_cast<int>((serialDay + 5) % 7);
        return date;
    }
    if (serialDay == 0) {
        date = {1900, 1, 0};
    } else if (serialDay == 60) {
        date = {1900, 2, 29};
    } else {
        FromEpochDays((serialDay < 60 ? EpochDays1899_12_31 : EpochDays1899_12_30) + serialDay,
                      date);
    }
    date.weekday = static_cast<int>((serialDay + 6) % 7);
    return date;
}

int64_t DateSerial::FromDate(int64_t year, int64_t month, int64_t day, bool date1904) {
    // Months outside 1-12 move the year; days outside the month are counted on from its 1st.
    year += (month - 1 >= 0 ? (month - 1) / 12 : (month - 12) / 12);
    month = ((month - 1) % 12 + 12) % 12 + 1;
    const int64_t days = ToEpochDays(year, month, 1) + day - 1;
    if (date1904) {
        return days - EpochDays1904_01_01;
    }
    const int64_t serial = days - EpochDays1899_12_30;
    return serial <= 60 ? serial - 1 : serial;  // before March 1900 the phantom day is not passed
}

}  // namespace engine
