// One zmsg message: what an ad page or the core page says to the engine by navigating to
// "zmsg://<any host>/<name>?<parameters>". The name and every parameter are text; each
// reader converts the values it takes. A message needs a name, so there is no plain
// factory.
#pragma once

#include "platform/base/NSObject.h"

#include <map>
#include <memory>
#include <string>

class NSURL;

class ZADNotification : public NSObject {
    NS_OBJECT(ZADNotification)
public:
    using Parameters = std::map<std::string, std::string>;

    // Whether the URL's scheme is "zmsg", in any case. False for a null URL.
    static bool isNotificationURL(const std::shared_ptr<NSURL>& url);
    // The message a zmsg URL carries; null for another scheme or an empty name.
    //
    // The name is the decoded path without its leading "/"; the host plays no part.
    // Parameters come from the query split at every "&" and ";": a piece counts only when
    // it holds exactly one "="; name and value are percent-decoded as UTF-8 ("+" stays a
    // plus sign) and a piece that does not decode is dropped; a later piece replaces an
    // earlier one of the same name. Names keep their case.
    static std::shared_ptr<ZADNotification>
    initWithNotificationURL(const std::shared_ptr<NSURL>& url);
    // Null when the name is empty.
    static std::shared_ptr<ZADNotification> initWithNameParameters(std::string name,
                                                                   Parameters parameters);

    const std::string& name() const { return name_; }
    const Parameters& parameters() const { return parameters_; }

    // "<ZADNotification: 0x...> name:<name> parameters:{ key = value; }"
    std::string description() const override;

private:
    ZADNotification(std::string name, Parameters parameters)
        : name_(std::move(name)), parameters_(std::move(parameters)) {}

    std::string name_;
    Parameters parameters_;
};
