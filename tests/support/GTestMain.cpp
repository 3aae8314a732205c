// main() of the GoogleTest executables: the scratch environment first, then the tests.
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testsupport::PrepareEnvironment();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
