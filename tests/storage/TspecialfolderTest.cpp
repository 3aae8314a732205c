#include "storage/Tspecialfolder.h"

#include "storage/Exception.h"
#include "tests/storage/ScopedEnv.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

using storagetest::ScopedEnv;

class SpecialFolderOutOfRange : public testing::TestWithParam<int> {};

TEST_P(SpecialFolderOutOfRange, RaisesTheFixedMessage) {
    try {
        GetSpecialFolderPath(GetParam());
        FAIL() << "no error for " << GetParam();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("指定されたコードが見つかりません。"));
    }
}

INSTANTIATE_TEST_SUITE_P(Values, SpecialFolderOutOfRange, testing::Values(-1, 30, 1000));

struct AppDataCase {
    const char* name;
    const char* configHome;  // null: unset
    const char* home;
    const char* expected;
};

void PrintTo(const AppDataCase& c, std::ostream* os) {
    *os << c.name;
}

class SpecialFolderAppData : public testing::TestWithParam<AppDataCase> {};

TEST_P(SpecialFolderAppData, IsTheXdgConfigHomeWithoutTrailingSlash) {
    const ScopedEnv config("XDG_CONFIG_HOME", GetParam().configHome);
    const ScopedEnv home("HOME", GetParam().home);
    EXPECT_EQ(GetSpecialFolderPath(sfAppData), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Environments, SpecialFolderAppData,
                         testing::Values(AppDataCase{"Set", "/x/conf", "/h", "/x/conf"},
                                         AppDataCase{"TrailingSlash", "/x/conf//", "/h", "/x/conf"},
                                         AppDataCase{"Unset", nullptr, "/h/", "/h/.config"},
                                         AppDataCase{"EmptyIsUnset", "", "/h", "/h/.config"},
                                         AppDataCase{"RelativeIsInvalid", "conf", "/h",
                                                     "/h/.config"},
                                         AppDataCase{"NoHome", nullptr, nullptr, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SpecialFolder, EveryValueIsEmptyOrAnAbsolutePathWithoutTrailingSlash) {
    const ScopedEnv home("HOME", "/h");
    const ScopedEnv data("XDG_DATA_HOME", nullptr);
    for (int folder = sfAltStartup; folder <= sfTemplates; ++folder) {
        const QString path = GetSpecialFolderPath(folder);
        SCOPED_TRACE(folder);
        if (!path.isEmpty()) {
            EXPECT_TRUE(QDir::isAbsolutePath(path)) << path.toStdString();
            EXPECT_FALSE(path.endsWith(u'/')) << path.toStdString();
        }
    }
    EXPECT_EQ(GetSpecialFolderPath(sfStartup), GetSpecialFolderPath(sfAppData) + "/autostart");
    EXPECT_EQ(GetSpecialFolderPath(sfPrograms), QStringLiteral("/h/.local/share/applications"));
    EXPECT_EQ(GetSpecialFolderPath(sfPrinters), QString());
}

}  // namespace
