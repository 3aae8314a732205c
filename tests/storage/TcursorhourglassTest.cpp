#include "storage/Tcursorhourglass.h"

#include <gtest/gtest.h>

namespace {

// Stands in for the application's override-cursor stack.
int depth = 0;

void InstallHooks() {
    TCursorHourGlass::SetHooks([] { ++depth; },
                               [] {
                                   ASSERT_GT(depth, 0) << "popped more than pushed";
                                   --depth;
                               });
}

TEST(CursorHourGlass, NestedObjectsUnwindInReverseOrder) {
    InstallHooks();
    {
        const TCursorHourGlass outer;
        {
            const TCursorHourGlass inner;
            EXPECT_EQ(depth, 2);
        }
        EXPECT_EQ(depth, 1);
    }
    EXPECT_EQ(depth, 0);
    TCursorHourGlass::SetHooks({}, {});
}

TEST(CursorHourGlass, ObjectMadeWithoutHooksPopsNothingLater) {
    {
        const TCursorHourGlass before;
        InstallHooks();  // the window installs its hooks while the object lives
    }
    EXPECT_EQ(depth, 0);
    TCursorHourGlass::SetHooks({}, {});
}

}  // namespace
