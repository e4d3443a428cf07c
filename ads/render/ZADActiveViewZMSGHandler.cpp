#include "ads/render/ZADActiveViewZMSGHandler.h"

#include "ads/render/ZADActiveViewZMSGHandlerDelegate.h"
#include "platform/foundation/NSString.h"

const ZADZMSGHandler::ActionTable& ZADActiveViewZMSGHandler::actionBlockDictionary() const {
    static const ActionTable table = {
        {"trackActiveViewUnit",
         action(&ZADActiveViewZMSGHandler::adViewDidReceiveActiveViewTrackActiveViewNotification)},
        {"untrackActiveViewUnit",
         action(
             &ZADActiveViewZMSGHandler::adViewDidReceiveActiveViewUntrackActiveViewNotification)},
        {"visibilityChanged",
         action(
             &ZADActiveViewZMSGHandler::adViewDidReceiveActiveViewVisibilityChangedNotification)},
    };
    return table;
}

void ZADActiveViewZMSGHandler::adViewDidReceiveActiveViewTrackActiveViewNotification(
    const std::shared_ptr<ZADAdView>&, const Parameters&) {}

void ZADActiveViewZMSGHandler::adViewDidReceiveActiveViewUntrackActiveViewNotification(
    const std::shared_ptr<ZADAdView>&, const Parameters& parameters) {
    auto hashCode = parameters.find("hashCode");
    auto delegate = delegate_.lock();
    if (hashCode == parameters.end() || !delegate) {
        return;
    }
    delegate->activeViewZMSGHandlerDidReceiveUntrackNotificationForActiveViewID(
        *this, NSString::integerValue(hashCode->second));
}

void ZADActiveViewZMSGHandler::adViewDidReceiveActiveViewVisibilityChangedNotification(
    const std::shared_ptr<ZADAdView>&, const Parameters& parameters) {
    auto hashCode = parameters.find("hashCode");
    auto isVisible = parameters.find("isVisible");
    auto delegate = delegate_.lock();
    if (hashCode == parameters.end() || isVisible == parameters.end() || !delegate) {
        return;
    }
    delegate->activeViewZMSGHandlerDidReceiveVisibilityNotificationForActiveViewID(
        *this, isVisible->second == "1", NSString::integerValue(hashCode->second));
}
