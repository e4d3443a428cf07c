// The engine's facts about the device: system version and version checks, model, screen
// geometry upright and as turned, the advertising identifier and the tracking limit, the
// audio route and volume, the phone network, the user agent of web views, the network
// type; and the device part of every ad request (parameters()).
//
// Facts that cannot change while the process lives are taken once, on the main thread,
// by the early activities (cacheStaticParameters); until then the answers are empty or
// zero, except the upright screen bounds, read from the screen as it is. Facts that can
// change are refreshed on the main thread before each load (updateDynamicParameters),
// among them the orientations the main window allows, so that a request built off the
// main thread reads no view. The network type follows the ad server's host from the
// static facts on.
//
// Any thread: every field lives on the device's serial queue; changes are queued, reads
// wait, so a read sees what its thread changed before. Kept out: the system volume view
// (the volume is always the audio session's), the bluetooth state (no monitor), and the
// text and phone-call abilities (no request carries them).
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/PlistValue.h"
#include "platform/graphics/CGGeometry.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class CTTelephonyNetworkInfo;
class ZADNetwork;

class ZADDevice : public NSObject {
    NS_OBJECT(ZADDevice)
public:
    // The oldest system the engine loads ads on is of this major version.
    static constexpr int kMinimumMajorSystemVersion = 6;
    // The book store can be opened; the reading application of "kindle://home" is there.
    enum Bookstore : unsigned { kBookstoreBooks = 1, kBookstoreReader = 2 };

    static std::shared_ptr<ZADDevice> sharedInstance();
    // A fresh object in place of the shared one (between tests).
    static void resetForTesting();
    ~ZADDevice() override;

    // Main thread; the first call only.
    void cacheStaticParameters();
    bool hasCachedStaticParameters() const;
    // Main thread: orientation, book stores, carrier, main window's size and orientations,
    // audio volume and route.
    void updateDynamicParameters();
    void updateOrientation();
    void updateBookstores();
    void updateMobileCarrierInformation();
    void updateOrientedKeyWindowSize();
    void updateAudioVolume();
    void updateAudioPortNames();

    // The device's part of a request's parameters.
    PlistValue::Dictionary parameters() const;

    // Versions.
    std::string systemVersion() const;
    std::array<int64_t, 3> operatingSystemVersion() const;
    bool isOSAtLeastMajorMinorPatch(int64_t major, int64_t minor, int64_t patch) const;
    // At least 6.0.0; below it no ad loads.
    bool OSIsSupported() const;
    // Info.plist's "DTSDKName" without the "DTPlatformName" in it; nothing without one.
    // Read once.
    std::optional<std::string> baseSDKVersion() const;
    bool isSimulator() const { return false; }
    // Each text to whether it can be opened: a valid URL whose scheme Info.plist's
    // "LSApplicationQueriesSchemes" lists and the platform can open.
    std::map<std::string, bool> canOpenURLs(const std::vector<std::string>& URLs) const;

    // Identity.
    bool limitAdTracking() const;
    std::string limitAdTrackingString() const { return limitAdTracking() ? "1" : "0"; }
    std::string rawDeviceIdentifier() const;
    // "" when tracking is limited; else the MD5 text of the raw identifier.
    std::string deviceIdentifier() const;

    // Model and locale.
    std::string deviceModel() const;
    // The hardware's machine name (uname).
    static std::string deviceSubmodel();
    // The first preferred language, lower-cased; nothing without one. Read once.
    std::optional<std::string> locale() const;

    // Geometry in points.
    double mainScreenDensity() const;
    CGRect standardizedPortraitScreenBounds() const;
    CGRect standardizedLandscapeScreenBounds() const;
    CGRect standardizedOrientedScreenBounds() const;
    CGSize standardizedOrientedKeyWindowSize() const;
    CGSize standardizedPortraitKeyWindowSize() const;
    // Refreshes the orientation on the main thread first (elsewhere it answers from the
    // last reading).
    bool orientationLandscape() const;

    // Audio, radio, carrier.
    float audioVolume() const;
    std::vector<std::string> audioRoutePortNames() const;
    std::optional<std::string> radioAccessTechnology() const;
    std::optional<std::string> lastKnownRadioAccessTechnology() const;
    void setRadioAccessTechnology(std::optional<std::string> technology);
    std::optional<std::string> mobileCountryCode() const;
    std::optional<std::string> mobileNetworkCode() const;
    void setMobileCountryCode(std::optional<std::string> code);
    void setMobileNetworkCode(std::optional<std::string> code);
    unsigned bookstores() const;

    // The User-Agent the engine's own requests send: the first one an ad web view sent;
    // empty until then. An empty text is not kept.
    std::string userAgent() const;
    void setUserAgentString(const std::string& userAgent);

    const std::shared_ptr<ZADNetwork>& network() const { return network_; }
    // "VaZerTemp" in the process's temporary folder, made first when asked.
    static std::string temporaryPathWithCreation(bool create);

private:
    ZADDevice();
    template <class F> auto read(F&& reader) const;
    void write(std::function<void(ZADDevice&)> change);

    dispatch_queue_t lockQueue_;
    std::shared_ptr<ZADNetwork> network_;
    std::shared_ptr<NSObject> radioObserver_;

    // On the lock queue only.
    bool hasCachedStaticParameters_ = false;
    std::array<int64_t, 3> operatingSystemVersion_{0, 0, 0};
    std::string systemVersion_;
    std::optional<PlistValue::Dictionary> infoPlist_;
    std::string deviceModel_;
    bool userInterfaceIdiomIsPhone_ = false;
    double mainScreenDensity_ = 0;
    CGRect portraitBounds_{};
    CGRect landscapeBounds_{};
    unsigned long supportedInterfaceOrientationsForKeyWindow_ = 0;
    unsigned long mainWindowSupportedInterfaceOrientations_ = 0;
    long statusBarOrientation_ = 0;
    unsigned bookstores_ = 0;
    CGSize orientedKeyWindowSize_{};
    float audioVolume_ = 1.0f;
    std::vector<std::string> audioRoutePortNames_;
    bool hasAudioRoute_ = false;
    std::shared_ptr<CTTelephonyNetworkInfo> telephonyNetworkInfo_;
    std::optional<std::string> radioAccessTechnology_;
    std::optional<std::string> lastKnownRadioAccessTechnology_;
    std::optional<std::string> mobileCountryCode_;
    std::optional<std::string> mobileNetworkCode_;
    std::string userAgent_;

    // Read once, on first use.
    mutable std::once_flag localeOnce_;
    mutable std::optional<std::string> locale_;
    mutable std::once_flag baseSDKVersionOnce_;
    mutable std::optional<std::string> baseSDKVersion_;
};
