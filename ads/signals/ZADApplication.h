// The application facts object, as far as ad requests, slots and the server's constants
// need it for now: the early activities run once per process (none of them exists yet),
// whether ads may load now, and the mediation adapters present in the program, as the
// core page's constants name them.
// Any thread: the adapter names live on the object's own serial queue.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class DispatchQueue;
class UIWindow;

class ZADApplication : public NSObject {
    NS_OBJECT(ZADApplication)
public:
    static std::shared_ptr<ZADApplication> sharedInstance();
    // A fresh object in place of the shared one (between tests).
    static void resetForTesting();

    // Main thread; what it starts is started once per process. None of the early
    // activities exists yet.
    void runEarlyActivities() {}
    // Main thread. Content hashing comes with the content collection: until then an ad
    // response's switch finds nothing to start or stop.
    void startContentHashing() {}
    void stopContentHashing() {}
    // Main thread. Whether the application is in the foreground and active.
    bool active() const;
    // The setting "/zivido/ads/bg_reload_enabled", read now (NO when absent): whether ads
    // may load while the application is not active.
    bool backgroundLoadingEnabled() const;
    // Main thread. The application's key window, else its frontmost one; null without any.
    std::shared_ptr<UIWindow> mainWindow() const;

    // The class names of the mediation adapters in the program; nothing until stored.
    std::optional<std::vector<std::string>> availableAdapterNames() const;
    void setAvailableAdapterNames(std::vector<std::string> names);
    // From the server's comma-separated candidates (nothing leaves the list unchanged):
    // those that name a class the program has registered.
    void updateAvailableAdapterNamesWithPotentialAdapterNames(
        const std::optional<std::string>& potentialAdapterNames);

private:
    ZADApplication();

    std::shared_ptr<DispatchQueue> lockQueue_;
    // On the lock queue only.
    std::optional<std::vector<std::string>> availableAdapterNames_;
};
