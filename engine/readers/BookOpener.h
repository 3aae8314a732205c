// Opens a workbook file with the reader its first bytes call for.
#pragma once

#include "engine/model/Workbook.h"
#include "engine/readers/ReadPolicy.h"

#include <QString>
#include <memory>

namespace engine {

// Opens the file with the reader its first bytes call for (zip, compound file, else text).
// Raises EngineError with a clear message for a missing, unreadable, damaged, encrypted or
// unsupported file.
std::unique_ptr<Workbook> OpenWorkbook(const QString& path, ReadPolicy policy = {});

}  // namespace engine
