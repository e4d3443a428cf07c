#include "ads/render/ZADZMSGHandler.h"

#include "platform/foundation/NSURLRequest.h"

bool ZADZMSGHandler::handleRequestAdView(const std::shared_ptr<NSURLRequest>& request,
                                         const std::shared_ptr<ZADAdView>& adView) {
    if (!request) {
        return false;
    }
    auto notification = ZADNotification::initWithNotificationURL(request->URL());
    return notification && handleNotificationAdView(notification, adView);
}

bool ZADZMSGHandler::handleNotificationAdView(const std::shared_ptr<ZADNotification>& notification,
                                              const std::shared_ptr<ZADAdView>& adView) {
    if (!notification) {
        return false;
    }
    const auto& table = actionBlockDictionary();
    auto found = table.find(notification->name());
    if (found == table.end()) {
        return false;
    }
    found->second(*this, adView, notification->parameters());
    return true;
}

const ZADZMSGHandler::ActionTable& ZADZMSGHandler::actionBlockDictionary() const {
    static const ActionTable none;
    return none;
}
