#include "app/categories/UIView+UIViewx.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewAnimation.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
std::shared_ptr<UIView> viewWithFrame(double x, double y, double w, double h) {
    return UIView::initWithFrame(CGRectMake(x, y, w, h));
}

TEST(UIViewx, EdgeSettersKeepTheOtherEdge) {
    auto view = viewWithFrame(10, 20, 30, 40);
    UIViewx::setRight(*view, 100);
    EXPECT_EQ(UIViewx::left(*view), 70.0f);
    UIViewx::setBottom(*view, 100);
    EXPECT_EQ(UIViewx::top(*view), 60.0f);
    UIViewx::setWidth(*view, 5);
    EXPECT_EQ(UIViewx::left(*view), 70.0f);
    EXPECT_EQ(UIViewx::right(*view), 75.0f);
}

TEST(UIViewx, EdgeAccessorsNarrowToSinglePrecision) {
    auto view = viewWithFrame(0.1, 0, 1.0 / 3.0, 1);
    EXPECT_EQ(UIViewx::left(*view), 0.1f);
    EXPECT_NE(static_cast<double>(UIViewx::left(*view)), 0.1);
    UIViewx::setLeft(*view, 0.1f);
    // The setter widens the float back: the frame now holds the single-precision value.
    EXPECT_NEAR(view->frame().origin.x, static_cast<double>(0.1f), 1e-12);
    EXPECT_GT(std::abs(view->frame().origin.x - 0.1), 1e-9);
    EXPECT_EQ(UIViewx::width(*view), 1.0f / 3.0f);
    // Point and size operations keep full width.
    UIViewx::setPosition(*view, CGPointMake(0.1, 0.2));
    EXPECT_EQ(UIViewx::postion(*view).x, 0.1);
}

TEST(UIViewx, LayoutSubviewsInCenterSkipsHiddenViews) {
    auto row = viewWithFrame(0, 0, 320, 50);
    auto a = viewWithFrame(0, 0, 40, 10);
    auto b = viewWithFrame(0, 0, 60, 10);
    auto hidden = viewWithFrame(5, 5, 100, 10);
    hidden->setHidden(true);
    row->addSubview(a);
    row->addSubview(hidden);
    row->addSubview(b);
    UIViewx::layoutSubviewsInCenter(*row);
    EXPECT_EQ(a->center().x, 130);
    EXPECT_EQ(b->center().x, 180);
    EXPECT_EQ(a->center().y, 25);
    EXPECT_EQ(hidden->frame().origin.x, 5);
}

TEST(UIViewx, SubviewHelpersCheckTheRange) {
    auto parent = viewWithFrame(0, 0, 100, 100);
    auto child = viewWithFrame(1, 2, 3, 4);
    auto stranger = viewWithFrame(0, 0, 1, 1);
    parent->addSubview(child);

    int missing = UIViewx::indexOfView(*parent, stranger.get());
    EXPECT_EQ(missing, -1);
    EXPECT_EQ(UIViewx::viewAtIndex(*parent, missing), nullptr);
    EXPECT_EQ(UIViewx::viewAtIndex(*parent, 1), nullptr);
    UIViewx::removeViewAtIndex(*parent, missing);
    UIViewx::replaceViewAtIndex(*parent, stranger, missing);
    ASSERT_EQ(parent->subviews().size(), 1u);

    auto replacement = viewWithFrame(0, 0, 9, 9);
    UIViewx::replaceViewAtIndex(*parent, replacement, 0);
    ASSERT_EQ(parent->subviews().size(), 1u);
    EXPECT_EQ(parent->subviews()[0], replacement);
    EXPECT_EQ(replacement->frame(), CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(child->superview(), nullptr);

    UIViewx::clearSubviews(*parent);
    EXPECT_TRUE(parent->subviews().empty());
}

TEST(UIViewx, PointInsideFrameUsesTheSuperviewsCoordinates) {
    auto view = viewWithFrame(50, 50, 10, 10);
    EXPECT_TRUE(UIViewx::pointInsideFrame(*view, CGPointMake(55, 55)));
    EXPECT_FALSE(UIViewx::pointInsideFrame(*view, CGPointMake(5, 5)));
}

TEST(UIViewx, FadesInAndOutOverTheDuration) {
    TaskEnvironment environment;
    auto parent = viewWithFrame(0, 0, 100, 100);
    auto child = viewWithFrame(0, 0, 10, 10);
    UIViewx::transitionToAddSubviewDuration(*parent, child, 0.3);
    EXPECT_EQ(child->superview(), parent);
    EXPECT_EQ(child->alpha(), 1.0); // the model holds the end value at once
    EXPECT_EQ(UIViewAnimation::records().back().duration, 0.3);

    UIViewx::transitionToRemoveFromSuperview(child, 0.5);
    EXPECT_EQ(child->alpha(), 0.0);
    environment.fastForwardBy(0.49);
    EXPECT_EQ(child->superview(), parent);
    environment.fastForwardBy(0.01);
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(child->alpha(), 1.0);
}

TEST(UIViewx, RecursiveDescriptionIndentsEachLevel) {
    auto root = viewWithFrame(0, 0, 10, 10);
    auto child = viewWithFrame(0, 0, 5, 5);
    auto grandchild = viewWithFrame(0, 0, 1, 1);
    root->addSubview(child);
    child->addSubview(grandchild);
    std::string text = UIViewx::recursiveDescription(*root);
    std::string expected = root->description() + "\n" + "  |" + child->description() + "\n" +
                           "  |  |" + grandchild->description() + "\n";
    EXPECT_EQ(text, expected);
}
} // namespace
