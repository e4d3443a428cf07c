#include "ads/signals/ZADSlotStatistics.h"

#include "ads/signals/ZADStatisticsCore.h"
#include "ads/signals/ZADTiming.h"
#include "ads/signals/ZADTimingManager.h"

namespace {
constexpr const char* kAdapterTiming = "adapter";
constexpr const char* kDurationKey = "adapter_duration";
constexpr const char* kExitKey = "adapter_exit";
constexpr const char* kFillStatusKey = "adapter_fill_status";

std::string textOf(const PlistValue::Dictionary& entry, const char* key) {
    auto found = entry.find(key);
    return found == entry.end() ? std::string() : found->second.stringValue();
}
} // namespace

std::shared_ptr<ZADSlotStatistics> ZADSlotStatistics::init() {
    return make<ZADSlotStatistics>();
}

void ZADSlotStatistics::setIdentifier(const std::string& identifier) {
    if (hasIdentifier_ && identifier == identifier_) {
        return;
    }
    hasIdentifier_ = true;
    identifier_ = identifier;
    statisticsCore()->setIdentifier(identifier);
    timingManager()->setIdentifier(identifier);
}

PlistValue::Dictionary ZADSlotStatistics::statistics() const {
    return statisticsCore()->statistics();
}

void ZADSlotStatistics::startTimingAdapter() {
    startTimingNamedWithExplicitEnd(kAdapterTiming, true);
}

void ZADSlotStatistics::endTimingAdapterWithExitCode(long exitCode) {
    endTimingNamed(kAdapterTiming);
    auto timing = timingNamed(kAdapterTiming);
    if (timing) {
        statisticsCore()->appendStringToArrayForKey(timing->elapsedMillisecondsString(),
                                                    kDurationKey);
    }
    statisticsCore()->appendStringToArrayForKey(std::to_string(exitCode), kExitKey);
}

void ZADSlotStatistics::endTimingAdapterWithFillStatusAllocationID(
    long fillStatus, const std::string& allocationID) {
    endTimingNamed(kAdapterTiming);
    auto timing = timingNamed(kAdapterTiming);
    if (!timing || allocationID.empty()) {
        return;
    }
    statisticsCore()->appendDictionaryToArrayForKey(
        {{"fill_status_allocation_id", PlistValue(allocationID)},
         {"fill_status_exit", PlistValue(std::to_string(fillStatus))},
         {"fill_status_duration", PlistValue(timing->elapsedMillisecondsString())}},
        kFillStatusKey);
}

void ZADSlotStatistics::resetTimingAdapters() {
    statisticsCore()->removeObjectForKey(kExitKey);
    statisticsCore()->removeObjectForKey(kDurationKey);
}

void ZADSlotStatistics::resetFillStatus() {
    statisticsCore()->removeObjectForKey(kFillStatusKey);
}

std::optional<std::string> ZADSlotStatistics::joinedList(const std::string& key) const {
    const PlistValue list = statisticsCore()->arrayForKey(key);
    if (!list.array()) {
        return std::nullopt;
    }
    std::string joined;
    for (const auto& entry : *list.array()) {
        if (!joined.empty()) {
            joined += ',';
        }
        joined += entry.stringValue();
    }
    return joined;
}

std::optional<std::string> ZADSlotStatistics::adapterExitCodesParameter() const {
    return joinedList(kExitKey);
}

std::optional<std::string> ZADSlotStatistics::adapterDurationsParameter() const {
    return joinedList(kDurationKey);
}

std::optional<std::string> ZADSlotStatistics::adapterFillStatusParameter() const {
    const PlistValue list = statisticsCore()->arrayForKey(kFillStatusKey);
    if (!list.array() || list.array()->empty()) {
        return std::nullopt;
    }
    std::string joined;
    for (const auto& entry : *list.array()) {
        const auto* fields = entry.dictionary();
        if (!fields) {
            continue;
        }
        if (!joined.empty()) {
            joined += '_';
        }
        joined += textOf(*fields, "fill_status_allocation_id") + "." +
                  textOf(*fields, "fill_status_exit") + "." +
                  textOf(*fields, "fill_status_duration");
    }
    return joined;
}
