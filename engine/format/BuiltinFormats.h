// The codes of the built-in number formats that files refer to by id alone, in the forms the
// Japanese version of the spreadsheet application shows (yen currency, `yyyy/m/d` short
// date, eras). Shared by the .xlsx and .xls readers.
#pragma once

#include <QString>

namespace engine {

class BuiltinFormats {
public:
    // The code of built-in format `id`, or "General" for an id that has none.
    static QString Code(int id);
};

}  // namespace engine
