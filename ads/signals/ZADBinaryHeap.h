// A binary min-heap of objects under a three-way comparison. It shares its elements (null
// ones are kept as they are); not locked, its owner uses it from one queue.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSString.h"

#include <algorithm>
#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

template <class T> class ZADBinaryHeap : public NSObject {
    NS_OBJECT(ZADBinaryHeap)
public:
    using Element = std::shared_ptr<T>;
    using Comparator = std::function<NSComparisonResult(const Element&, const Element&)>;

    // Ordered by `comparator`; without one, by the first element's compare() with the
    // second (a null element compares the same as anything), and null when the elements
    // have no compare().
    static std::shared_ptr<ZADBinaryHeap> initWithComparator(Comparator comparator) {
        if (!comparator) {
            if constexpr (requires(const T& a, const Element& b) {
                              { a.compare(b) } -> std::same_as<NSComparisonResult>;
                          }) {
                comparator = [](const Element& a, const Element& b) {
                    return a && b ? a->compare(b) : NSOrderedSame;
                };
            } else {
                return nullptr;
            }
        }
        return make<ZADBinaryHeap>(std::move(comparator));
    }
    static std::shared_ptr<ZADBinaryHeap> init() { return initWithComparator(nullptr); }

    size_t count() const { return heap_.size(); }

    void addObject(Element element) {
        heap_.push_back(std::move(element));
        std::push_heap(heap_.begin(), heap_.end(), greater());
    }
    // False for null; else whether an element compares the same.
    bool containsObject(const Element& element) const {
        return element && std::any_of(heap_.begin(), heap_.end(), [&](const Element& held) {
                   return comparator_(held, element) == NSOrderedSame;
               });
    }
    // The least element; nothing when empty.
    std::optional<Element> minimum() const {
        if (heap_.empty()) {
            return std::nullopt;
        }
        return heap_.front();
    }
    // The least element, taken out; nothing (and no change) when empty.
    std::optional<Element> removedMinimum() {
        if (heap_.empty()) {
            return std::nullopt;
        }
        std::pop_heap(heap_.begin(), heap_.end(), greater());
        Element least = std::move(heap_.back());
        heap_.pop_back();
        return least;
    }
    // All elements from least to greatest, the heap unchanged; nothing when empty.
    std::optional<std::vector<Element>> sortedObjects() const {
        if (heap_.empty()) {
            return std::nullopt;
        }
        std::vector<Element> sorted = heap_;
        std::sort(sorted.begin(), sorted.end(), [this](const Element& a, const Element& b) {
            return comparator_(a, b) == NSOrderedAscending;
        });
        return sorted;
    }

private:
    explicit ZADBinaryHeap(Comparator comparator) : comparator_(std::move(comparator)) {}

    // The standard heap keeps its greatest element first; ordering by "greater" keeps
    // the least there instead.
    auto greater() const {
        return [this](const Element& a, const Element& b) {
            return comparator_(a, b) == NSOrderedDescending;
        };
    }

    Comparator comparator_;
    std::vector<Element> heap_;
};
