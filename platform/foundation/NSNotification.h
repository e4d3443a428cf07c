// A notification: a name, the object that posted it (may be null) and user info.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <string>

class NSNotification : public NSObject {
    NS_OBJECT(NSNotification)
public:
    static std::shared_ptr<NSNotification>
    notificationWithNameObjectUserInfo(std::string name, std::shared_ptr<NSObject> object,
                                       PlistValue::Dictionary userInfo = {});

    const std::string& name() const { return name_; }
    const std::shared_ptr<NSObject>& object() const { return object_; }
    const PlistValue::Dictionary& userInfo() const { return userInfo_; }

private:
    NSNotification(std::string name, std::shared_ptr<NSObject> object,
                   PlistValue::Dictionary userInfo)
        : name_(std::move(name)), object_(std::move(object)), userInfo_(std::move(userInfo)) {}

    std::string name_;
    std::shared_ptr<NSObject> object_;
    PlistValue::Dictionary userInfo_;
};
