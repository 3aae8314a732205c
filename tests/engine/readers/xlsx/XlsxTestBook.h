// Opens a package written by TestPackage through the .xlsx reader alone, so reader tests do
// not depend on how the opener sniffs files.
#pragma once

#include "engine/model/Workbook.h"
#include "engine/readers/xlsx/XlsxReader.h"
#include "tests/engine/readers/xlsx/TestPackage.h"

#include <memory>

namespace testpackage {

inline std::unique_ptr<engine::Workbook> OpenBytes(const QString& fileName,
                                                   const QByteArray& bytes) {
    const QString path = WriteFile(fileName, bytes);
    auto reader = std::make_unique<engine::XlsxReader>(path);
    engine::XlsxReader& raw = *reader;
    auto book = std::make_unique<engine::Workbook>(path, std::move(reader));
    raw.ReadWorkbook(*book);
    return book;
}

inline std::unique_ptr<engine::Workbook> Open(const QString& fileName, const Members& members) {
    return OpenBytes(fileName, Zip(members));
}

}  // namespace testpackage
