// What a file-format reader offers the workbook model: the workbook-level parts at open
// time, and each worksheet on demand.
#pragma once

namespace engine {

class Workbook;
class Worksheet;

class BookReader {
public:
    virtual ~BookReader() = default;
    // Reads the sheet list, shared strings, number formats and the date system into `book`
    // (Workbook::AddSheetName, AddString, AddFormat, SetDate1904). Raises ReadError.
    virtual void ReadWorkbook(Workbook& book) = 0;
    // Fills the worksheet at the 0-based position of the sheet list, then the caller calls
    // Worksheet::Finish(). Raises ReadError.
    virtual void ReadWorksheet(int index, Workbook& book, Worksheet& sheet) = 0;
};

}  // namespace engine
