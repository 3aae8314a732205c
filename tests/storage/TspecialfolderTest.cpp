#include "storage/Tspecialfolder.h"

#include "storage/Exception.h"
#include "tests/storage/TestFiles.h"

namespace {

using namespace storagetest;

TEST(SpecialFolder, AppDataIsTheXdgConfigHomeWithoutTrailingSlash) {
    const struct {
        const char* configHome;  // null: unset
        const char* home;
        const char* expected;
    } cases[] = {{"/x/conf//", "/h", "/x/conf"},
                 {nullptr, "/h/", "/h/.config"},
                 {"", "/h", "/h/.config"},
                 {"relative", "/h", "/h/.config"},
                 {nullptr, nullptr, ""}};
    for (const auto& c : cases) {
        const ScopedEnv config("XDG_CONFIG_HOME", c.configHome);
        const ScopedEnv home("HOME", c.home);
        EXPECT_EQ(GetSpecialFolderPath(sfAppData), QString::fromUtf8(c.expected)) << c.expected;
    }
}

TEST(SpecialFolder, OutOfRangeRaisesTheFixedMessage) {
    EXPECT_THROW(GetSpecialFolderPath(-1), Exception);
    try {
        GetSpecialFolderPath(30);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("指定されたコードが見つかりません。"));
    }
}

}  // namespace
