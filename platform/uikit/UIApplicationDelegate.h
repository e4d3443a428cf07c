// What an application delegate is told about the application's life. Every method is
// optional: the default bodies are what an absent method means.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <memory>

class UIApplication;
class UIWindow;

class UIApplicationDelegate {
public:
    virtual ~UIApplicationDelegate() = default;
    virtual bool applicationDidFinishLaunchingWithOptions(UIApplication& application,
                                                          const PlistValue::Dictionary& options) {
        return true;
    }
    virtual void applicationDidBecomeActive(UIApplication& application) {}
    virtual void applicationWillResignActive(UIApplication& application) {}
    virtual void applicationDidEnterBackground(UIApplication& application) {}
    virtual void applicationWillEnterForeground(UIApplication& application) {}
    virtual void applicationWillTerminate(UIApplication& application) {}
    virtual std::shared_ptr<UIWindow> window() const { return nullptr; }
};
