// The byte layout of the version block our build embeds in an executable, and its encoder;
// free of Qt so the generated source of any executable can use it at compile time.
//
// Layout (all integers little-endian):
//   0   4 bytes  magic "SVVB"
//   4   u16      layout version, 1
//   6   u16      record count
//   8   u32      block size in bytes, header included
//   12  records, each: u16 path length, u16 value length, path (UTF-8), value (raw bytes)
// A record's path is a query path as the version functions take it: "\" for the fixed part
// (file and product version, four u16 each, most significant first), "\VarFileInfo\Translation"
// for the translation (u16 language, u16 code page), "\StringFileInfo\041103A4\FileVersion"
// for a text entry (UTF-8, no terminator). The block sits alone in the ELF section
// kSectionName; anything after its stated size (padding) is ignored.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace versionblock {

inline constexpr char kSectionName[] = ".sorvane_version";
inline constexpr std::string_view kMagic = "SVVB";
inline constexpr unsigned kLayoutVersion = 1;
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kRecordHeaderSize = 4;
// Far more than a real block needs; a section claiming more is not ours.
inline constexpr std::size_t kMaxBlockSize = 64 * 1024;

struct Record {
    std::string_view path;
    std::string_view value;
};

constexpr std::size_t EncodedSize(std::span<const Record> records) {
    std::size_t size = kHeaderSize;
    for (const Record& record : records) {
        size += kRecordHeaderSize + record.path.size() + record.value.size();
    }
    return size;
}

// Usable at compile time, so the build can place the finished bytes in their section.
template <std::size_t Size>
constexpr std::array<unsigned char, Size> Encode(std::span<const Record> records) {
    static_assert(Size <= kMaxBlockSize);
    std::array<unsigned char, Size> out{};
    std::size_t at = 0;
    auto put16 = [&](std::size_t v) {
        out[at++] = static_cast<unsigned char>(v & 0xFF);
        out[at++] = static_cast<unsigned char>((v >> 8) & 0xFF);
    };
    auto putBytes = [&](std::string_view text) {
        for (char c : text) {
            out[at++] = static_cast<unsigned char>(c);
        }
    };
    putBytes(kMagic);
    put16(kLayoutVersion);
    put16(records.size());
    put16(Size & 0xFFFF);
    put16(Size >> 16);
    for (const Record& record : records) {
        put16(record.path.size());
        put16(record.value.size());
        putBytes(record.path);
        putBytes(record.value);
    }
    return out;
}

}  // namespace versionblock
