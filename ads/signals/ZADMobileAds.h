// The engine's public switches for the application: the volume of ad audio relative to
// the application's (sent with requests, limited to 0...1) and its mute flag, each change
// posted as "ZADMobileAdsApplicationVolumeDidChangeNotification" (object: this instance);
// and letting ads load while the application is in the background.
// Setters on the main thread; the values may be read from any thread.
#pragma once

#include "platform/base/NSObject.h"

#include <atomic>
#include <memory>

inline constexpr const char* ZADMobileAdsApplicationVolumeDidChangeNotification =
    "ZADMobileAdsApplicationVolumeDidChangeNotification";

class ZADMobileAds : public NSObject {
    NS_OBJECT(ZADMobileAds)
public:
    static std::shared_ptr<ZADMobileAds> sharedInstance();
    // Volume 1 and not muted again (between tests).
    static void resetForTesting();

    float applicationVolume() const { return applicationVolume_; }
    // A different value is kept and posted; the same one posts nothing.
    void setApplicationVolume(float volume);
    bool applicationMuted() const { return applicationMuted_; }
    void setApplicationMuted(bool muted);
    float clampedApplicationVolume() const;

    static void enableBackgroundAdLoading();

private:
    ZADMobileAds() = default;
    void postChange();

    std::atomic<bool> applicationMuted_{false};
    std::atomic<float> applicationVolume_{1.0f};
};
