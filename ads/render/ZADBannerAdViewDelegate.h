// The web delegate of a slot's ad view: it turns the ad page's load into the slot's
// outcome. A page that finishes while the slot renders is its valid ad (the view is
// shown); a page that fails before the slot has a valid ad fails the load with the
// network request error. Clicks, the opener, delayed loads and system sheets come with the
// full delegate. Main thread; the slot is held weakly.
#pragma once

#include "ads/render/ZADAdViewDelegate.h"

#include <memory>

class ZADSlot;

class ZADBannerAdViewDelegate : public ZADAdViewDelegate {
    NS_OBJECT(ZADBannerAdViewDelegate)
public:
    static std::shared_ptr<ZADBannerAdViewDelegate>
    initWithSlot(const std::shared_ptr<ZADSlot>& slot);

    void adViewDidFinishLoad(ZADAdView& adView) override;
    void adViewDidFailLoadWithError(ZADAdView& adView,
                                    const std::shared_ptr<NSError>& error) override;

private:
    explicit ZADBannerAdViewDelegate(std::weak_ptr<ZADSlot> slot) : slot_(std::move(slot)) {}

    std::weak_ptr<ZADSlot> slot_;
};
