#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"

#include <gtest/gtest.h>

namespace {

TEST(UIScreen, DefaultsAndReconfiguration) {
    const auto screen = UIScreen::mainScreen();
    EXPECT_EQ(screen, UIScreen::mainScreen());
    EXPECT_EQ(screen->bounds(), CGRectMake(0, 0, 375, 667));
    EXPECT_EQ(screen->scale(), 2.0);

    UIScreen::configureMainScreen({768, 1024}, 1.0);
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 768, 1024));
    EXPECT_EQ(UIScreen::mainScreen()->scale(), 1.0);
    UIScreen::configureMainScreen({375, 667}, 2.0);
}

TEST(UIDevice, DefaultsAndTestOverrides) {
    const auto device = UIDevice::currentDevice();
    EXPECT_EQ(device, UIDevice::currentDevice());
    EXPECT_EQ(device->systemVersion(), "10.3.3");
    EXPECT_EQ(device->model(), "iPhone");
    EXPECT_EQ(UI_USER_INTERFACE_IDIOM(), UIUserInterfaceIdiom::Phone);

    device->setUserInterfaceIdiom(UIUserInterfaceIdiom::Pad);
    device->setSystemVersion("9.0");
    EXPECT_EQ(UI_USER_INTERFACE_IDIOM(), UIUserInterfaceIdiom::Pad);
    EXPECT_EQ(UIDevice::currentDevice()->systemVersion(), "9.0");
    device->setUserInterfaceIdiom(UIUserInterfaceIdiom::Phone);
    device->setSystemVersion("10.3.3");
}

} // namespace
