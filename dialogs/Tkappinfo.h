// Reads the text entries of the version block that the build embeds in an executable (see
// dialogs/VersionBlockLayout.h for its layout and cmake/VersionResource.cmake for how it gets
// there).
#pragma once

#include <QString>
#include <cstdint>

#include "dialogs/VersionBlock.h"

class TkAppInfo {
public:
    // The running program's own executable (/proc/self/exe).
    TkAppInfo();
    // Any executable file. Both raise Exception("バージョン情報を取得できません") when the file
    // has no readable block or no translation entry.
    explicit TkAppInfo(const QString& executablePath);

    // The entry for key index 0..10 (Comments, CompanyName, FileDescription, FileVersion,
    // InternalName, LegalCopyright, LegalTradeMarks, OriginalFilename, PrivateBuild,
    // ProductName, ProductVersion) of the string table named by the translation; empty when
    // the table lacks it or the index is out of range.
    QString GetVersionString(int index) const;

    // "\StringFileInfo\<language><code page>\<key>", the hexadecimal digits upper-case;
    // empty for an index out of range.
    QString QueryPath(int index) const;

    // Language in the low 16 bits, code page in the high 16 bits.
    uint32_t Translation() const { return translation_; }

private:
    VersionBlock block_;
    uint32_t translation_ = 0;
};
