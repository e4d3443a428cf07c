// The main of every test binary: GoogleTest's, with the process state reset around each
// test (see TestIsolation).
#include "platform/foundation/NSThread.h"
#include "tests/support/TestIsolation.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Tests run on this thread; it is the main one also in a death test's child process,
    // which hears of no test starting.
    NSThread::markCurrentThreadAsMain();
    // Owned by GoogleTest from here on.
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestIsolation);
    return RUN_ALL_TESTS();
}
