#include "tools/MimeAppsList.h"

#include <gtest/gtest.h>

namespace {

const QString kType = QStringLiteral("application/x-sorvane-project");
const QString kId = QStringLiteral("sorvane.desktop");

struct RoundTrip {
    const char* name;
    const char* before;
    const char* registered;
};

class MimeAppsListRoundTrip : public testing::TestWithParam<RoundTrip> {};

// Adding makes us the default; removing gives back the user's file byte for byte.
TEST_P(MimeAppsListRoundTrip, AddsOurDefaultAndRemovesExactlyIt) {
    const QString before = QString::fromUtf8(GetParam().before);
    const QString registered = QString::fromUtf8(GetParam().registered);
    EXPECT_EQ(MimeAppsList::WithDefault(before, kType, kId), registered);
    EXPECT_EQ(MimeAppsList::WithDefault(registered, kType, kId), registered);
    EXPECT_EQ(MimeAppsList::WithoutDefault(registered, kType, kId), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MimeAppsListRoundTrip,
    testing::Values(
        RoundTrip{"no_file", "",
                  "[Default Applications]\napplication/x-sorvane-project=sorvane.desktop\n"},
        RoundTrip{"other_section_only", "[Added Associations]\ntext/plain=gedit.desktop;\n",
                  "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
                  "application/x-sorvane-project=sorvane.desktop\n"},
        RoundTrip{"section_with_other_types",
                  "[Default Applications]\ntext/plain=a.desktop\n\n[Added Associations]\nx=y;\n",
                  "[Default Applications]\ntext/plain=a.desktop\n"
                  "application/x-sorvane-project=sorvane.desktop\n\n[Added Associations]\nx=y;\n"},
        RoundTrip{"another_default_for_our_type",
                  "[Default Applications]\napplication/x-sorvane-project=other.desktop;\n",
                  "[Default Applications]\n"
                  "application/x-sorvane-project=sorvane.desktop;other.desktop;\n"},
        RoundTrip{"no_final_newline", "[Default Applications]\ntext/plain=a.desktop",
                  "[Default Applications]\ntext/plain=a.desktop\n"
                  "application/x-sorvane-project=sorvane.desktop"}),
    [](const testing::TestParamInfo<RoundTrip>& info) { return info.param.name; });

TEST(MimeAppsList, RemovingLeavesOtherApplicationsAndTypesAlone) {
    const QString text = QStringLiteral(
        "[Default Applications]\napplication/x-sorvane-project=other.desktop\n"
        "text/x-other=sorvane.desktop\n");
    EXPECT_EQ(MimeAppsList::WithoutDefault(text, kType, kId), text);
}

}  // namespace
