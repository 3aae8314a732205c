// Feeds arbitrary bytes to the .xlsx reader. The first byte picks what the rest is:
//   even: a zip archive as it is, to exercise the container;
//   odd:  package members as "name\n" + content, separated by "\n@@\n", which the target
//         stores in a zip with correct checksums, so mutations reach the XML parts.
// Then every sheet is read and searched as a run searches it; a bad package must end in
// ReadError, a bad sheet in the workbook's EngineError.
#include "engine/model/CellText.h"
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xlsx/XlsxReader.h"
#include "tests/fuzz/FuzzFind.h"

#include <unistd.h>
#include <zlib.h>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

void Put(QByteArray& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A zip of stored members, enough for the reader to take apart.
QByteArray StoredZip(std::string_view description) {
    QByteArray out, directory;
    uint32_t count = 0;
    while (!description.empty()) {
        const size_t end = description.find("\n@@\n");
        std::string_view member = description.substr(0, end);
        description =
            end == std::string_view::npos ? std::string_view() : description.substr(end + 4);
        const size_t newline = member.find('\n');
        const std::string_view name = member.substr(0, newline);
        const std::string_view data =
            newline == std::string_view::npos ? std::string_view() : member.substr(newline + 1);
        const auto crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        const auto offset = static_cast<uint32_t>(out.size());
        for (QByteArray* header : {&out, &directory}) {
            const bool local = header == &out;
            Put(*header, local ? 0x04034b50 : 0x02014b50, 4);
            if (!local) {
                Put(*header, 20, 2);
            }
            Put(*header, 20, 2);
            Put(*header, 0, 2);  // flags
            Put(*header, 0, 2);  // stored
            Put(*header, 0, 4);  // time and date
            Put(*header, crc, 4);
            Put(*header, static_cast<uint32_t>(data.size()), 4);
            Put(*header, static_cast<uint32_t>(data.size()), 4);
            Put(*header, static_cast<uint32_t>(name.size()), 2);
            Put(*header, 0, 2);
            if (!local) {
                Put(*header, 0, 4);  // comment length, disk number
                Put(*header, 0, 2);  // internal attributes
                Put(*header, 0, 4);  // external attributes
                Put(*header, offset, 4);
            }
            header->append(name.data(), static_cast<qsizetype>(name.size()));
        }
        out.append(data.data(), static_cast<qsizetype>(data.size()));
        ++count;
    }
    const auto directoryOffset = static_cast<uint32_t>(out.size());
    out.append(directory);
    Put(out, 0x06054b50, 4);
    Put(out, 0, 4);
    Put(out, count, 2);
    Put(out, count, 2);
    Put(out, static_cast<uint32_t>(directory.size()), 4);
    Put(out, directoryOffset, 4);
    Put(out, 0, 2);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const QByteArray bytes = (data[0] & 1)
                                 ? StoredZip(rest)
                                 : QByteArray(rest.data(), static_cast<qsizetype>(rest.size()));
    static const QString path = QStringLiteral("/tmp/fuzz_xlsx_%1.xlsx").arg(getpid());
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(bytes);
    }
    try {
        auto reader = std::make_unique<engine::XlsxReader>(path);
        engine::XlsxReader& raw = *reader;
        engine::Workbook book(path, std::move(reader));
        raw.ReadWorkbook(book);
        for (int i = 0; i < book.SheetCount(); ++i) {
            try {
                fuzzsearch::FindEverywhere(book, book.Sheet(i));
            } catch (const engine::EngineError&) {
            }
        }
    } catch (const engine::ReadError&) {
    }
    return 0;
}
