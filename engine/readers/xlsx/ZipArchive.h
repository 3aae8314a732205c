// A read-only zip container over a file read into memory: the central directory is read once,
// members are found by name (case-insensitively, with `\` taken as `/`), and a member's bytes
// are handed to a sink in chunks. A member of up to some megabytes is inflated whole first;
// a larger one is inflated in chunks straight into the sink, so it is never held whole, and
// on a second thread while the sink reads the chunks made when the read policy allows it.
// Inflated output is capped per member (by ratio) and per archive (in total).
// Raises ReadError; the workbook's opener turns it into the text the user sees.
#pragma once

#include "engine/readers/ReadPolicy.h"
#include "engine/readers/xlsx/ChunkPipeline.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class ZipArchive {
public:
    struct Entry {
        QString name;  // as stored, with `/` separators
        uint64_t compressedSize = 0;
        uint64_t uncompressedSize = 0;
        uint64_t localHeaderOffset = 0;
        uint32_t crc = 0;
        uint16_t method = 0;
        uint16_t flags = 0;
    };
    using Sink = std::function<void(std::string_view chunk)>;
    // A member inflated whole. Its buffer is not zero-filled first: inflating writes every
    // byte, and a large sheet's filling cost as much as a tenth of its inflating.
    struct Inflated {
        std::unique_ptr<char[]> bytes;
        size_t size = 0;
        std::string_view View() const { return {bytes.get(), size}; }
    };

    static constexpr uint64_t MaxTotalInflated = uint64_t{4} << 30;
    // Worksheet XML rarely compresses beyond 100:1; small members may inflate freely.
    static constexpr uint64_t MaxRatio = 500;
    static constexpr uint64_t RatioAllowance = uint64_t{16} << 20;
    static constexpr size_t MaxEntries = 1 << 20;
    // Below this inflated size, handing chunks to another thread costs more than it saves.
    static constexpr uint64_t PipelineMinimum = 32 * 1024;
    // Up to this inflated size, Read inflates a member whole (twice as fast as streaming)
    // and hands it on in chunks.
    static constexpr uint64_t WholeMaximum = uint64_t{8} << 20;

    // Larger files are refused before they are read.
    static constexpr qint64 MaxFileSize = qint64{1} << 30;

    // Reads the file and its central directory.
    explicit ZipArchive(const QString& path, ReadPolicy policy = {});

    const std::vector<Entry>& Entries() const { return entries_; }
    // The member named `name` ("xl/workbook.xml"), or null.
    const Entry* Find(QStringView name) const;
    // Streams the member's inflated bytes to `sink` in chunks and checks its CRC. An exception
    // from `sink` stops the reading and is raised again.
    void Read(const Entry& entry, const Sink& sink);
    // The member's bytes inflated whole into `out`, CRC checked; false (and nothing read)
    // when it is not deflated or its declared size is not its size: read those with Read().
    bool ReadWhole(const Entry& entry, Inflated& out);

private:
    void ReadCentralDirectory();
    std::string_view Bytes(uint64_t offset, uint64_t size, const char* what) const;
    std::string_view MemberData(const Entry& entry) const;
    enum class Whole { Read, Unfit, BadData };
    // Inflates a deflated member whole into `out`, CRC checked. Unfit (nothing read): not
    // deflated, over the limits, or its declared size is not its size.
    Whole InflateWhole(const Entry& entry, Inflated& out);
    // Inflates into the buffers `acquire` gives (ChunkSize bytes each) and hands each
    // filled one to `publish(size)`.
    template <typename Acquire, typename Publish>
    void Inflate(const Entry& entry, std::string_view input, Acquire acquire, Publish publish);

    QByteArray bytes_;
    std::string_view data_;
    std::vector<Entry> entries_;
    QHash<QString, size_t> index_;  // folded name → entries_ position
    uint64_t inflatedTotal_ = 0;
    ReadPolicy policy_;
    ChunkPipeline pipeline_;
};

}  // namespace engine
