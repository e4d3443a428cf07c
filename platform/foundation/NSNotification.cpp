#include "platform/foundation/NSNotification.h"

std::shared_ptr<NSNotification> NSNotification::notificationWithNameObjectUserInfo(
    std::string name, std::shared_ptr<NSObject> object, PlistValue::Dictionary userInfo) {
    return std::shared_ptr<NSNotification>(
        new NSNotification(std::move(name), std::move(object), std::move(userInfo)));
}
