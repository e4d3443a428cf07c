#include "app/categories/UIDevice+SystemVersion.h"
#include "platform/uikit/UIDevice.h"

#include <gtest/gtest.h>

namespace {
TEST(UIDeviceSystemVersion, ReadsTheVersionAsAFloat) {
    const std::pair<const char*, float> cases[] = {
        {"9.3.5", 9.3f}, {"10.0", 10.0f}, {"7.1", 7.1f}, {"11", 11.0f}, {"", 0.0f}};
    for (const auto& [text, expected] : cases) {
        UIDevice::currentDevice()->setSystemVersion(text);
        EXPECT_EQ(SystemVersion::iosVersion(), static_cast<double>(expected)) << text;
    }
}
} // namespace
