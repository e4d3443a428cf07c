// The handler of a page's active-view messages: "trackActiveViewUnit",
// "untrackActiveViewUnit" (with "hashCode", the unit's id) and "visibilityChanged" (with
// "hashCode" and "isVisible", "1" meaning visible), which it turns into calls on its
// delegate.
//
// The ad view's own active-view reporter comes with the full container: until then a
// track message is taken and does nothing, and an untrack message always goes to the
// delegate.
#pragma once

#include "ads/render/ZADZMSGHandler.h"

#include <memory>

class ZADActiveViewZMSGHandlerDelegate;

class ZADActiveViewZMSGHandler : public ZADZMSGHandler {
    NS_OBJECT(ZADActiveViewZMSGHandler)
public:
    static std::shared_ptr<ZADActiveViewZMSGHandler> init() {
        return make<ZADActiveViewZMSGHandler>();
    }

    std::shared_ptr<ZADActiveViewZMSGHandlerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<ZADActiveViewZMSGHandlerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    const ActionTable& actionBlockDictionary() const override;

private:
    ZADActiveViewZMSGHandler() = default;

    void
    adViewDidReceiveActiveViewTrackActiveViewNotification(const std::shared_ptr<ZADAdView>& adView,
                                                          const Parameters& parameters);
    void adViewDidReceiveActiveViewUntrackActiveViewNotification(
        const std::shared_ptr<ZADAdView>& adView, const Parameters& parameters);
    void adViewDidReceiveActiveViewVisibilityChangedNotification(
        const std::shared_ptr<ZADAdView>& adView, const Parameters& parameters);

    std::weak_ptr<ZADActiveViewZMSGHandlerDelegate> delegate_;
};
