// The compound-file container: streams come back whole, and every kind of damage ends in
// the damaged error instead of a crash, a hang or a huge allocation.
#include "engine/readers/xls/CompoundFile.h"
#include "tests/engine/readers/ErrorCodeOf.h"
#include "tests/engine/readers/xls/CompoundFileBuilder.h"

#include <gtest/gtest.h>

#include <functional>

namespace engine {
namespace {

using testing::CompoundFileBuilder;
using testing::ErrorCodeOf;
using testing::PutLittleEndian;

QByteArray Pattern(int size, char seed) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = char(seed + i * 7);
    }
    return bytes;
}

CompoundFileBuilder TwoStreams() {
    CompoundFileBuilder builder;
    builder.AddStream(QStringLiteral("Workbook"), Pattern(5000, 'a'));
    builder.AddStream(QStringLiteral("\x05SummaryInformation"), Pattern(100, 'z'));
    return builder;
}

TEST(CompoundFile, ReadsStreamsByNameWithoutRegardToCase) {
    const CompoundFile file(TwoStreams().Build());
    EXPECT_TRUE(file.HasStream(u"workbook"));
    EXPECT_FALSE(file.HasStream(u"Book"));
    const QByteArray workbook = file.ReadStream(u"Workbook");
    ASSERT_EQ(workbook.size(), 5000);
    EXPECT_EQ(workbook, Pattern(5000, 'a'));
    // The builder pads small streams to the cutoff; the content comes first.
    EXPECT_TRUE(file.ReadStream(u"\x05SummaryInformation").startsWith(Pattern(100, 'z')));
    EXPECT_EQ(ErrorCodeOf([&] { file.ReadStream(u"Book"); }), ReadErrorCode::CfbNoStream);
}

TEST(CompoundFile, RecognisesItsSignature) {
    EXPECT_TRUE(CompoundFile::HasSignature(TwoStreams().Build()));
    EXPECT_FALSE(CompoundFile::HasSignature("PK\x03\x04 zip"));
    EXPECT_FALSE(CompoundFile::HasSignature("\xD0\xCF\x11"));
}

struct Damage {
    const char* what;
    std::function<void(QByteArray&, const CompoundFileBuilder&)> apply;
    ReadErrorCode code;
};

const Damage Damages[] = {
    {"a text file", [](QByteArray& f, const CompoundFileBuilder&) { f = QByteArray(600, 'x'); },
     ReadErrorCode::CfbNoHeader},
    {"shorter than the header", [](QByteArray& f, const CompoundFileBuilder&) { f.truncate(300); },
     ReadErrorCode::CfbNoHeader},
    {"unknown sector size",
     [](QByteArray& f, const CompoundFileBuilder&) { PutLittleEndian(f, 0x1E, 20, 2); },
     ReadErrorCode::CfbSectorSize},
    {"FAT chain that loops",
     [](QByteArray& f, const CompoundFileBuilder& b) {
         const int first = b.FirstSector(0);
         PutLittleEndian(f, CompoundFileBuilder::FatEntryOffset(first + 3), quint32(first), 4);
     },
     ReadErrorCode::CfbChainLoops},
    {"sector number beyond the allocation table",
     [](QByteArray& f, const CompoundFileBuilder& b) {
         PutLittleEndian(f, CompoundFileBuilder::FatEntryOffset(b.FirstSector(0)), 100000, 4);
     },
     ReadErrorCode::CfbChainBeyondTable},
    {"sector beyond the end of the file",
     [](QByteArray& f, const CompoundFileBuilder& b) {
         // The chain keeps its length, but its last sector lies past the end.
         PutLittleEndian(f, CompoundFileBuilder::FatEntryOffset(b.FirstSector(0) + 8), 120, 4);
         PutLittleEndian(f, CompoundFileBuilder::FatEntryOffset(120), 0xFFFFFFFE, 4);
     },
     ReadErrorCode::CfbSectorBeyondFile},
    {"stream claiming 4 GiB",
     [](QByteArray& f, const CompoundFileBuilder&) {
         PutLittleEndian(f, CompoundFileBuilder::DirectoryEntryOffset(1) + 0x78, 0xFFFFFFF0u, 4);
     },
     ReadErrorCode::CfbStreamLongerThanChain},
    {"truncated in the middle of a stream",
     [](QByteArray& f, const CompoundFileBuilder& b) { f.truncate((b.FirstSector(0) + 3) * 512); },
     ReadErrorCode::CfbSectorBeyondFile},
    {"more FAT sectors than the file has",
     [](QByteArray& f, const CompoundFileBuilder&) { PutLittleEndian(f, 0x2C, 5000, 4); },
     ReadErrorCode::CfbFatCount},
    {"DIFAT chain that loops",
     [](QByteArray& f, const CompoundFileBuilder&) {
         // More FAT sectors than the header and one DIFAT sector can list, in a file
         // large enough to hold them; DIFAT sector 2 names itself as the next one.
         f.append(QByteArray(240 * 512, '\0'));
         PutLittleEndian(f, 0x2C, 240, 4);
         PutLittleEndian(f, 0x44, 2, 4);
         PutLittleEndian(f, 3 * 512 + 508, 2, 4);
     },
     ReadErrorCode::CfbDifatBroken},
    {"directory without a root",
     [](QByteArray& f, const CompoundFileBuilder&) {
         f[CompoundFileBuilder::DirectoryEntryOffset(0) + 0x42] = 2;
     },
     ReadErrorCode::CfbNoRoot},
};

class CompoundFileDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(CompoundFileDamage, EndsInTheDamagedError) {
    const Damage& damage = GetParam();
    const CompoundFileBuilder builder = TwoStreams();
    QByteArray bytes = builder.Build();
    damage.apply(bytes, builder);
    try {
        const CompoundFile file(bytes);
        file.ReadStream(u"Workbook");
        FAIL() << damage.what << ": no error";
    } catch (const ReadError& error) {
        EXPECT_EQ(error.Code(), damage.code) << damage.what << ": " << error.what();
        EXPECT_EQ(error.Kind(), EngineErrorKind::Damaged) << damage.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CompoundFileDamage, ::testing::ValuesIn(Damages));

}  // namespace
}  // namespace engine
