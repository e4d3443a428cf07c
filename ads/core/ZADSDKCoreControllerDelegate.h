// What asks the core controller for an ad URL (a slot, and later the reward-based video
// ad and the ad-URL mediation adapter). adLoadActionTimeRecorder and setRequestID are
// called on the controller's queue, everything else on the main thread.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

class NSError;
class ZADAd;
class ZADCSITimeRecorder;

class ZADSDKCoreControllerDelegate {
public:
    using MessageParameters = std::map<std::string, std::string>;
    // What requestedAdType answers.
    enum : long { kPlainAd = 0, kBannerAd = 1, kInterstitialAd = 2 };

    virtual ~ZADSDKCoreControllerDelegate() = default;

    // The load's latency recorder; may be null.
    virtual std::shared_ptr<ZADCSITimeRecorder> adLoadActionTimeRecorder() = 0;
    // The request's parameters, holding its id under "request_id"; nothing sends no call.
    virtual std::optional<PlistValue::Dictionary> requestParameters() = 0;
    // 1 a banner view, 2 an interstitial, 0 anything else; other values: no ad record.
    virtual long requestedAdType() = 0;
    virtual void setRequestID(const std::string& requestID) = 0;

    // The page's "loadAdURL" message, whole ("url", or "errors" when the request failed).
    virtual void loadAdURLWithParameters(const MessageParameters& parameters) = 0;
    // The page's ready ad (null when the requested type makes none) and its headers.
    virtual void loadAdHeaders(const std::shared_ptr<ZADAd>& ad,
                               const PlistValue::Dictionary& headers) = 0;
    // The page found the request invalid.
    virtual void invalidJavaScriptRequest() = 0;
    // The core page could not be loaded.
    virtual void failedJavaScriptFile() = 0;
    // The page did not answer in time: a ZADRequestError of code 5 (time-out).
    virtual void adURLRequestDidFailWithError(const std::shared_ptr<NSError>& error) = 0;
};
