// The statistics of one slot: how long each mediation adapter took, how it ended and its
// fill status, kept across launches under the slot's ad unit identifier until the pings
// that report them reset them, and written as those pings' parameters.
#pragma once

#include "ads/signals/ZADStatistics.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <optional>
#include <string>

class ZADSlotStatistics : public ZADStatistics {
    NS_OBJECT(ZADSlotStatistics)
public:
    static std::shared_ptr<ZADSlotStatistics> init();

    const std::string& identifier() const { return identifier_; }
    // Loads both records of the identifier; the same identifier again reloads nothing.
    void setIdentifier(const std::string& identifier);
    PlistValue::Dictionary statistics() const;

    void startTimingAdapter();
    void endTimingAdapterWithExitCode(long exitCode);
    void endTimingAdapterWithFillStatusAllocationID(long fillStatus,
                                                    const std::string& allocationID);
    void resetTimingAdapters();
    void resetFillStatus();
    // "120,45"; nothing when no adapter finished.
    std::optional<std::string> adapterExitCodesParameter() const;
    std::optional<std::string> adapterDurationsParameter() const;
    // "a1.1.80_a2.0.15"; nothing when there is none.
    std::optional<std::string> adapterFillStatusParameter() const;

private:
    ZADSlotStatistics() = default;

    std::optional<std::string> joinedList(const std::string& key) const;

    std::string identifier_;
    bool hasIdentifier_ = false;
};
