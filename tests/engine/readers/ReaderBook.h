// A workbook opened through one reader chosen by the test, not by the file's first bytes. Its
// errors come as OpenWorkbook gives them.
#pragma once

#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"

#include <QString>
#include <memory>

namespace engine {

template <typename Reader>
std::unique_ptr<Workbook> OpenWith(const QString& path) {
    try {
        auto reader = std::make_unique<Reader>(path);
        Reader* raw = reader.get();
        auto book = std::make_unique<Workbook>(path, std::move(reader));
        raw->ReadWorkbook(*book);
        return book;
    } catch (const ReadError& error) {
        throw EngineError::ForFile(error, path);
    }
}

}  // namespace engine
