#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewAnimation.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

namespace {
class UIViewAnimationTest : public ::testing::Test {
protected:
    void SetUp() override { UIViewAnimation::clearRecords(); }
    TaskEnvironment environment;
    std::shared_ptr<UIView> view = UIView::initWithFrame(CGRectMake(0, 0, 10, 10));
};

TEST_F(UIViewAnimationTest, ModelTakesFinalValuesAndCompletionWaitsForTheClock) {
    std::vector<bool> finished;
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        0.3, 0.2, UIViewAnimationOptionCurveEaseIn, [&] { view->setAlpha(0.0); },
        [&](bool done) { finished.push_back(done); });
    EXPECT_EQ(view->alpha(), 0.0);
    ASSERT_EQ(UIViewAnimation::records().size(), 1u);
    const auto& record = UIViewAnimation::records()[0];
    EXPECT_EQ(record.duration, 0.3);
    EXPECT_EQ(record.delay, 0.2);
    EXPECT_EQ(record.keys, std::vector<std::string>{"UIView.alpha"});
    environment.fastForwardBy(0.49);
    EXPECT_TRUE(finished.empty());
    environment.fastForwardBy(0.01);
    EXPECT_EQ(finished, std::vector<bool>{true});
}

TEST_F(UIViewAnimationTest, ChangesOutsideABlockAreNotRecorded) {
    view->setCenter(CGPointMake(3, 3));
    EXPECT_TRUE(UIViewAnimation::records().empty());
    EXPECT_FALSE(UIViewAnimation::isInsideAnimationBlock());
}

TEST_F(UIViewAnimationTest, BeginCommitFormCallsItsStopHandlerAfterTheDuration) {
    int stopped = 0;
    UIViewAnimation::beginAnimationsContext("hide");
    UIViewAnimation::setAnimationDuration(0.3);
    UIViewAnimation::setAnimationDidStopHandler([&] { ++stopped; });
    view->setTransform(CGAffineTransformMakeScale(0.5, 0.5));
    UIViewAnimation::commitAnimations();
    EXPECT_EQ(UIViewAnimation::records().back().keys, std::vector<std::string>{"UIView.transform"});
    environment.fastForwardBy(0.29);
    EXPECT_EQ(stopped, 0);
    environment.fastForwardBy(0.01);
    EXPECT_EQ(stopped, 1);
}
} // namespace
