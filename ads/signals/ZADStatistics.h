// Statistics of one owner with its named timings: a core of persisted lists and a timing
// manager, both keyed by the owner's identifier once it is set.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <string>

class ZADStatisticsCore;
class ZADTiming;
class ZADTimingManager;

class ZADStatistics : public NSObject {
    NS_OBJECT(ZADStatistics)
public:
    const std::shared_ptr<ZADStatisticsCore>& statisticsCore() const { return statisticsCore_; }
    const std::shared_ptr<ZADTimingManager>& timingManager() const { return timingManager_; }

    std::shared_ptr<ZADTiming> timingNamed(const std::string& name) const;
    // A new timing of that name (saved with the others), started.
    void startTimingNamedWithExplicitEnd(const std::string& name, bool explicitEnd);
    // Nothing when there is none.
    void endTimingNamed(const std::string& name);

protected:
    ZADStatistics();

private:
    std::shared_ptr<ZADStatisticsCore> statisticsCore_;
    std::shared_ptr<ZADTimingManager> timingManager_;
};
