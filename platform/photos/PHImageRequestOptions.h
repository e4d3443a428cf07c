// How an image request is carried out: on the calling thread or in the background, and
// how closely the result must match the target size.
#pragma once

#include "platform/base/NSObject.h"

enum class PHImageRequestOptionsDeliveryMode {
    Opportunistic = 0,
    HighQualityFormat = 1,
    FastFormat = 2
};

// Exact crops an aspect-fill result to the target's own shape; the others keep the photo's
// shape.
enum class PHImageRequestOptionsResizeMode { None = 0, Fast = 1, Exact = 2 };

class PHImageRequestOptions : public NSObject {
    NS_OBJECT(PHImageRequestOptions)
public:
    // Synchronous requests answer on the calling thread before returning.
    bool synchronous() const { return synchronous_; }
    void setSynchronous(bool synchronous) { synchronous_ = synchronous; }
    // An asynchronous opportunistic request may answer first with a quick, degraded
    // picture; every other answers once, with the final image.
    PHImageRequestOptionsDeliveryMode deliveryMode() const { return deliveryMode_; }
    void setDeliveryMode(PHImageRequestOptionsDeliveryMode mode) { deliveryMode_ = mode; }
    PHImageRequestOptionsResizeMode resizeMode() const { return resizeMode_; }
    void setResizeMode(PHImageRequestOptionsResizeMode mode) { resizeMode_ = mode; }
    // Kept for callers; every asset is a local file.
    bool networkAccessAllowed() const { return networkAccessAllowed_; }
    void setNetworkAccessAllowed(bool allowed) { networkAccessAllowed_ = allowed; }

private:
    bool synchronous_ = false;
    PHImageRequestOptionsDeliveryMode deliveryMode_ =
        PHImageRequestOptionsDeliveryMode::Opportunistic;
    PHImageRequestOptionsResizeMode resizeMode_ = PHImageRequestOptionsResizeMode::Fast;
    bool networkAccessAllowed_ = false;
};
