// The advertising identifier of this installation and whether the user limits ad tracking.
// Both live in the home (Library/Preferences/AdvertisingIdentifier.plist, keys
// "advertisingIdentifier" and "advertisingTrackingEnabled"), so they last across launches
// as the platform keeps them: the identifier, an upper-case UUID, is drawn on first use
// when the file has none; tracking counts as enabled unless the file says otherwise.
// Any thread.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

class ASIdentifierManager : public NSObject {
    NS_OBJECT(ASIdentifierManager)
public:
    static std::shared_ptr<ASIdentifierManager> sharedManager();
    // Forgets what was read, so that the next use reads the home again (between tests).
    static void resetForTesting();

    // "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
    std::string advertisingIdentifierUUIDString();
    bool isAdvertisingTrackingEnabled();
    // As the user's setting would: kept in the home at once.
    void setAdvertisingTrackingEnabled(bool enabled);

private:
    ASIdentifierManager() = default;
    // Reads the home's file once, drawing and keeping an identifier when it has none.
    void loadLocked();
    void saveLocked() const;

    std::mutex mutex_;
    bool loaded_ = false;
    std::string identifier_;
    bool trackingEnabled_ = true;
};
