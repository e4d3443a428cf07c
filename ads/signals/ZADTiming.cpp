#include "ads/signals/ZADTiming.h"

#include "ads/signals/ZADAbsoluteTime.h"

#include <cstdio>

namespace {

// A whole, non-negative number of the form.
std::optional<uint64_t> timestampOf(const PlistValue::Dictionary& form, const char* key) {
    auto found = form.find(key);
    if (found == form.end() || found->second.type() != PlistValue::Type::Integer ||
        found->second.integerValue() < 0) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(found->second.integerValue());
}

} // namespace

ZADTiming::ZADTiming()
    : lockQueue_(dispatch_queue_create("com.zivido.vazer.timing", DISPATCH_QUEUE_SERIAL)) {}

std::shared_ptr<ZADTiming> ZADTiming::initWithCategory(std::optional<std::string> category) {
    auto timing = make<ZADTiming>();
    if (category) {
        timing->category_ = std::move(*category);
    } else {
        char name[96];
        std::snprintf(name, sizeof name, "%s (%p)", timing->className().c_str(),
                      static_cast<const void*>(timing.get()));
        timing->category_ = name;
    }
    return timing;
}

std::shared_ptr<ZADTiming>
ZADTiming::initWithDictionaryRepresentation(const PlistValue::Dictionary& form) {
    auto category = form.find("category");
    const auto start = timestampOf(form, "start");
    const auto end = timestampOf(form, "end");
    if (category == form.end() || !category->second.string() || !start || !end) {
        return nullptr;
    }
    auto timing = initWithCategory(*category->second.string());
    timing->startTimestamp_ = *start;
    timing->endTimestamp_ = *end;
    return timing;
}

std::shared_ptr<ZADTiming> ZADTiming::copy() const {
    return initWithDictionaryRepresentation(dictionaryRepresentation());
}

void ZADTiming::start() {
    const uint64_t now = ZADMonotonicTimeInMilliseconds();
    dispatch_async(lockQueue_, [self = self<ZADTiming>(), now] {
        self->startTimestamp_ = now;
        self->endTimestamp_ = 0;
    });
}

void ZADTiming::end() {
    const uint64_t now = ZADMonotonicTimeInMilliseconds();
    dispatch_async(lockQueue_, [self = self<ZADTiming>(), now] {
        if (self->startTimestamp_ != 0) {
            self->endTimestamp_ = now;
        }
    });
}

void ZADTiming::reset() {
    dispatch_async(lockQueue_, [self = self<ZADTiming>()] {
        self->startTimestamp_ = 0;
        self->endTimestamp_ = 0;
    });
}

uint64_t ZADTiming::startTimestamp() const {
    uint64_t value = 0;
    dispatch_sync(lockQueue_, [&] { value = startTimestamp_; });
    return value;
}

uint64_t ZADTiming::endTimestamp() const {
    uint64_t value = 0;
    dispatch_sync(lockQueue_, [&] { value = endTimestamp_; });
    return value;
}

void ZADTiming::setStartTimestamp(uint64_t milliseconds) {
    dispatch_sync(lockQueue_, [&] { startTimestamp_ = milliseconds; });
}

void ZADTiming::setEndTimestamp(uint64_t milliseconds) {
    dispatch_sync(lockQueue_, [&] { endTimestamp_ = milliseconds; });
}

uint64_t ZADTiming::elapsedMilliseconds() const {
    uint64_t elapsed = 0;
    dispatch_sync(lockQueue_, [&] {
        if (startTimestamp_ == 0) {
            return;
        }
        if (endTimestamp_ >= startTimestamp_) {
            elapsed = endTimestamp_ - startTimestamp_;
        } else if (endTimestamp_ == 0 && !explicitEnd_) {
            const uint64_t now = ZADMonotonicTimeInMilliseconds();
            // A timing restored from an earlier run may carry a start that this run's clock
            // has not reached yet.
            elapsed = now > startTimestamp_ ? now - startTimestamp_ : 0;
        }
    });
    return elapsed;
}

std::string ZADTiming::elapsedMillisecondsString() const {
    return std::to_string(elapsedMilliseconds());
}

bool ZADTiming::isActive() const {
    bool active = false;
    dispatch_sync(lockQueue_, [&] { active = startTimestamp_ != 0 && endTimestamp_ == 0; });
    return active;
}

PlistValue::Dictionary ZADTiming::dictionaryRepresentation() const {
    PlistValue::Dictionary form;
    dispatch_sync(lockQueue_, [&] {
        form = {{"category", PlistValue(category_)},
                {"start", PlistValue(startTimestamp_)},
                {"end", PlistValue(endTimestamp_)}};
    });
    return form;
}

std::string ZADTiming::description() const {
    char head[96];
    std::snprintf(head, sizeof head, "%s (%p): ", className().c_str(),
                  static_cast<const void*>(this));
    return head + PlistValue(dictionaryRepresentation()).description();
}
