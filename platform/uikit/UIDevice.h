// The device the app believes it runs on: system version, model and interface idiom,
// which the app consults to pick layouts and features. Tests may change them.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <string>

enum class UIUserInterfaceIdiom { Unspecified = -1, Phone = 0, Pad = 1 };

class UIDevice : public NSObject {
    NS_OBJECT(UIDevice)
public:
    static std::shared_ptr<UIDevice> currentDevice();
    // Back to the default version and idiom (between tests).
    static void resetForTesting();

    // "10.3.3" unless set.
    const std::string& systemVersion() const { return systemVersion_; }
    void setSystemVersion(std::string version) { systemVersion_ = std::move(version); }
    std::string model() const { return "iPhone"; }
    UIUserInterfaceIdiom userInterfaceIdiom() const { return idiom_; }
    void setUserInterfaceIdiom(UIUserInterfaceIdiom idiom) { idiom_ = idiom; }

private:
    UIDevice() = default;

    std::string systemVersion_ = "10.3.3";
    UIUserInterfaceIdiom idiom_ = UIUserInterfaceIdiom::Phone;
};

inline UIUserInterfaceIdiom UI_USER_INTERFACE_IDIOM() {
    return UIDevice::currentDevice()->userInterfaceIdiom();
}
