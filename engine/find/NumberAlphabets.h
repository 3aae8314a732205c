// The characters number cells can show without their format adding any.
#pragma once

#include <QStringView>

namespace engine {

// Every character a number in the General format can show, in its displayed or its
// edit-bar form.
inline constexpr QStringView GeneralNumberAlphabet = u"0123456789.E+-";
// Every character the edit-bar form of any number constant can show: General numbers,
// percentages and dates and times as yyyy/m/d h:mm:ss.
inline constexpr QStringView NumberConstantAlphabet = u"0123456789.E+-%/: ";

}  // namespace engine
