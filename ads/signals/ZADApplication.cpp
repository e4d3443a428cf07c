#include "ads/signals/ZADApplication.h"

#include "platform/base/ClassRegistry.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIApplication.h"

#include <mutex>

namespace {

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<ZADApplication>& sharedSlot() {
    static std::shared_ptr<ZADApplication> application;
    return application;
}

} // namespace

ZADApplication::ZADApplication()
    : lockQueue_(dispatch_queue_create("com.zivido.vazer.application", DISPATCH_QUEUE_SERIAL)) {}

std::shared_ptr<ZADApplication> ZADApplication::sharedInstance() {
    std::lock_guard lock(sharedMutex());
    auto& application = sharedSlot();
    if (!application) {
        application = make<ZADApplication>();
    }
    return application;
}

void ZADApplication::resetForTesting() {
    std::lock_guard lock(sharedMutex());
    sharedSlot().reset();
}

std::optional<std::vector<std::string>> ZADApplication::availableAdapterNames() const {
    std::optional<std::vector<std::string>> names;
    dispatch_sync(lockQueue_, [&] { names = availableAdapterNames_; });
    return names;
}

void ZADApplication::setAvailableAdapterNames(std::vector<std::string> names) {
    dispatch_sync(lockQueue_, [&] { availableAdapterNames_ = std::move(names); });
}

void ZADApplication::updateAvailableAdapterNamesWithPotentialAdapterNames(
    const std::optional<std::string>& potentialAdapterNames) {
    if (!potentialAdapterNames) {
        return;
    }
    std::vector<std::string> present;
    for (const auto& piece : NSString::componentsSeparatedByString(*potentialAdapterNames, ",")) {
        std::string name = NSString::stringByTrimmingWhitespaceAndNewlines(piece);
        if (!name.empty() && NSClassFromString(name)) {
            present.push_back(std::move(name));
        }
    }
    setAvailableAdapterNames(std::move(present));
}

bool ZADApplication::active() const {
    return UIApplication::sharedApplication()->applicationState() == UIApplicationState::Active;
}

std::shared_ptr<UIWindow> ZADApplication::mainWindow() const {
    auto application = UIApplication::sharedApplication();
    if (auto key = application->keyWindow()) {
        return key;
    }
    auto windows = application->windows();
    return windows.empty() ? nullptr : windows.back();
}

bool ZADApplication::backgroundLoadingEnabled() const {
    return NSUserDefaults::standardUserDefaults()->boolForKey("/zivido/ads/bg_reload_enabled");
}
