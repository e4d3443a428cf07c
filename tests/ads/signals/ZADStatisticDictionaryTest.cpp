#include "ads/signals/ZADStatisticDictionary.h"

#include "platform/dispatch/dispatch.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

class CountingDelegate : public ZADStatisticDictionaryDelegate {
public:
    explicit CountingDelegate(bool hasQueue)
        : queue_(hasQueue ? dispatch_queue_create("test.statistics", DISPATCH_QUEUE_SERIAL)
                          : nullptr) {}
    dispatch_queue_t notificationQueue() override { return queue_; }
    void didUpdateStatisticDictionary(const std::shared_ptr<ZADStatisticDictionary>&) override {
        ++told;
    }
    std::atomic<int> told{0};

private:
    dispatch_queue_t queue_;
};

TEST(ZADStatisticDictionaryTest, CountersAndListsLeaveOtherValuesAlone) {
    TaskEnvironment environment;
    auto statistics = ZADStatisticDictionary::init();
    statistics->incrementNumberForKeyShouldNotifyDelegate("up", false);
    statistics->decrementNumberForKeyShouldNotifyDelegate("down", false);
    statistics->setObjectForKeyedSubscript(PlistValue("text"), "word");
    statistics->incrementNumberForKeyShouldNotifyDelegate("word", false);
    statistics->addObjectToArrayWithKeyShouldNotifyDelegate(PlistValue("a"), "list", false);
    statistics->addObjectToArrayWithKeyShouldNotifyDelegate(PlistValue("b"), "list", false);
    statistics->addObjectToArrayWithKeyShouldNotifyDelegate(PlistValue("c"), "up", false);
    statistics->setObjectForKeyedSubscript(PlistValue("gone"), "deleted");
    statistics->setObjectForKeyedSubscript(PlistValue(), "deleted");
    EXPECT_EQ(statistics->dictionary(), (PlistValue::Dictionary{
                                            {"up", 1},
                                            {"down", -1},
                                            {"word", "text"},
                                            {"list", PlistValue(PlistValue::Array{"a", "b"})},
                                        }));
}

TEST(ZADStatisticDictionaryTest, ABurstOfChangesMakesOneNotification) {
    TaskEnvironment environment(TaskEnvironment::GlobalQueues::Manual);
    auto delegate = std::make_shared<CountingDelegate>(true);
    auto statistics = ZADStatisticDictionary::initWithDelegate(delegate);
    for (int i = 0; i < 3; ++i) {
        statistics->incrementNumberForKeyShouldNotifyDelegate("n", true);
    }
    environment.runUntilIdle();
    EXPECT_EQ(delegate->told, 1);
    statistics->incrementNumberForKeyShouldNotifyDelegate("n", true);
    environment.runUntilIdle();
    EXPECT_EQ(delegate->told, 2);

    // A delegate without a queue is never told.
    auto deaf = std::make_shared<CountingDelegate>(false);
    statistics->setDelegate(deaf);
    statistics->incrementNumberForKeyShouldNotifyDelegate("n", true);
    environment.runUntilIdle();
    EXPECT_EQ(deaf->told, 0);
}

TEST(ZADStatisticDictionaryTest, AFinishedDictionaryTakesNoChangeAndTellsNobody) {
    TaskEnvironment environment;
    auto delegate = std::make_shared<CountingDelegate>(true);
    auto statistics = ZADStatisticDictionary::initWithDelegate(delegate);
    statistics->incrementNumberForKeyShouldNotifyDelegate("n", true);
    statistics->didFinishModifying();
    EXPECT_EQ(delegate->told, 1) << "what was posted before is delivered first";
    EXPECT_EQ(statistics->delegate(), nullptr);
    statistics->incrementNumberForKeyShouldNotifyDelegate("n", true);
    environment.runUntilIdle();
    EXPECT_EQ(statistics->objectForKeyedSubscript("n"), PlistValue(1));
    EXPECT_EQ(delegate->told, 1);
}

} // namespace
