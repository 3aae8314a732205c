#include "storage/Tcursorhourglass.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Stands in for the application's override-cursor stack.
class CursorHourGlass : public testing::Test {
protected:
    void SetUp() override { InstallHooks(); }
    void TearDown() override { TCursorHourGlass::SetHooks({}, {}); }

    void InstallHooks() {
        TCursorHourGlass::SetHooks([this] { ++depth_; },
                                   [this] {
                                       ASSERT_GT(depth_, 0) << "popped more than pushed";
                                       --depth_;
                                   });
    }

    int depth_ = 0;
};

TEST_F(CursorHourGlass, NestedObjectsUnwindInReverseOrder) {
    {
        const TCursorHourGlass outer;
        EXPECT_EQ(depth_, 1);
        {
            const TCursorHourGlass inner;
            EXPECT_EQ(depth_, 2);
        }
        EXPECT_EQ(depth_, 1);
    }
    EXPECT_EQ(depth_, 0);
}

TEST_F(CursorHourGlass, RestoresWhenTheCoveredOperationFails) {
    try {
        const TCursorHourGlass wait;
        throw std::runtime_error("search failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(depth_, 0);
}

TEST_F(CursorHourGlass, ObjectMadeWithoutHooksPopsNothingLater) {
    TCursorHourGlass::SetHooks({}, {});
    {
        const TCursorHourGlass before;
        InstallHooks();  // the window installs its hooks while the object lives
    }
    EXPECT_EQ(depth_, 0);
}

}  // namespace
