// Record payloads across CONTINUE records: the string split rule (a fresh flags byte when
// the characters cross a join, so the width may change), formatting runs and phonetic
// blocks skipped across joins, and the record walk's checks.
#include "engine/readers/xls/BiffPayload.h"
#include "engine/readers/xls/BiffRecordStream.h"
#include "engine/readers/xls/CodePage.h"
#include "tests/engine/readers/ErrorCodeOf.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

using testing::ErrorCodeOf;

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// A payload made of hex segments: the record body, then each CONTINUE body.
struct Segments {
    Segments() = default;
    explicit Segments(std::vector<QByteArray> parts) : storage(std::move(parts)) {}

    std::vector<QByteArray> storage;
    std::vector<QByteArrayView> continues;
    BiffPayload Payload() {
        continues.assign(storage.begin() + 1, storage.end());
        return BiffPayload(storage.front(), continues, 0x00FC);
    }
};

struct StringCase {
    const char* what;
    std::vector<const char*> segments;
    std::vector<const char*> expected;  // the rich strings read one after another
};

const StringCase StringCases[] = {
    {"compressed string in one piece", {"0300 00 616263"}, {"abc"}},
    {"UTF-16 string", {"0200 01 E5652C67"}, {"日本"}},
    {"width switches to UTF-16 at the join", {"0400 00 6162", "01 E5652C67"}, {"ab日本"}},
    {"width switches to compressed at the join", {"0300 01 E565", "00 6162"}, {"日ab"}},
    {"characters start exactly at the join", {"0200 00", "01 E5652C67"}, {"日本"}},
    {"a new string at the join has no flags byte", {"0100 00 61", "0100 00 62"}, {"a", "b"}},
    {"formatting runs cross the join without a flags byte",
     {"0200 08 0200 6162 00000000", "00000000 0100 00 63"},
     {"ab", "c"}},
    {"phonetic block is skipped, never text",
     {"0200 04 06000000 6162 AABBCC", "DDEEFF 0100 00 63"},
     {"ab", "c"}},
};

class RichStrings : public ::testing::TestWithParam<StringCase> {};

TEST_P(RichStrings, FollowTheSplitRule) {
    const StringCase& c = GetParam();
    Segments segments;
    for (const char* hex : c.segments) {
        segments.storage.push_back(Hex(hex));
    }
    BiffPayload payload = segments.Payload();
    for (const char* expected : c.expected) {
        EXPECT_EQ(payload.RichString().toStdString(), expected) << c.what;
    }
    EXPECT_EQ(payload.Remaining(), 0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Table, RichStrings, ::testing::ValuesIn(StringCases));

TEST(BiffPayload, ReadsNumbersAcrossJoinsAndRefusesToReadPastTheEnd) {
    Segments segments{{Hex("3412 78"), Hex("56 000000000000F03F")}};
    BiffPayload payload = segments.Payload();
    EXPECT_EQ(payload.U16(), 0x1234);
    EXPECT_EQ(payload.U16(), 0x5678);
    EXPECT_EQ(payload.F64(), 1.0);
    EXPECT_EQ(ErrorCodeOf([&] { payload.U8(); }), ReadErrorCode::BiffRecordShort);

    Segments cut{{Hex("0500 00 6162")}};  // five characters promised, two present
    EXPECT_EQ(ErrorCodeOf([&] { cut.Payload().RichString(); }), ReadErrorCode::BiffRecordShort);
    Segments huge{{Hex("0100 04 FFFFFF7F 61")}};  // a phonetic block of 2 GiB
    EXPECT_EQ(ErrorCodeOf([&] { huge.Payload().RichString(); }), ReadErrorCode::BiffRecordShort);
    Segments odd{{Hex("0200 01 E5"), Hex("01 65")}};  // half a UTF-16 unit before the join
    EXPECT_EQ(ErrorCodeOf([&] { odd.Payload().RichString(); }), ReadErrorCode::BiffRecordShort);
}

// The same fields from the same bytes, cut into a body and a CONTINUE at every place: reads
// in place and reads across the join must agree.
TEST(BiffPayload, ReadsTheSameFieldsWhereverTheRecordIsSplit) {
    const QByteArray bytes = Hex("3412 78563412 000000000000F03F AB 0102030405");
    const qsizetype tail = bytes.size() - 5;
    for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
        Segments segments{{bytes.left(cut), bytes.mid(cut)}};
        BiffPayload payload = segments.Payload();
        EXPECT_EQ(payload.U16(), 0x1234) << cut;
        EXPECT_EQ(payload.U32(), 0x12345678u) << cut;
        EXPECT_EQ(payload.F64(), 1.0) << cut;
        EXPECT_EQ(payload.U8(), 0xAB) << cut;
        EXPECT_EQ(payload.Remaining(), 5) << cut;
        QByteArray joined;
        EXPECT_EQ(payload.View(5, joined), Hex("0102030405")) << cut;
        // Copied only when the bytes do not lie past the join; a read never crosses a join
        // before it needs a byte, so a cut right before them counts as not past it.
        EXPECT_EQ(joined.isEmpty(), cut < tail || cut == bytes.size()) << cut;
        EXPECT_EQ(payload.Remaining(), 0) << cut;
        EXPECT_EQ(ErrorCodeOf([&] { payload.View(1, joined); }), ReadErrorCode::BiffRecordShort)
            << cut;
        EXPECT_EQ(ErrorCodeOf([&] { payload.U16(); }), ReadErrorCode::BiffRecordShort) << cut;
    }
}

TEST(BiffPayload, SeeksToTheStartOfAContinueRecord) {
    Segments segments{{Hex("AABB"), Hex("CC"), Hex("DDEE")}};
    BiffPayload payload = segments.Payload();
    payload.SeekSegment(2);
    EXPECT_EQ(payload.Remaining(), 2);
    EXPECT_EQ(payload.U16(), 0xEEDD);
    payload.SeekSegment(1);
    EXPECT_EQ(payload.Remaining(), 3);
    EXPECT_EQ(payload.U16(), 0xDDCC);
    EXPECT_EQ(ErrorCodeOf([&] { payload.SeekSegment(3); }), ReadErrorCode::BiffContinueMissing);
}

TEST(BiffPayload, DecodesByteStringsInTheCodePage) {
    Segments segments{{Hex("93FA967B 636166E9")}};
    BiffPayload payload = segments.Payload();
    CodePage japanese(932);
    CodePage western(1252);
    EXPECT_EQ(payload.ByteString(4, japanese), QStringLiteral("日本"));
    EXPECT_EQ(payload.ByteString(4, western), QStringLiteral("café"));
}

TEST(BiffRecordStream, JoinsContinueRecordsToTheirRecord) {
    const QByteArray stream = Hex("FC00 0200 AAAA 3C00 0100 BB 0A00 0000");
    BiffRecordStream records(stream, 0);
    ASSERT_TRUE(records.Next());
    EXPECT_EQ(records.Id(), 0x00FC);
    BiffPayload payload = records.Payload();
    EXPECT_EQ(payload.Remaining(), 3);
    EXPECT_EQ(payload.Bytes(3), Hex("AAAA BB"));
    ASSERT_TRUE(records.Next());
    EXPECT_EQ(records.Id(), 0x000A);
    EXPECT_EQ(records.Offset(), 11);
    EXPECT_FALSE(records.Next());
}

TEST(BiffRecordStream, RefusesBrokenRecords) {
    const QByteArray pastEnd = Hex("0902 1000 0006");
    BiffRecordStream first(pastEnd, 0);
    EXPECT_EQ(ErrorCodeOf([&] { first.Next(); }), ReadErrorCode::BiffRecordPastEnd);
    const QByteArray orphan = Hex("3C00 0100 AA");
    BiffRecordStream second(orphan, 0);
    EXPECT_EQ(ErrorCodeOf([&] { second.Next(); }), ReadErrorCode::BiffContinueAlone);
    const QByteArray stream = Hex("0A00 0000");
    EXPECT_EQ(ErrorCodeOf([&] { BiffRecordStream(stream, 99); }),
              ReadErrorCode::BiffSubstreamOutside);
    // A few stray bytes after the last record end the walk quietly.
    const QByteArray trailing = Hex("0A00 0000 0102");
    BiffRecordStream third(trailing, 0);
    EXPECT_TRUE(third.Next());
    EXPECT_FALSE(third.Next());
}

}  // namespace
}  // namespace engine
