// Base of the zmsg handlers: each subclass has a table from message name to action, and
// a message is offered to a chain of handlers until one knows its name.
//
// This base keeps the dispatch by name; holding messages back until a handler is ready
// for them comes with the handlers that need it.
#pragma once

#include "ads/render/ZADNotification.h"
#include "platform/base/NSObject.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class NSURLRequest;
class ZADAdView;

class ZADZMSGHandler : public NSObject {
    NS_OBJECT(ZADZMSGHandler)
public:
    using Parameters = ZADNotification::Parameters;
    using ActionBlock =
        std::function<void(ZADZMSGHandler& handler, const std::shared_ptr<ZADAdView>& adView,
                           const Parameters& parameters)>;
    using ActionTable = std::map<std::string, ActionBlock>;

    // The message of a zmsg request, handled as handleNotificationAdView does; false for
    // any other request.
    bool handleRequestAdView(const std::shared_ptr<NSURLRequest>& request,
                             const std::shared_ptr<ZADAdView>& adView);
    // Runs the action the message's name has in this handler's table (names match
    // exactly, case included) and answers true; false when the table has no such name, so
    // that the message can be offered to the next handler.
    bool handleNotificationAdView(const std::shared_ptr<ZADNotification>& notification,
                                  const std::shared_ptr<ZADAdView>& adView);

    // The handler class's table, built once.
    virtual const ActionTable& actionBlockDictionary() const;

protected:
    ZADZMSGHandler() = default;

    // An action of the table that calls a member of the handler class `Handler`.
    template <class Handler>
    static ActionBlock action(void (Handler::*member)(const std::shared_ptr<ZADAdView>&,
                                                      const Parameters&)) {
        return [member](ZADZMSGHandler& handler, const std::shared_ptr<ZADAdView>& adView,
                        const Parameters& parameters) {
            (static_cast<Handler&>(handler).*member)(adView, parameters);
        };
    }
};
