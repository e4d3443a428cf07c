// The main of every test program: GoogleTest's, with the set-up of the layers the program
// tests (each program names it, when it has one) and the process state reset around each
// test (see TestIsolation).
#ifdef MP_TEST_SET_UP_HEADER
#include MP_TEST_SET_UP_HEADER
#endif

#include "platform/base/NSThread.h"
#include "tests/support/TestIsolation.h"

#include <gmock/gmock.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    // Tests run on this thread; it is the main one also in a death test's child process,
    // which hears of no test starting.
    NSThread::markCurrentThreadAsMain();
#ifdef MP_TEST_SET_UP
    MP_TEST_SET_UP();
#endif
    // Owned by GoogleTest from here on.
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestIsolation);
    return RUN_ALL_TESTS();
}
