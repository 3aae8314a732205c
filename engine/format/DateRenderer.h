// Renders a date or time serial through a date section of a number code: calendar dates in
// the 1900 system (with its 1900-02-29) or the 1904 system, times rounded to the shown
// precision, 12-hour clocks, elapsed `[h]` `[m]` `[s]`, and Japanese eras and weekdays.
#pragma once

#include "engine/format/FormatCode.h"

#include <QString>

namespace engine {

class DateRenderer {
public:
    // What the application shows for a serial no date can express: the column full of `#`.
    static constexpr const char* Undisplayable = "########";

    static QString Render(const FormatSection& section, double serial, bool date1904);
};

}  // namespace engine
