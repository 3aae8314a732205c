// The characters number cells can show: what lets a search or an index pass over numbers
// without rendering them.
#pragma once

#include <QString>
#include <QStringView>

namespace engine {

struct Cell;
class Workbook;

// Every character a number in the General format can show, in its displayed or its
// edit-bar form.
inline constexpr QStringView GeneralNumberAlphabet = u"0123456789.E+-";
// Every character the edit-bar form of any number constant can show: General numbers,
// percentages and dates and times as yyyy/m/d h:mm:ss.
inline constexpr QStringView NumberConstantAlphabet = u"0123456789.E+-%/: ";

// Every character the number cell's displayed text can show with its format.
QString DisplayedNumberAlphabet(const Workbook& book, const Cell& cell);

}  // namespace engine
