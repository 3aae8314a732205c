// A cursor over one record's payload: its body and the bodies of the CONTINUE records after
// it. Numbers and skipped bytes flow across the joins; string characters follow the BIFF8
// rule that a CONTINUE met in the middle of the characters starts with a fresh flags byte,
// so the width can change mid-string. Every read is bounds-checked.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

namespace engine {

class CodePage;

class BiffPayload {
public:
    BiffPayload(std::vector<QByteArrayView> segments, uint16_t recordId);

    uint8_t U8();
    uint16_t U16();
    int16_t S16() { return static_cast<int16_t>(U16()); }
    uint32_t U32();
    double F64();
    void Skip(qsizetype count);
    QByteArray Bytes(qsizetype count);

    qsizetype Remaining() const;  // over all segments
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
    [[noreturn]] void Truncated(qsizetype wanted) const;
    void Read(void* target, qsizetype count);

    std::vector<QByteArrayView> segments_;
    std::vector<qsizetype> following_;  // bytes in the segments after each one
    uint16_t recordId_;
    size_t segment_ = 0;
    qsizetype position_ = 0;  // within the current segment
};

}  // namespace engine
