// A bounded set of reusable objects: a full set drops what is added (nothing is evicted),
// and a memory warning empties it. Any thread: the set lives on the set's serial queue,
// additions go there asynchronously, takes and clears wait for it.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"

#include <cstddef>
#include <memory>
#include <set>

class ZADCacheSet : public NSObject {
    NS_OBJECT(ZADCacheSet)
public:
    static std::shared_ptr<ZADCacheSet> initWithMaxCapacity(size_t maxCapacity);
    ~ZADCacheSet() override;

    size_t maxCapacity() const { return maxCapacity_; }
    virtual void addObject(std::shared_ptr<NSObject> object);
    // Takes any one object out; null when the set is empty.
    std::shared_ptr<NSObject> anyObject();
    void removeAllObjects();

protected:
    explicit ZADCacheSet(size_t maxCapacity);
    // Main thread's memory warnings empty the set; made once the object is shared.
    void observeMemoryWarnings();

private:
    std::shared_ptr<NSObject> observer_;
    dispatch_queue_t lockQueue_;
    // On the lock queue only.
    std::set<std::shared_ptr<NSObject>> set_;
    size_t maxCapacity_;
};
