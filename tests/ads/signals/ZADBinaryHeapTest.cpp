#include "ads/signals/ZADBinaryHeap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

// An element that orders itself, as the heap's default comparison expects.
class Rank : public NSObject {
    NS_OBJECT(Rank)
public:
    static std::shared_ptr<Rank> initWithValue(int value) { return make<Rank>(value); }
    int value() const { return value_; }
    NSComparisonResult compare(const std::shared_ptr<Rank>& other) const {
        return value_ < other->value_   ? NSOrderedAscending
               : value_ > other->value_ ? NSOrderedDescending
                                        : NSOrderedSame;
    }

private:
    explicit Rank(int value) : value_(value) {}
    int value_;
};

// An element with no order of its own.
class Plain : public NSObject {
    NS_OBJECT(Plain)
};

std::vector<int> valuesOf(const std::vector<std::shared_ptr<Rank>>& ranks) {
    std::vector<int> values;
    for (const auto& rank : ranks) {
        values.push_back(rank->value());
    }
    return values;
}

TEST(ZADBinaryHeapTest, EmptyHeapHasNothingToGive) {
    auto heap = ZADBinaryHeap<Rank>::init();
    ASSERT_TRUE(heap);
    EXPECT_EQ(heap->count(), 0u);
    EXPECT_FALSE(heap->minimum());
    EXPECT_FALSE(heap->removedMinimum());
    EXPECT_FALSE(heap->sortedObjects()) << "nothing, not an empty list";
    EXPECT_FALSE(heap->containsObject(nullptr));
    EXPECT_EQ(heap->count(), 0u);
}

TEST(ZADBinaryHeapTest, GivesElementsBackLeastFirstWhateverTheOrderOfAdding) {
    std::vector<int> values(200);
    std::mt19937 random(7);
    for (auto& value : values) {
        value = static_cast<int>(random() % 50); // with repeats
    }
    auto heap = ZADBinaryHeap<Rank>::init();
    for (int value : values) {
        heap->addObject(Rank::initWithValue(value));
    }
    std::vector<int> sorted = values;
    std::sort(sorted.begin(), sorted.end());

    EXPECT_EQ((*heap->minimum())->value(), sorted.front());
    EXPECT_EQ(valuesOf(*heap->sortedObjects()), sorted);
    EXPECT_EQ(heap->count(), values.size()) << "listing leaves the heap as it was";
    EXPECT_TRUE(heap->containsObject(Rank::initWithValue(sorted[100])))
        << "an equal element is found, not only the same object";
    EXPECT_FALSE(heap->containsObject(Rank::initWithValue(50)));

    std::vector<int> removed;
    while (auto least = heap->removedMinimum()) {
        removed.push_back((*least)->value());
    }
    EXPECT_EQ(removed, sorted);
    EXPECT_EQ(heap->count(), 0u);
}

TEST(ZADBinaryHeapTest, ComparatorDecidesTheOrder) {
    auto heap = ZADBinaryHeap<Rank>::initWithComparator(
        [](const std::shared_ptr<Rank>& a, const std::shared_ptr<Rank>& b) {
            return b->compare(a); // greatest first
        });
    for (int value : {3, 9, 1, 7}) {
        heap->addObject(Rank::initWithValue(value));
    }
    EXPECT_EQ(valuesOf(*heap->sortedObjects()), (std::vector<int>{9, 7, 3, 1}));
    EXPECT_EQ((*heap->removedMinimum())->value(), 9);
}

TEST(ZADBinaryHeapTest, ElementsWithoutAnOrderNeedAComparator) {
    EXPECT_EQ(ZADBinaryHeap<Plain>::init(), nullptr);
    auto heap = ZADBinaryHeap<Plain>::initWithComparator(
        [](const std::shared_ptr<Plain>&, const std::shared_ptr<Plain>&) { return NSOrderedSame; });
    EXPECT_TRUE(heap);
}

TEST(ZADBinaryHeapTest, SharesItsElementsUntilItGoesAndKeepsNullOnes) {
    auto heap = ZADBinaryHeap<Rank>::init();
    auto element = Rank::initWithValue(1);
    std::weak_ptr<Rank> watch = element;
    heap->addObject(element);
    heap->addObject(nullptr);
    element.reset();
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(heap->count(), 2u);
    heap.reset();
    EXPECT_TRUE(watch.expired());
}

} // namespace
