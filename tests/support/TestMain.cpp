// The test programs' main: registers the classes of the libraries a program tests (each
// program names its library's registration call, when it has one), then runs its tests.
#ifdef MP_CLASSES_HEADER
#include MP_CLASSES_HEADER
#endif

#include <gmock/gmock.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
#ifdef MP_REGISTER_CLASSES
    MP_REGISTER_CLASSES();
#endif
    return RUN_ALL_TESTS();
}
