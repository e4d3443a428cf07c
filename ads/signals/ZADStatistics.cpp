#include "ads/signals/ZADStatistics.h"

#include "ads/signals/ZADStatisticsCore.h"
#include "ads/signals/ZADTiming.h"
#include "ads/signals/ZADTimingManager.h"

ZADStatistics::ZADStatistics()
    : statisticsCore_(ZADStatisticsCore::init()), timingManager_(ZADTimingManager::init()) {}

std::shared_ptr<ZADTiming> ZADStatistics::timingNamed(const std::string& name) const {
    return timingManager_->timingForCategory(name);
}

void ZADStatistics::startTimingNamedWithExplicitEnd(const std::string& name, bool explicitEnd) {
    timingManager_->removeTimingForCategory(name);
    auto timing = timingManager_->addTimingWithCategory(name);
    timing->setExplicitEnd(explicitEnd);
    timing->start();
}

void ZADStatistics::endTimingNamed(const std::string& name) {
    if (auto timing = timingNamed(name)) {
        timing->end();
    }
}
