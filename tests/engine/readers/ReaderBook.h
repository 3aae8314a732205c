// A workbook opened through one reader chosen by the test, not by the file's first bytes.
#pragma once

#include "engine/model/Workbook.h"

#include <QString>
#include <memory>

namespace engine {

template <typename Reader>
std::unique_ptr<Workbook> OpenWith(const QString& path) {
    auto reader = std::make_unique<Reader>(path);
    Reader* raw = reader.get();
    auto book = std::make_unique<Workbook>(path, std::move(reader));
    raw->ReadWorkbook(*book);
    return book;
}

}  // namespace engine
