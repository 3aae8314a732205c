// Feeds arbitrary bytes to the compound-file reader and reads the streams an .xls or an
// encrypted package would use. Damaged input must end in ReadError, nothing else.
#include "engine/model/ReadError.h"
#include "engine/readers/xls/CompoundFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const engine::CompoundFile file(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        for (const char16_t* name : {u"Workbook", u"Book", u"EncryptionInfo"}) {
            if (file.HasStream(name)) {
                file.ReadStream(name);
            }
        }
    } catch (const engine::ReadError&) {
    }
    return 0;
}
