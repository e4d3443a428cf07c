// One interval of the engine in milliseconds of the engine clock (ZADAbsoluteTime): a
// fetch, an adapter's run. Not started while its start is 0, active while started and not
// ended, ended when both are set. Any thread: the timestamps live on the timing's own
// serial queue (writes queued, reads waiting), so a read sees every write queued before it.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/PlistValue.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class ZADTiming : public NSObject {
    NS_OBJECT(ZADTiming)
public:
    // Without a category the timing is named "<class> (<address>)", unique to it.
    static std::shared_ptr<ZADTiming> initWithCategory(std::optional<std::string> category);
    // From the dictionary form {"category", "start", "end"}: null when it is not of that
    // shape (a text category and whole, non-negative timestamps).
    static std::shared_ptr<ZADTiming>
    initWithDictionaryRepresentation(const PlistValue::Dictionary& form);
    std::shared_ptr<ZADTiming> copy() const;

    // Start now (ending nothing); end now, when started; back to not started.
    void start();
    void end();
    void reset();

    uint64_t startTimestamp() const;
    uint64_t endTimestamp() const;
    void setStartTimestamp(uint64_t milliseconds);
    void setEndTimestamp(uint64_t milliseconds);
    // End - start when ended; started and not ended: the time so far, or 0 with an
    // explicit end; 0 when never started.
    uint64_t elapsedMilliseconds() const;
    std::string elapsedMillisecondsString() const;
    bool isActive() const;
    PlistValue::Dictionary dictionaryRepresentation() const;
    std::string description() const override;

    const std::string& category() const { return category_; }
    bool explicitEnd() const { return explicitEnd_; }
    void setExplicitEnd(bool explicitEnd) { explicitEnd_ = explicitEnd; }

private:
    ZADTiming();

    dispatch_queue_t lockQueue_;
    std::atomic<bool> explicitEnd_{false};
    std::string category_;
    // On the lock queue only.
    uint64_t startTimestamp_ = 0;
    uint64_t endTimestamp_ = 0;
};
