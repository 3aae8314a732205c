#include "engine/readers/xls/BiffPayload.h"

#include "engine/model/ReadError.h"
#include "engine/readers/xls/CodePage.h"

#include <algorithm>

namespace engine {

BiffPayload::BiffPayload(QByteArrayView body, std::span<const QByteArrayView> continues,
                         uint16_t recordId)
    : body_(body), continues_(continues), recordId_(recordId), total_(body.size()) {
    for (const QByteArrayView segment : continues_) {
        total_ += segment.size();
    }
}

void BiffPayload::Truncated(qsizetype wanted) const {
    throw ReadError(ReadErrorCode::BiffRecordShort, {.record = recordId_, .expected = wanted});
}

void BiffPayload::NextSegment() {
    before_ += Segment(segment_).size();
    ++segment_;
    position_ = 0;
}

void BiffPayload::Read(void* target, qsizetype count) {
    if (count > Remaining()) {
        Truncated(count - Remaining());
    }
    auto out = static_cast<char*>(target);
    while (count > 0) {
        // Moving on only when bytes are still wanted keeps a read that ends exactly at a
        // join in its segment, where Chars() looks for the join.
        if (position_ == Segment(segment_).size()) {
            NextSegment();
        }
        const QByteArrayView current = Segment(segment_);
        const qsizetype take = std::min(count, current.size() - position_);
        if (out) {
            std::memcpy(out, current.data() + position_, size_t(take));
            out += take;
        }
        position_ += take;
        count -= take;
    }
}

void BiffPayload::Skip(qsizetype count) {
    if (count < 0 || count > Remaining()) {
        Truncated(count - Remaining());
    }
    Read(nullptr, count);
}

QByteArray BiffPayload::Bytes(qsizetype count) {
    if (count < 0 || count > Remaining()) {
        Truncated(count - Remaining());
    }
    QByteArray bytes(count, Qt::Uninitialized);
    Read(bytes.data(), count);
    return bytes;
}

QByteArrayView BiffPayload::View(qsizetype count, QByteArray& joined) {
    const QByteArrayView current = Segment(segment_);
    if (count >= 0 && current.size() - position_ >= count) {
        const QByteArrayView bytes = current.sliced(position_, count);
        position_ += count;
        return bytes;
    }
    joined = Bytes(count);
    return joined;
}

void BiffPayload::SeekSegment(int index) {
    if (index < 0 || size_t(index) >= SegmentCount()) {
        throw ReadError(ReadErrorCode::BiffContinueMissing, {.record = recordId_, .found = index});
    }
    segment_ = 0;
    before_ = 0;
    position_ = 0;
    while (segment_ < size_t(index)) {
        NextSegment();
    }
}

QString BiffPayload::Chars(uint32_t count, bool highByte) {
    QString text;
    // Never trust the count for the allocation: a character takes at least one byte.
    text.reserve(qsizetype(std::min<qsizetype>(count, Remaining())));
    uint32_t left = count;
    while (left > 0) {
        if (position_ == Segment(segment_).size()) {
            if (segment_ + 1 >= SegmentCount() || Segment(segment_ + 1).isEmpty()) {
                Truncated(left);
            }
            NextSegment();
            highByte = (U8() & 0x01) != 0;
        }
        const QByteArrayView current = Segment(segment_);
        const qsizetype width = highByte ? 2 : 1;
        const qsizetype take = std::min<qsizetype>(left, (current.size() - position_) / width);
        if (take == 0) {
            Truncated(width);  // half a UTF-16 unit before the join
        }
        const char* raw = current.data() + position_;
        if (highByte) {
            const qsizetype start = text.size();
            text.resize(start + take);
            qFromLittleEndian<uint16_t>(raw, take, text.data() + start);
        } else {
            text.append(QLatin1StringView(raw, take));
        }
        position_ += take * width;
        left -= uint32_t(take);
    }
    return text;
}

QString BiffPayload::UnicodeString16() {
    const uint16_t count = U16();
    const bool highByte = (U8() & 0x01) != 0;
    return Chars(count, highByte);
}

QString BiffPayload::UnicodeString8() {
    const uint8_t count = U8();
    const bool highByte = (U8() & 0x01) != 0;
    return Chars(count, highByte);
}

QString BiffPayload::RichString() {
    const uint16_t count = U16();
    const uint8_t flags = U8();
    const uint16_t runs = (flags & 0x08) ? U16() : 0;
    const uint32_t phonetic = (flags & 0x04) ? U32() : 0;
    QString text = Chars(count, (flags & 0x01) != 0);
    Skip(qsizetype(runs) * 4);
    Skip(qsizetype(phonetic));
    return text;
}

QString BiffPayload::ByteString(uint32_t count, CodePage& codePage) {
    return codePage.Decode(Bytes(count));
}

}  // namespace engine
