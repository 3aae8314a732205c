#include "storage/AtomicFile.h"

#include "tests/storage/TestFiles.h"

#include <QFileInfo>

namespace {

using storagetest::ReadBytes;
using storagetest::TestDir;
using storagetest::WriteBytes;

TEST(AtomicFile, ReplacesContentAndKeepsThePermissions) {
    const QString path = TestDir() + QStringLiteral("/private.ini");
    WriteBytes(path, "old content that is longer");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    WriteFileAtomically(path, "new");
    EXPECT_EQ(ReadBytes(path), "new");
    // Owner, group and other bits; the "user" bits only repeat the owner's for the file's owner.
    const auto kept = QFileInfo(path).permissions() & QFileDevice::Permissions(0x7077);
    EXPECT_EQ(kept, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(AtomicFile, WritesThroughASymbolicLink) {
    const QString dir = TestDir();
    const QString real = dir + QStringLiteral("/real.ini");
    const QString link = dir + QStringLiteral("/link.ini");
    WriteBytes(real, "old");
    ASSERT_TRUE(QFile::link(real, link));
    WriteFileAtomically(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadBytes(real), "new");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::System).size(), 2);
}

}  // namespace
