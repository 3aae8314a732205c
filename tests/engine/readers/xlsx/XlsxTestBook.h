// Opens a package written by TestPackage through the .xlsx reader alone, so reader tests do
// not depend on how the opener sniffs files.
#pragma once

#include "engine/model/Workbook.h"
#include "engine/readers/xlsx/XlsxReader.h"
#include "tests/engine/readers/ReaderBook.h"
#include "tests/engine/readers/xlsx/TestPackage.h"

#include <memory>

namespace testpackage {

inline std::unique_ptr<engine::Workbook> OpenBytes(const QString& fileName,
                                                   const QByteArray& bytes) {
    return engine::OpenWith<engine::XlsxReader>(WriteFile(fileName, bytes));
}

inline std::unique_ptr<engine::Workbook> Open(const QString& fileName, const Members& members) {
    return OpenBytes(fileName, Zip(members));
}

}  // namespace testpackage
