// Walks the records of a BIFF stream (workbook globals or one sheet substream): a record is
// a 16-bit id, a 16-bit length and a body. CONTINUE records that follow a record are handed
// out with it as further segments of one payload, because strings, notes and shared strings
// flow across them.
#pragma once

#include "engine/readers/xls/BiffPayload.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace engine {

namespace biff {
inline constexpr uint16_t Continue = 0x003C;
}

class BiffRecordStream {
public:
    // Reads from `stream`, which must outlive this object, starting at `offset`.
    BiffRecordStream(const QByteArray& stream, qsizetype offset);

    // Moves to the next record. False at the end of the stream. Raises ReadError for a
    // record whose length runs past the end, and for a CONTINUE that follows no record.
    bool Next();

    uint16_t Id() const { return id_; }
    qsizetype Offset() const { return offset_; }  // of the record header in the stream
    // The record body followed by the bodies of its CONTINUE records; valid until Next().
    BiffPayload Payload() const { return BiffPayload(body_, continues_, id_); }

private:
    bool ReadHeader(qsizetype at, uint16_t& id, uint16_t& length) const;
    void CheckLength(qsizetype at, uint16_t id, uint16_t length) const;

    const QByteArray& stream_;
    qsizetype position_;
    qsizetype offset_ = -1;
    uint16_t id_ = 0;
    QByteArrayView body_;
    std::vector<QByteArrayView> continues_;
};

}  // namespace engine
