// A cursor over one record's payload: its body and the bodies of the CONTINUE records after
// it. Numbers and skipped bytes flow across the joins; string characters follow the BIFF8
// rule that a CONTINUE met in the middle of the characters starts with a fresh flags byte,
// so the width can change mid-string. Every read is bounds-checked.
//
// Most records have no CONTINUE, and a sheet has hundreds of thousands of them, so a payload
// only views the stream and the record walker's list of CONTINUE bodies: making one costs
// nothing, and a number that lies within one segment is read in place.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtEndian>
#include <cstdint>
#include <cstring>
#include <span>

namespace engine {

class CodePage;

class BiffPayload {
public:
    // `continues` and the bytes of all segments must outlive the payload.
    BiffPayload(QByteArrayView body, std::span<const QByteArrayView> continues, uint16_t recordId);
    BiffPayload(QByteArrayView body, uint16_t recordId) : BiffPayload(body, {}, recordId) {}

    uint8_t U8() {
        uchar spill[1];
        return *Take(1, spill);
    }
    uint16_t U16() {
        uchar spill[2];
        return qFromLittleEndian<uint16_t>(Take(2, spill));
    }
    int16_t S16() { return static_cast<int16_t>(U16()); }
    uint32_t U32() {
        uchar spill[4];
        return qFromLittleEndian<uint32_t>(Take(4, spill));
    }
    double F64() {
        uchar spill[8];
        const uint64_t bits = qFromLittleEndian<uint64_t>(Take(8, spill));
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    void Skip(qsizetype count);
    QByteArray Bytes(qsizetype count);
    // The next `count` bytes: a view into the record when they lie within one segment, else
    // gathered across the joins into `joined`, which the view then refers to.
    QByteArrayView View(qsizetype count, QByteArray& joined);

    qsizetype Remaining() const { return total_ - before_ - position_; }  // over all segments
    // Moves to the start of segment `index`.
    void SeekSegment(int index);

    // `count` characters that start with the width given by `highByte` (BIFF8).
    QString Chars(uint32_t count, bool highByte);
    // XLUnicodeString (16-bit count) and ShortXLUnicodeString (8-bit count).
    QString UnicodeString16();
    QString UnicodeString8();
    // XLUnicodeRichExtendedString, the shared-string item: the formatting runs and the
    // phonetic block are skipped, never part of the text.
    QString RichString();
    // BIFF5 strings: `count` bytes in the workbook code page.
    QString ByteString(uint32_t count, CodePage& codePage);

private:
    size_t SegmentCount() const { return 1 + continues_.size(); }
    QByteArrayView Segment(size_t index) const {
        return index == 0 ? body_ : continues_[index - 1];
    }
    // Points at the next `count` bytes and moves past them: in place when the current
    // segment holds them all, else copied across the join into `spill`.
    const uchar* Take(qsizetype count, uchar* spill) {
        const QByteArrayView current = Segment(segment_);
        if (current.size() - position_ >= count) {
            const auto at = reinterpret_cast<const uchar*>(current.data()) + position_;
            position_ += count;
            return at;
        }
        Read(spill, count);
        return spill;
    }
    [[noreturn]] void Truncated(qsizetype wanted) const;
    void Read(void* target, qsizetype count);
    void NextSegment();

    QByteArrayView body_;
    std::span<const QByteArrayView> continues_;
    uint16_t recordId_;
    qsizetype total_ = 0;     // bytes in all segments
    size_t segment_ = 0;      // the current segment
    qsizetype before_ = 0;    // bytes in the segments before the current one
    qsizetype position_ = 0;  // within the current segment
};

}  // namespace engine
