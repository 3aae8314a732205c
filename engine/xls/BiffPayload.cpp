#include "engine/xls/BiffPayload.h"

#include "engine/xls/CodePage.h"
#include "engine/xls/XlsFormatError.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace engine {

BiffPayload::BiffPayload(std::vector<QByteArrayView> segments, uint16_t recordId)
    : segments_(std::move(segments)), following_(segments_.size(), 0), recordId_(recordId) {
    for (size_t i = segments_.size(); i > 1; --i) {
        following_[i - 2] = following_[i - 1] + segments_[i - 1].size();
    }
}

void BiffPayload::Truncated(qsizetype wanted) const {
    throw XlsFormatError(QStringLiteral("record 0x%1 ends %2 bytes early")
                             .arg(recordId_, 4, 16, QLatin1Char('0'))
                             .arg(wanted));
}

qsizetype BiffPayload::Remaining() const {
    if (segment_ >= segments_.size()) {
        return 0;
    }
    return segments_[segment_].size() - position_ + following_[segment_];
}

void BiffPayload::Read(void* target, qsizetype count) {
    auto out = static_cast<char*>(target);
    while (count > 0) {
        if (segment_ >= segments_.size()) {
            Truncated(count);
        }
        const QByteArrayView current = segments_[segment_];
        const qsizetype take = std::min(count, current.size() - position_);
        if (out) {
            std::memcpy(out, current.data() + position_, size_t(take));
            out += take;
        }
        position_ += take;
        count -= take;
        if (position_ == current.size() && count > 0) {
            ++segment_;
            position_ = 0;
        }
    }
}

uint8_t BiffPayload::U8() {
    uint8_t value = 0;
    Read(&value, 1);
    return value;
}

uint16_t BiffPayload::U16() {
    uchar raw[2];
    Read(raw, 2);
    return qFromLittleEndian<uint16_t>(raw);
}

uint32_t BiffPayload::U32() {
    uchar raw[4];
    Read(raw, 4);
    return qFromLittleEndian<uint32_t>(raw);
}

double BiffPayload::F64() {
    uchar raw[8];
    Read(raw, 8);
    const uint64_t bits = qFromLittleEndian<uint64_t>(raw);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
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

void BiffPayload::SeekSegment(int index) {
    if (index < 0 || size_t(index) >= segments_.size()) {
        throw XlsFormatError(QStringLiteral("record 0x%1 lacks its CONTINUE record %2")
                                 .arg(recordId_, 4, 16, QLatin1Char('0'))
                                 .arg(index));
    }
    segment_ = size_t(index);
    position_ = 0;
}

QString BiffPayload::Chars(uint32_t count, bool highByte) {
    QString text;
    // Never trust the count for the allocation: a character takes at least one byte.
    text.reserve(qsizetype(std::min<qsizetype>(count, Remaining())));
    uint32_t left = count;
    while (left > 0) {
        if (segment_ >= segments_.size()) {
            Truncated(left);
        }
        if (position_ == segments_[segment_].size()) {
            if (segment_ + 1 >= segments_.size() || segments_[segment_ + 1].isEmpty()) {
                Truncated(left);
            }
            ++segment_;
            position_ = 0;
            highByte = (U8() & 0x01) != 0;
        }
        const QByteArrayView current = segments_[segment_];
        const qsizetype width = highByte ? 2 : 1;
        const qsizetype take = std::min<qsizetype>(left, (current.size() - position_) / width);
        if (take == 0) {
            Truncated(width);  // half a UTF-16 unit before the join
        }
        const char* raw = current.data() + position_;
        for (qsizetype i = 0; i < take; ++i) {
            text.append(highByte ? QChar(qFromLittleEndian<uint16_t>(raw + 2 * i))
                                 : QChar(uchar(raw[i])));
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
