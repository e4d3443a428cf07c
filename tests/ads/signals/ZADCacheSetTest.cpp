#include "ads/signals/ZADCacheSet.h"

#include "platform/uikit/UIApplication.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class Item : public NSObject {
    NS_OBJECT(Item)
public:
    static std::shared_ptr<Item> init() { return make<Item>(); }

private:
    Item() = default;
};

// Everything the set holds, taken out.
std::set<std::shared_ptr<NSObject>> drain(ZADCacheSet& cache) {
    std::set<std::shared_ptr<NSObject>> taken;
    while (auto object = cache.anyObject()) {
        taken.insert(object);
    }
    return taken;
}

TEST(ZADCacheSetTest, AFullSetDropsWhatComesAndATakeMakesRoom) {
    TaskEnvironment environment;
    auto cache = ZADCacheSet::initWithMaxCapacity(2);
    auto first = Item::init();
    auto second = Item::init();
    cache->addObject(first);
    cache->addObject(second);
    cache->addObject(Item::init());
    EXPECT_EQ(drain(*cache), (std::set<std::shared_ptr<NSObject>>{first, second}));

    cache->addObject(first);
    cache->addObject(second);
    auto taken = cache->anyObject();
    ASSERT_TRUE(taken);
    auto third = Item::init();
    cache->addObject(third);
    auto rest = drain(*cache);
    EXPECT_EQ(rest.size(), 2u);
    EXPECT_TRUE(rest.contains(third));
    EXPECT_FALSE(rest.contains(taken));
}

TEST(ZADCacheSetTest, AMemoryWarningEmptiesEverySet) {
    TaskEnvironment environment;
    auto one = ZADCacheSet::initWithMaxCapacity(3);
    auto other = ZADCacheSet::initWithMaxCapacity(1);
    one->addObject(Item::init());
    one->addObject(Item::init());
    other->addObject(Item::init());
    UIApplication::sharedApplication()->receiveMemoryWarning();
    environment.runUntilIdle();
    EXPECT_EQ(one->anyObject(), nullptr);
    EXPECT_EQ(other->anyObject(), nullptr);
}

} // namespace
