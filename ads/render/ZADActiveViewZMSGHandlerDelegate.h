// Where the active-view handler sends what a page says about units it tracks by id.
#pragma once

#include <cstdint>

class ZADActiveViewZMSGHandler;

class ZADActiveViewZMSGHandlerDelegate {
public:
    virtual ~ZADActiveViewZMSGHandlerDelegate() = default;
    virtual void activeViewZMSGHandlerDidReceiveVisibilityNotificationForActiveViewID(
        ZADActiveViewZMSGHandler& handler, bool visible, int64_t activeViewID) {}
    virtual void activeViewZMSGHandlerDidReceiveUntrackNotificationForActiveViewID(
        ZADActiveViewZMSGHandler& handler, int64_t activeViewID) {}
};
