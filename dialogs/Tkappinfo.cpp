#include "dialogs/Tkappinfo.h"

#include <array>

#include "dialogs/ElfFile.h"
#include "storage/Exception.h"

namespace {

constexpr std::array<const char*, 11> kKeys = {
    "Comments",     "CompanyName",    "FileDescription", "FileVersion",
    "InternalName", "LegalCopyright", "LegalTradeMarks", "OriginalFilename",
    "PrivateBuild", "ProductName",    "ProductVersion"};

[[noreturn]] void RaiseUnavailable() {
    throw Exception(QStringLiteral("バージョン情報を取得できません"));
}

VersionBlock ReadBlock(const QString& executablePath) {
    const auto bytes = ElfFile::ReadSection(executablePath, versionblock::kSectionName,
                                            versionblock::kMaxBlockSize);
    if (!bytes) {
        RaiseUnavailable();
    }
    auto block = VersionBlock::Parse(*bytes);
    if (!block) {
        RaiseUnavailable();
    }
    return std::move(*block);
}

}  // namespace

TkAppInfo::TkAppInfo() : TkAppInfo(QStringLiteral("/proc/self/exe")) {}

TkAppInfo::TkAppInfo(const QString& executablePath) : block_(ReadBlock(executablePath)) {
    // Without a translation there is no string table to name, so the block is of no use.
    const auto translation = block_.Query(u"\\VarFileInfo\\Translation");
    if (!translation || translation->size() < 4) {
        RaiseUnavailable();
    }
    const auto byte = [&](int i) { return static_cast<uint32_t>(uint8_t((*translation)[i])); };
    translation_ = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

QString TkAppInfo::QueryPath(int index) const {
    if (index < 0 || index >= static_cast<int>(kKeys.size())) {
        return {};
    }
    const auto hex4 = [](uint32_t value) {
        return QString::number(value, 16).rightJustified(4, QLatin1Char('0')).toUpper();
    };
    return QStringLiteral("\\StringFileInfo\\%1%2\\%3")
        .arg(hex4(translation_ & 0xFFFF), hex4(translation_ >> 16),
             QLatin1String(kKeys[static_cast<size_t>(index)]));
}

QString TkAppInfo::GetVersionString(int index) const {
    const QString path = QueryPath(index);
    if (path.isEmpty()) {
        return {};
    }
    const auto value = block_.Query(path);
    return value ? QString::fromUtf8(*value) : QString();
}
