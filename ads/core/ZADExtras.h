// The engine's own network extras: a dictionary of additional request parameters. Keys
// the engine itself reads: "_useOnce" (true: the extras leave the request after the
// first load reads them), "_ad" (a ready ad: the request is not cacheable), "_requestUrl",
// "_adHeaders" and "_orientation" (the slot's).
#pragma once

#include "ads/core/ZADAdNetworkExtras.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <optional>

class ZADExtras : public ZADAdNetworkExtras {
    NS_OBJECT(ZADExtras)
public:
    static std::shared_ptr<ZADExtras> init() { return make<ZADExtras>(); }
    static std::shared_ptr<ZADExtras> alloc() { return init(); }

    const std::optional<PlistValue::Dictionary>& additionalParameters() const {
        return additionalParameters_;
    }
    void setAdditionalParameters(std::optional<PlistValue::Dictionary> parameters) {
        additionalParameters_ = std::move(parameters);
    }

    std::shared_ptr<ZADAdNetworkExtras> copy() const override;

private:
    ZADExtras() = default;

    std::optional<PlistValue::Dictionary> additionalParameters_;
};
