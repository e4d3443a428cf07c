#include "ads/signals/ZADCacheSet.h"

#include "platform/foundation/NSNotificationCenter.h"
#include "platform/uikit/UIApplication.h"

std::shared_ptr<ZADCacheSet> ZADCacheSet::initWithMaxCapacity(size_t maxCapacity) {
    auto cache = make<ZADCacheSet>(maxCapacity);
    cache->observeMemoryWarnings();
    return cache;
}

ZADCacheSet::ZADCacheSet(size_t maxCapacity)
    : lockQueue_(dispatch_queue_create("com.zivido.vazer.cache-set", DISPATCH_QUEUE_SERIAL)),
      maxCapacity_(maxCapacity) {}

ZADCacheSet::~ZADCacheSet() {
    if (observer_) {
        NSNotificationCenter::defaultCenter()->removeObserver(observer_);
    }
}

void ZADCacheSet::observeMemoryWarnings() {
    std::weak_ptr<ZADCacheSet> weak = self<ZADCacheSet>();
    observer_ = NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
        UIApplicationDidReceiveMemoryWarningNotification, nullptr, dispatch_get_main_queue(),
        [weak](const NSNotification&) {
            if (auto self = weak.lock()) {
                self->removeAllObjects();
            }
        });
}

void ZADCacheSet::addObject(std::shared_ptr<NSObject> object) {
    if (!object) {
        return;
    }
    std::weak_ptr<ZADCacheSet> weak = self<ZADCacheSet>();
    dispatch_async(lockQueue_, [weak, object = std::move(object)] {
        auto self = weak.lock();
        if (self && self->set_.size() < self->maxCapacity_) {
            self->set_.insert(object);
        }
    });
}

std::shared_ptr<NSObject> ZADCacheSet::anyObject() {
    std::shared_ptr<NSObject> taken;
    dispatch_sync(lockQueue_, [&] {
        if (!set_.empty()) {
            taken = set_.extract(set_.begin()).value();
        }
    });
    return taken;
}

void ZADCacheSet::removeAllObjects() {
    std::set<std::shared_ptr<NSObject>> dropped;
    dispatch_sync(lockQueue_, [&] { dropped.swap(set_); });
}
