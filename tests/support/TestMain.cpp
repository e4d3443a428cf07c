// The main of every test binary: GoogleTest's, with the process state reset around each
// test (see TestIsolation).
#include "tests/support/TestIsolation.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Owned by GoogleTest from here on.
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestIsolation);
    return RUN_ALL_TESTS();
}
