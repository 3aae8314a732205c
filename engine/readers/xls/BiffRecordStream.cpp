#include "engine/readers/xls/BiffRecordStream.h"

#include "engine/model/ReadError.h"

namespace engine {
namespace {

// Byte by byte: the stream may be Qt's shared empty array, which the compiler then warns
// about for a wider load even behind the size check.
uint16_t U16At(const QByteArray& bytes, qsizetype at) {
    return uint16_t(uchar(bytes[at]) | (uchar(bytes[at + 1]) << 8));
}

}  // namespace

BiffRecordStream::BiffRecordStream(const QByteArray& stream, qsizetype offset)
    : stream_(stream), position_(offset) {
    if (offset < 0 || offset > stream.size()) {
        throw ReadError(ReadErrorCode::BiffSubstreamOutside,
                        {.offset = offset, .found = stream.size()});
    }
}

inline bool BiffRecordStream::ReadHeader(qsizetype at, uint16_t& id, uint16_t& length) const {
    if (at + 4 > stream_.size()) {
        return false;
    }
    id = U16At(stream_, at);
    length = U16At(stream_, at + 2);
    return true;
}

inline void BiffRecordStream::CheckLength(qsizetype at, uint16_t id, uint16_t length) const {
    if (at + 4 + length > stream_.size()) {
        throw ReadError(ReadErrorCode::BiffRecordPastEnd,
                        {.record = id, .offset = at, .expected = length});
    }
}

bool BiffRecordStream::Next() {
    uint16_t id = 0;
    uint16_t length = 0;
    if (!ReadHeader(position_, id, length)) {
        return false;
    }
    CheckLength(position_, id, length);
    if (id == biff::Continue) {
        throw ReadError(ReadErrorCode::BiffContinueAlone, {.offset = position_});
    }
    offset_ = position_;
    id_ = id;
    body_ = QByteArrayView(stream_.constData() + position_ + 4, length);
    continues_.clear();
    position_ += 4 + length;
    // Only a CONTINUE is looked at here: bytes after the last EOF may be anything.
    while (ReadHeader(position_, id, length) && id == biff::Continue) {
        CheckLength(position_, id, length);
        continues_.emplace_back(stream_.constData() + position_ + 4, length);
        position_ += 4 + length;
    }
    return true;
}

}  // namespace engine
