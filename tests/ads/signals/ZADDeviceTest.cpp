#include "ads/signals/ZADDevice.h"

#include "ads/signals/ZADMobileAds.h"
#include "ads/signals/ZADOrientationCodeFromMask.h"
#include "platform/adsupport/ASIdentifierManager.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLocale.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>

namespace {

class ZADDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A phone of 320 x 568 points at 2x, held upright, in American English.
        UIScreen::configureMainScreen({320, 568}, 2);
        NSLocale::setOverride("en_US", {"en-US", "de-DE"});
        window = UIWindow::initWithFrame(UIScreen::mainScreen()->bounds());
        window->makeKeyAndVisible();
    }

    // The parameters once the static facts are taken, with this machine's answers for
    // the hardware's name.
    PlistValue::Dictionary parametersTakenNow() {
        auto device = ZADDevice::sharedInstance();
        device->cacheStaticParameters();
        environment.runUntilIdle();
        return device->parameters();
    }

    static std::string machine() {
        utsname name{};
        uname(&name);
        return name.machine;
    }

    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<UIWindow> window;
};

TEST_F(ZADDeviceTest, TheRequestsDevicePartDescribesThisDeviceUprightAndTurned) {
    struct Case {
        const char* name;
        UIInterfaceOrientation orientation;
        const char* so;
    };
    for (const Case& turn : {Case{"portrait", UIInterfaceOrientation::Portrait, "p"},
                             Case{"landscape", UIInterfaceOrientation::LandscapeLeft, "l"}}) {
        SCOPED_TRACE(turn.name);
        UIApplication::sharedApplication()->rotateToInterfaceOrientation(turn.orientation);
        ZADDevice::resetForTesting();
        PlistValue::Dictionary expected{
            {"ios_metadata", PlistValue(PlistValue::Dictionary{})},
            {"ios_info_plist", PlistValue(NSBundle::mainBundle()->infoDictionary())},
            // The bundle's version, then the platform and the bundle identifier.
            {"app_name", "19.iphone.com.mixphotos.collage"},
            {"platform", "iPhone"},
            {"submodel", machine()},
            {"hl", "en-us"},
            {"ios_audio_ports", PlistValue(PlistValue::Array{"zma_bis"})},
            {"ios_output_volume", "1"},
            {"u_so", turn.so},
            {"u_sso", "any"},
            {"u_mwsso", "any"},
            {"u_sd", "2"},
            // The screen and the key window as held upright, whichever way it is turned.
            {"u_w", "320"},
            {"u_h", "568"},
            {"ios_key_window_w", "320"},
            {"ios_key_window_h", "568"},
            {"cap_bs", 1},
            {"cap_noiap", "1"},
            {"ios_app_volume", 1.0},
            {"ios_app_muted", "0"},
        };
        const auto parameters = parametersTakenNow();
        EXPECT_EQ(parameters.size(), expected.size());
        for (const auto& [key, value] : expected) {
            auto found = parameters.find(key);
            ASSERT_NE(found, parameters.end()) << key;
            EXPECT_EQ(found->second, value) << key << ": " << found->second.description();
        }
    }
}

TEST_F(ZADDeviceTest, TheApplicationsAudioSettingsAndTheRadioGoWithTheRequest) {
    auto device = ZADDevice::sharedInstance();
    ZADMobileAds::sharedInstance()->setApplicationVolume(1.5f);
    ZADMobileAds::sharedInstance()->setApplicationMuted(true);
    device->setRadioAccessTechnology("CTRadioAccessTechnologyLTE");
    device->setRadioAccessTechnology(std::nullopt);
    auto parameters = parametersTakenNow();
    EXPECT_EQ(parameters["ios_app_volume"], PlistValue(1.0)) << "limited to 1";
    EXPECT_EQ(parameters["ios_app_muted"], PlistValue("1"));
    // The radio went off: the last technology seen stays.
    EXPECT_FALSE(parameters.contains("ios_radio"));
    EXPECT_EQ(parameters["ios_radio_last"], PlistValue("CTRadioAccessTechnologyLTE"));
    EXPECT_FALSE(parameters.contains("cellular_country_code")) << "no carrier";
}

TEST_F(ZADDeviceTest, TheAdvertisingIdentifierLastsAcrossLaunchesAndTheLimitHidesItsDigest) {
    auto device = ZADDevice::sharedInstance();
    const std::string identifier = device->rawDeviceIdentifier();
    ASSERT_EQ(identifier.size(), 36u);
    EXPECT_EQ(identifier, [&] {
        std::string upper = identifier;
        for (char& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return upper;
    }());
    EXPECT_EQ(device->limitAdTrackingString(), "0");
    const std::string digest = device->deviceIdentifier();
    EXPECT_EQ(digest.size(), 32u);
    EXPECT_EQ(digest.find_first_not_of("0123456789abcdef"), std::string::npos);

    ASIdentifierManager::sharedManager()->setAdvertisingTrackingEnabled(false);
    // As the next launch finds the home.
    ASIdentifierManager::resetForTesting();
    EXPECT_EQ(device->rawDeviceIdentifier(), identifier);
    EXPECT_EQ(device->limitAdTrackingString(), "1");
    EXPECT_EQ(device->deviceIdentifier(), "");
}

TEST_F(ZADDeviceTest, SystemVersionsReadAsThreeNumbers) {
    struct Case {
        const char* text;
        std::array<int64_t, 3> numbers;
        bool supported;
    };
    for (const Case& c : {Case{"7.1", {7, 1, 0}, true}, Case{"8.4.1.2", {8, 4, 1}, true},
                          Case{"6.0.0", {6, 0, 0}, true}, Case{"5.1.1", {5, 1, 1}, false},
                          Case{"10", {10, 0, 0}, true}}) {
        SCOPED_TRACE(c.text);
        UIDevice::currentDevice()->setSystemVersion(c.text);
        ZADDevice::resetForTesting();
        auto device = ZADDevice::sharedInstance();
        device->cacheStaticParameters();
        EXPECT_EQ(device->operatingSystemVersion(), c.numbers);
        EXPECT_EQ(device->OSIsSupported(), c.supported);
        EXPECT_TRUE(device->isOSAtLeastMajorMinorPatch(c.numbers[0], c.numbers[1], c.numbers[2]));
        EXPECT_FALSE(device->isOSAtLeastMajorMinorPatch(c.numbers[0], c.numbers[1] + 1, 0));
    }
}

TEST(ZADOrientationCodeFromMaskTest, MasksHaveTheirCodes) {
    EXPECT_EQ(ZADOrientationCodeFromMask(30), "any");
    EXPECT_EQ(ZADOrientationCodeFromMask(4 | 8), "any");
    EXPECT_EQ(ZADOrientationCodeFromMask(24), "l");
    EXPECT_EQ(ZADOrientationCodeFromMask(2), "p");
    EXPECT_EQ(ZADOrientationCodeFromMask(6), "p");
    EXPECT_EQ(ZADOrientationCodeFromMask(4), std::nullopt);
    EXPECT_EQ(ZADOrientationCodeFromMask(0), std::nullopt);
}

} // namespace
