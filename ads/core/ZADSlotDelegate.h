// What the ad object owning a slot (a banner view, an interstitial, a native ad loader)
// may answer and hear. Every method is optional: a question answered by the default body
// (no value) is one the owner does not answer, and the slot does what it does without it.
// Main thread.
#pragma once

#include "platform/foundation/PlistValue.h"
#include "platform/graphics/CGGeometry.h"

#include <memory>
#include <optional>
#include <vector>

class NSError;
class NSValue;
class UIScreen;
class UIView;
class ZADRequest;
class ZADSlot;

class ZADSlotDelegate {
public:
    virtual ~ZADSlotDelegate() = default;

    // Whether the request may load; a refusal may say why in `error`.
    virtual std::optional<bool>
    slotShouldLoadRequestError(ZADSlot& slot, const std::shared_ptr<ZADRequest>& request,
                               std::shared_ptr<NSError>& error) {
        return std::nullopt;
    }
    // Whether the reload timer's load may go ahead now (without an answer it never does).
    virtual std::optional<bool> slotShouldReloadCurrentRequest(ZADSlot& slot) {
        return std::nullopt;
    }
    // Whether a new load may replace the one under way (without an answer it may not).
    virtual std::optional<bool> slotShouldPreemptInProgressRequest(ZADSlot& slot) {
        return std::nullopt;
    }
    // The sizes the owner can show, boxed ad sizes.
    virtual std::optional<std::vector<std::shared_ptr<NSValue>>> validAdSizes() {
        return std::nullopt;
    }
    // Where the owner stands, in its superview's and its own coordinates.
    virtual std::optional<CGRect> frame() { return std::nullopt; }
    virtual std::optional<CGRect> bounds() { return std::nullopt; }
    // Where the ad's content stands on the screen, in the form the ad server reads.
    virtual std::optional<PlistValue::Dictionary> coordinatesOfContentInScreen(UIScreen& screen) {
        return std::nullopt;
    }
    virtual void slotWillLoadAdWithRequest(ZADSlot& slot,
                                           const std::shared_ptr<ZADRequest>& request) {}
    // The view that shows the ad, or null when the owner is to show none.
    virtual void slotDidReceiveAdView(ZADSlot& slot, const std::shared_ptr<UIView>& view) {}
    // A custom-rendered ad is ready at the slot's placement: whether the owner renders it;
    // a refusal may say why in `error`.
    virtual std::optional<bool>
    slotNotifyPublisherToRenderCustomRenderingAdError(ZADSlot& slot,
                                                      std::shared_ptr<NSError>& error) {
        return std::nullopt;
    }
};
