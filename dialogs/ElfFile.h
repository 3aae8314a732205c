// Finds one named section in an ELF executable file (32 or 64 bit, either byte order) and
// reads its bytes. Every offset and size read from the file is checked against the file, so a
// truncated, foreign or hostile file gives nothing instead of a crash or a huge allocation.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>

class ElfFile {
public:
    // The bytes of the first section called `name`; nullopt when the file cannot be read, is
    // not ELF, has no such section, or the section holds no file data or more than maxSize bytes.
    static std::optional<QByteArray> ReadSection(const QString& path, std::string_view name,
                                                 qsizetype maxSize);
};
