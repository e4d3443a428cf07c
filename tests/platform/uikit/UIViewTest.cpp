#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kQuarterTurn = std::numbers::pi / 2;

void expectRectNear(const CGRect& actual, const CGRect& expected) {
    const double tolerance = 1e-9;
    EXPECT_NEAR(actual.origin.x, expected.origin.x, tolerance) << NSStringFromCGRect(actual);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, tolerance) << NSStringFromCGRect(actual);
    EXPECT_NEAR(actual.size.width, expected.size.width, tolerance) << NSStringFromCGRect(actual);
    EXPECT_NEAR(actual.size.height, expected.size.height, tolerance) << NSStringFromCGRect(actual);
}

void expectPointNear(const CGPoint& actual, const CGPoint& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9) << NSStringFromCGPoint(actual);
    EXPECT_NEAR(actual.y, expected.y, 1e-9) << NSStringFromCGPoint(actual);
}

std::shared_ptr<UIView> viewWithFrame(double x, double y, double width, double height) {
    return UIView::initWithFrame(CGRectMake(x, y, width, height));
}

// Geometry

TEST(UIViewGeometry, FrameCentreAndBoundsWithoutTransform) {
    const auto view = viewWithFrame(10, 20, 100, 50);
    EXPECT_EQ(view->center(), CGPointMake(60, 45));
    EXPECT_EQ(view->bounds(), CGRectMake(0, 0, 100, 50));
    EXPECT_EQ(view->frame(), CGRectMake(10, 20, 100, 50));

    // Scrolling the bounds origin moves the content, not the view.
    view->setBounds(CGRectMake(5, 7, 100, 50));
    EXPECT_EQ(view->frame(), CGRectMake(10, 20, 100, 50));
    // Resizing the bounds keeps the centre.
    view->setBounds(CGRectMake(5, 7, 60, 30));
    EXPECT_EQ(view->frame(), CGRectMake(30, 30, 60, 30));
    // Setting the frame keeps the bounds origin.
    view->setFrame(CGRectMake(0, 0, 20, 10));
    EXPECT_EQ(view->bounds(), CGRectMake(5, 7, 20, 10));
    view->setCenter({100, 100});
    EXPECT_EQ(view->frame(), CGRectMake(90, 95, 20, 10));
    view->setFrame(CGRectMake(10, 10, -4, -6));
    EXPECT_EQ(view->frame(), CGRectMake(6, 4, 4, 6));
}

TEST(UIViewGeometry, FrameIsTheBoundingBoxOfTheTransformedBounds) {
    const auto view = viewWithFrame(10, 20, 100, 50); // centre (60, 45)
    struct Case {
        const char* name;
        CGAffineTransform transform;
        CGRect frame;
    } cases[] = {
        {"scale", CGAffineTransformMakeScale(2, 0.5), CGRectMake(-40, 32.5, 200, 25)},
        {"quarter turn", CGAffineTransformMakeRotation(kQuarterTurn), CGRectMake(35, -5, 50, 100)},
        {"translation", CGAffineTransformMakeTranslation(5, -5), CGRectMake(15, 15, 100, 50)},
        {"flip", CGAffineTransformMakeScale(-1, 1), CGRectMake(10, 20, 100, 50)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view->setTransform(c.transform);
        expectRectNear(view->frame(), c.frame);
        EXPECT_EQ(view->center(), CGPointMake(60, 45));
        EXPECT_EQ(view->bounds(), CGRectMake(0, 0, 100, 50));
    }
    // Under a scale, setting the frame sets centre and the bounds size unscaled, so the
    // frame reads back as set (a zoomed view is laid out by its frame).
    view->setTransform(CGAffineTransformMakeScale(2, -4));
    view->setFrame(CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(view->center(), CGPointMake(5, 5));
    EXPECT_EQ(view->bounds(), CGRectMake(0, 0, 5, 2.5));
    expectRectNear(view->frame(), CGRectMake(0, 0, 10, 10));
    // Under a rotation, centre and bounds size only.
    view->setTransform(CGAffineTransformMakeRotation(kQuarterTurn));
    view->setFrame(CGRectMake(0, 0, 10, 20));
    EXPECT_EQ(view->center(), CGPointMake(5, 10));
    EXPECT_EQ(view->bounds(), CGRectMake(0, 0, 10, 20));
    expectRectNear(view->frame(), CGRectMake(-5, 5, 20, 10));
}

TEST(UIViewGeometry, AlphaIsClampedAndDescriptionShowsWhatDiffers) {
    const auto view = viewWithFrame(0, 0, 375, 667);
    EXPECT_EQ(view->description(), "<UIView; frame = (0 0; 375 667)>");
    view->setAlpha(1.5);
    EXPECT_EQ(view->alpha(), 1);
    view->setAlpha(-1);
    EXPECT_EQ(view->alpha(), 0);
    view->setAlpha(0.5);
    view->setHidden(true);
    view->setTag(3);
    view->setFrame(CGRectMake(1.5, -2, 10, 20.25));
    EXPECT_EQ(view->description(),
              "<UIView; frame = (1.5 -2; 10 20.25); hidden = YES; alpha = 0.5; tag = 3>");
}

// Autoresizing

struct LayoutCountingView : UIView {
    int layouts = 0;
    void layoutSubviews() override { ++layouts; }
};

TEST(UIViewAutoresizing, SizeChangeIsSharedAmongFlexibleParts) {
    // The child spans 10 | 30 | 60 across and 20 | 40 | 40 down in a 100 x 100 parent that
    // grows to 200 x 150.
    enum : unsigned {
        L = UIViewAutoresizingFlexibleLeftMargin,
        W = UIViewAutoresizingFlexibleWidth,
        R = UIViewAutoresizingFlexibleRightMargin,
        T = UIViewAutoresizingFlexibleTopMargin,
        H = UIViewAutoresizingFlexibleHeight,
        B = UIViewAutoresizingFlexibleBottomMargin,
    };
    struct Case {
        unsigned mask;
        CGRect frame;
    } cases[] = {
        {UIViewAutoresizingNone, CGRectMake(10, 20, 30, 40)},
        {W, CGRectMake(10, 20, 130, 40)},
        {L, CGRectMake(110, 20, 30, 40)},
        {R, CGRectMake(10, 20, 30, 40)},
        {L | R, CGRectMake(10 + 100.0 * 10 / 70, 20, 30, 40)},
        {L | W, CGRectMake(35, 20, 105, 40)},
        {W | R, CGRectMake(10, 20, 30 + 100.0 * 30 / 90, 40)},
        {L | W | R, CGRectMake(20, 20, 60, 40)},
        {H, CGRectMake(10, 20, 30, 90)},
        {T | H, CGRectMake(10, 20 + 50.0 / 3, 30, 40 + 100.0 / 3)},
        {T | B, CGRectMake(10, 20 + 50.0 * 20 / 60, 30, 40)},
        {T | H | B, CGRectMake(10, 30, 30, 60)},
        {W | H, CGRectMake(10, 20, 130, 90)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        const auto parent = viewWithFrame(0, 0, 100, 100);
        const auto child = viewWithFrame(10, 20, 30, 40);
        child->setAutoresizingMask(c.mask);
        parent->addSubview(child);
        parent->setFrame(CGRectMake(0, 0, 200, 150));
        expectRectNear(child->frame(), c.frame);
    }
}

TEST(UIViewAutoresizing, ZeroSizedFlexiblePartsShareEquallyAndShrinkingReverses) {
    const auto parent = viewWithFrame(0, 0, 100, 100);
    const auto pinned = viewWithFrame(0, 0, 0, 100);
    pinned->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                UIViewAutoresizingFlexibleWidth);
    const auto floating = viewWithFrame(10, 10, 30, 30);
    floating->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                  UIViewAutoresizingFlexibleRightMargin);
    parent->addSubview(pinned);
    parent->addSubview(floating);

    parent->setBounds(CGRectMake(0, 0, 200, 100));
    expectRectNear(pinned->frame(), CGRectMake(50, 0, 50, 100));
    parent->setBounds(CGRectMake(0, 0, 100, 100));
    expectRectNear(floating->frame(), CGRectMake(10, 10, 30, 30));
}

TEST(UIViewAutoresizing, ResizingCascadesMarksLayoutAndCanBeTurnedOff) {
    const auto parent = std::make_shared<LayoutCountingView>();
    parent->setFrame(CGRectMake(0, 0, 100, 100));
    const auto child = std::make_shared<LayoutCountingView>();
    child->setFrame(CGRectMake(0, 0, 100, 100));
    child->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    const auto grandchild = viewWithFrame(0, 0, 50, 50);
    grandchild->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    parent->addSubview(child);
    child->addSubview(grandchild);
    parent->layoutIfNeeded();
    ASSERT_EQ(parent->layouts, 1);
    ASSERT_EQ(child->layouts, 1);

    parent->setFrame(CGRectMake(0, 0, 200, 100));
    EXPECT_EQ(grandchild->frame(), CGRectMake(0, 0, 150, 50));
    parent->layoutIfNeeded();
    EXPECT_EQ(parent->layouts, 2);
    EXPECT_EQ(child->layouts, 2);

    // Moving without resizing needs no layout.
    parent->setFrame(CGRectMake(30, 30, 200, 100));
    parent->layoutIfNeeded();
    EXPECT_EQ(parent->layouts, 2);

    child->setAutoresizesSubviews(false);
    parent->setFrame(CGRectMake(0, 0, 300, 100));
    EXPECT_EQ(child->frame(), CGRectMake(0, 0, 300, 100));
    EXPECT_EQ(grandchild->frame(), CGRectMake(0, 0, 150, 50));
    parent->layoutIfNeeded();
    EXPECT_EQ(child->layouts, 3);
}

struct FixedSizeView : UIView {
    CGSize sizeThatFits(const CGSize&) const override { return {40, 12}; }
};

TEST(UIViewLayout, SizeToFitKeepsTheTopLeftCorner) {
    const auto view = std::make_shared<FixedSizeView>();
    view->setFrame(CGRectMake(20, 100, 0, 0));
    view->sizeToFit();
    EXPECT_EQ(view->frame(), CGRectMake(20, 100, 40, 12));
}

// Coordinate conversion

// A 400 x 400 root holding two subtrees: `scrolled` has its bounds origin at (10, 20);
// `turned` is rotated a quarter turn about its centre (250, 100).
struct ConversionTree : ::testing::Test {
    std::shared_ptr<UIView> root = viewWithFrame(0, 0, 400, 400);
    std::shared_ptr<UIView> scrolled = viewWithFrame(100, 100, 100, 100);
    std::shared_ptr<UIView> inScrolled = viewWithFrame(10, 10, 20, 20);
    std::shared_ptr<UIView> turned = viewWithFrame(200, 0, 100, 200);
    std::shared_ptr<UIView> inTurned = viewWithFrame(0, 0, 10, 10);

    void SetUp() override {
        scrolled->setBounds(CGRectMake(10, 20, 100, 100));
        turned->setTransform(CGAffineTransformMakeRotation(kQuarterTurn));
        root->addSubview(scrolled);
        scrolled->addSubview(inScrolled);
        root->addSubview(turned);
        turned->addSubview(inTurned);
    }
};

TEST_F(ConversionTree, PointsMapThroughBoundsOriginsAndTransforms) {
    struct Case {
        const char* name;
        UIView* from;
        CGPoint point;
        UIView* to;
        CGPoint expected;
    } cases[] = {
        {"scrolled child to root", inScrolled.get(), {0, 0}, root.get(), {100, 90}},
        {"scrolled child to window", inScrolled.get(), {0, 0}, nullptr, {100, 90}},
        {"rotated child to root", inTurned.get(), {0, 0}, root.get(), {350, 50}},
        {"across subtrees", inScrolled.get(), {0, 0}, inTurned.get(), {40, 250}},
        {"to itself", inTurned.get(), {3, 4}, inTurned.get(), {3, 4}},
        {"to a descendant", root.get(), {100, 90}, inScrolled.get(), {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectPointNear(c.from->convertPointToView(c.point, c.to), c.expected);
        expectPointNear(c.from->convertPointFromView(c.expected, c.to), c.point);
    }
}

TEST_F(ConversionTree, RectsBecomeBoundingBoxesAndBoundsConvertToTheFrame) {
    expectRectNear(inTurned->convertRectToView(CGRectMake(0, 0, 10, 10), root.get()),
                   CGRectMake(340, 50, 10, 10));
    expectRectNear(root->convertRectFromView(CGRectMake(0, 0, 10, 10), inTurned.get()),
                   CGRectMake(340, 50, 10, 10));
    expectRectNear(inTurned->convertRectFromView(CGRectMake(340, 50, 10, 10), nullptr),
                   CGRectMake(0, 0, 10, 10));
    for (const auto& view : {scrolled, turned, inScrolled}) {
        expectRectNear(view->convertRectToView(view->bounds(), view->superview().get()),
                       view->frame());
    }
}

TEST_F(ConversionTree, SeparateTreesMeetAtWindowCoordinates) {
    const auto otherRoot = viewWithFrame(0, 0, 400, 400);
    const auto other = viewWithFrame(5, 5, 10, 10);
    otherRoot->addSubview(other);
    expectPointNear(inScrolled->convertPointToView({0, 0}, other.get()), {95, 85});
    expectPointNear(other->convertPointFromView({0, 0}, inScrolled.get()), {95, 85});
}

// Hit testing

struct HitTestTree : ::testing::Test {
    std::shared_ptr<UIView> root = viewWithFrame(0, 0, 100, 100);
    std::shared_ptr<UIView> back = viewWithFrame(0, 0, 50, 50);
    std::shared_ptr<UIView> front = viewWithFrame(25, 25, 50, 50);
    std::shared_ptr<UIView> overhanging = viewWithFrame(90, 0, 50, 20);
    std::shared_ptr<UIView> inFront = viewWithFrame(0, 0, 10, 10);

    void SetUp() override {
        root->addSubview(back);
        root->addSubview(front);
        root->addSubview(overhanging);
        // Scrolled so that its child sits at (45, 45) in the root.
        front->setBounds(CGRectMake(-20, -20, 50, 50));
        front->addSubview(inFront);
    }
    UIView* hit(double x, double y) { return root->hitTestWithEvent({x, y}, nullptr).get(); }
};

TEST_F(HitTestTree, FrontMostDeepestViewContainingThePointWins) {
    struct Case {
        CGPoint point;
        UIView* expected;
    } cases[] = {
        {{10, 10}, back.get()},
        {{30, 30}, front.get()},
        {{47, 47}, inFront.get()},
        {{95, 10}, overhanging.get()},
        {{80, 80}, root.get()},
        // The overhanging part lies outside its parent, so nothing there is hit.
        {{120, 10}, nullptr},
        {{-1, 50}, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hit(c.point.x, c.point.y), c.expected) << NSStringFromCGPoint(c.point);
    }
}

TEST_F(HitTestTree, HiddenTransparentAndNonInteractiveViewsAreSkippedWithTheirSubtrees) {
    struct Case {
        const char* name;
        void (*change)(UIView&);
        bool frontStillHit;
    } cases[] = {
        {"hidden", [](UIView& v) { v.setHidden(true); }, false},
        {"nearly transparent", [](UIView& v) { v.setAlpha(0.009); }, false},
        {"faint but visible", [](UIView& v) { v.setAlpha(0.01); }, true},
        {"not interactive", [](UIView& v) { v.setUserInteractionEnabled(false); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.change(*front);
        EXPECT_EQ(hit(30, 30), c.frontStillHit ? front.get() : back.get());
        EXPECT_EQ(hit(47, 47), c.frontStillHit ? inFront.get() : back.get());
        front->setHidden(false);
        front->setAlpha(1);
        front->setUserInteractionEnabled(true);
    }
    root->setHidden(true);
    EXPECT_EQ(hit(10, 10), nullptr);
}

// The tree

// Records every tree hook into a shared log as "name.hook(argument)".
template <class Base> struct Recording : Base {
    std::string name;
    std::vector<std::string>* log = nullptr;

    static std::shared_ptr<Recording> make(std::string name, std::vector<std::string>* log) {
        auto view = std::make_shared<Recording>();
        view->name = std::move(name);
        view->log = log;
        return view;
    }
    static std::string nameOf(const UIView* view) {
        if (const auto* recording = dynamic_cast<const Recording<UIView>*>(view)) {
            return recording->name;
        }
        if (const auto* recording = dynamic_cast<const Recording<UIWindow>*>(view)) {
            return recording->name;
        }
        return view ? "?" : "nil";
    }
    void record(const std::string& hook, const std::string& argument = "") {
        log->push_back(name + "." + hook + "(" + argument + ")");
    }
    void willMoveToSuperview(UIView* superview) override {
        record("willMoveToSuperview", nameOf(superview));
    }
    void didMoveToSuperview() override { record("didMoveToSuperview"); }
    void willMoveToWindow(UIWindow* window) override { record("willMoveToWindow", nameOf(window)); }
    void didMoveToWindow() override { record("didMoveToWindow"); }
    void didAddSubview(UIView* subview) override { record("didAddSubview", nameOf(subview)); }
    void willRemoveSubview(UIView* subview) override {
        record("willRemoveSubview", nameOf(subview));
    }
};

using Log = std::vector<std::string>;

TEST(UIViewTree, HooksRunInOrderAndWindowHooksOnlyWhenTheWindowChanges) {
    Log log;
    const auto window = Recording<UIWindow>::make("W", &log);
    const auto panel = Recording<UIView>::make("P", &log);
    const auto container = Recording<UIView>::make("C", &log);
    const auto child = Recording<UIView>::make("X", &log);
    const auto grandchild = Recording<UIView>::make("Y", &log);
    window->addSubview(panel);
    child->addSubview(grandchild);
    log.clear();

    container->addSubview(child);
    EXPECT_EQ(log,
              (Log{"X.willMoveToSuperview(C)", "X.didMoveToSuperview()", "C.didAddSubview(X)"}));
    EXPECT_EQ(grandchild->window(), nullptr);

    log.clear();
    window->addSubview(container);
    EXPECT_EQ(log,
              (Log{"C.willMoveToSuperview(W)", "C.willMoveToWindow(W)", "X.willMoveToWindow(W)",
                   "Y.willMoveToWindow(W)", "C.didMoveToWindow()", "X.didMoveToWindow()",
                   "Y.didMoveToWindow()", "C.didMoveToSuperview()", "W.didAddSubview(C)"}));
    EXPECT_EQ(grandchild->window(), window);
    EXPECT_EQ(window->window(), window);

    // Moving within the same window: the old parent lets go first, no window hooks.
    log.clear();
    panel->addSubview(child);
    EXPECT_EQ(log, (Log{"C.willRemoveSubview(X)", "X.willMoveToSuperview(P)",
                        "X.didMoveToSuperview()", "P.didAddSubview(X)"}));
    EXPECT_TRUE(container->subviews().empty());
    EXPECT_EQ(child->superview(), panel);

    // Reordering is not a move.
    const auto sibling = viewWithFrame(0, 0, 1, 1);
    panel->addSubview(sibling);
    log.clear();
    panel->bringSubviewToFront(child);
    panel->addSubview(child);
    EXPECT_TRUE(log.empty());

    child->removeFromSuperview();
    EXPECT_EQ(log, (Log{"P.willRemoveSubview(X)", "X.willMoveToSuperview(nil)",
                        "X.willMoveToWindow(nil)", "Y.willMoveToWindow(nil)", "X.didMoveToWindow()",
                        "Y.didMoveToWindow()", "X.didMoveToSuperview()"}));
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(grandchild->window(), nullptr);

    log.clear();
    child->removeFromSuperview();
    EXPECT_TRUE(log.empty());
}

TEST(UIViewTree, AViewIsNeverAddedToItselfOrItsDescendants) {
    Log log;
    const auto parent = Recording<UIView>::make("P", &log);
    const auto child = Recording<UIView>::make("X", &log);
    const auto grandchild = Recording<UIView>::make("Y", &log);
    parent->addSubview(child);
    child->addSubview(grandchild);
    log.clear();

    parent->addSubview(parent);
    grandchild->addSubview(parent);
    child->insertSubviewAtIndex(parent, 0);
    grandchild->insertSubviewAboveSubview(child, nullptr);
    parent->addSubview(nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(parent->superview(), nullptr);
    EXPECT_EQ(parent->subviews().size(), 1u);
    EXPECT_TRUE(grandchild->subviews().empty());
    EXPECT_TRUE(grandchild->isDescendantOfView(parent.get()));
    EXPECT_TRUE(grandchild->isDescendantOfView(grandchild.get()));
    EXPECT_FALSE(parent->isDescendantOfView(grandchild.get()));
    EXPECT_FALSE(parent->isDescendantOfView(nullptr));
}

TEST(UIViewTree, OrderingOperations) {
    const auto parent = viewWithFrame(0, 0, 10, 10);
    const auto a = viewWithFrame(0, 0, 1, 1);
    const auto b = viewWithFrame(0, 0, 1, 1);
    const auto c = viewWithFrame(0, 0, 1, 1);
    const auto d = viewWithFrame(0, 0, 1, 1);
    using Views = std::vector<std::shared_ptr<UIView>>;

    parent->insertSubviewAtIndex(b, 99);
    parent->insertSubviewAtIndex(a, -5);
    parent->insertSubviewAboveSubview(c, b);
    EXPECT_EQ(parent->subviews(), (Views{a, b, c}));
    parent->insertSubviewBelowSubview(d, a);
    EXPECT_EQ(parent->subviews(), (Views{d, a, b, c}));
    // Moving an existing subview places it next to the sibling as it stands afterwards.
    parent->insertSubviewAboveSubview(d, b);
    EXPECT_EQ(parent->subviews(), (Views{a, b, d, c}));
    parent->insertSubviewBelowSubview(c, a);
    EXPECT_EQ(parent->subviews(), (Views{c, a, b, d}));
    parent->insertSubviewAtIndex(c, 2);
    EXPECT_EQ(parent->subviews(), (Views{a, b, c, d}));
    parent->bringSubviewToFront(a);
    EXPECT_EQ(parent->subviews(), (Views{b, c, d, a}));
    parent->sendSubviewToBack(d);
    EXPECT_EQ(parent->subviews(), (Views{d, b, c, a}));
    parent->exchangeSubviewAtIndexWithSubviewAtIndex(0, 3);
    EXPECT_EQ(parent->subviews(), (Views{a, b, c, d}));
    parent->exchangeSubviewAtIndexWithSubviewAtIndex(0, 4);
    parent->exchangeSubviewAtIndexWithSubviewAtIndex(-1, 0);
    EXPECT_EQ(parent->subviews(), (Views{a, b, c, d}));

    // Views that are not subviews are left alone, or added on top as a sibling stand-in.
    const auto stranger = viewWithFrame(0, 0, 1, 1);
    parent->bringSubviewToFront(stranger);
    parent->sendSubviewToBack(stranger);
    EXPECT_EQ(stranger->superview(), nullptr);
    const auto extra = viewWithFrame(0, 0, 1, 1);
    parent->insertSubviewBelowSubview(extra, stranger);
    EXPECT_EQ(parent->subviews(), (Views{a, b, c, d, extra}));
}

TEST(UIViewTree, ReparentingAndRemovalWhileIterating) {
    const auto first = viewWithFrame(0, 0, 10, 10);
    const auto second = viewWithFrame(0, 0, 10, 10);
    std::weak_ptr<UIView> watched;
    {
        auto child = viewWithFrame(0, 0, 1, 1);
        watched = child;
        first->addSubview(child);
        first->addSubview(viewWithFrame(0, 0, 1, 1));
        first->addSubview(viewWithFrame(0, 0, 1, 1));
        second->addSubview(child);
    }
    EXPECT_EQ(first->subviews().size(), 2u);
    ASSERT_EQ(second->subviews().size(), 1u);
    EXPECT_EQ(second->subviews()[0], watched.lock());
    EXPECT_EQ(watched.lock()->superview(), second);

    for (const auto& view : first->subviews()) {
        view->removeFromSuperview();
    }
    EXPECT_TRUE(first->subviews().empty());
    // The superview owns its subviews: removing the last reference frees the view.
    second->subviews()[0]->removeFromSuperview();
    EXPECT_TRUE(watched.expired());
}

TEST(UIViewTree, TagSearchIsDepthFirstFromTheReceiver) {
    const auto root = viewWithFrame(0, 0, 10, 10);
    const auto a = viewWithFrame(0, 0, 1, 1);
    const auto deep = viewWithFrame(0, 0, 1, 1);
    const auto b = viewWithFrame(0, 0, 1, 1);
    a->setTag(1);
    deep->setTag(2);
    b->setTag(2);
    root->addSubview(a);
    a->addSubview(deep);
    root->addSubview(b);
    EXPECT_EQ(root->viewWithTag(2), deep);
    EXPECT_EQ(root->viewWithTag(0), root);
    EXPECT_EQ(a->viewWithTag(1), a);
    EXPECT_EQ(root->viewWithTag(7), nullptr);
}

TEST(UIViewTree, NextResponderIsTheControllerElseTheSuperview) {
    const auto parent = viewWithFrame(0, 0, 10, 10);
    const auto child = viewWithFrame(0, 0, 1, 1);
    parent->addSubview(child);
    EXPECT_EQ(child->nextResponder(), parent);
    EXPECT_EQ(parent->nextResponder(), nullptr);
    {
        const auto controller = std::make_shared<UIResponder>();
        child->setViewController(controller);
        EXPECT_EQ(child->nextResponder(), controller);
    }
    EXPECT_EQ(child->nextResponder(), parent);
}

TEST(UIViewLayout, LayoutIfNeededRunsPendingLayoutsOnceThroughTheTree) {
    const auto parent = std::make_shared<LayoutCountingView>();
    const auto child = std::make_shared<LayoutCountingView>();
    parent->addSubview(child);
    parent->layoutIfNeeded();
    EXPECT_EQ(parent->layouts, 1);
    EXPECT_EQ(child->layouts, 1);
    child->setNeedsLayout();
    parent->layoutIfNeeded();
    parent->layoutIfNeeded();
    EXPECT_EQ(parent->layouts, 1);
    EXPECT_EQ(child->layouts, 2);
}

TEST(UIViewThread, UseOffTheMainThreadStopsDebugBuilds) {
#ifdef NDEBUG
    GTEST_SKIP() << "release builds do not check";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto view = UIView::initWithFrame(CGRectMake(0, 0, 10, 10));
    auto child = UIView::initWithFrame(CGRectMake(0, 0, 5, 5));
    const struct {
        const char* call;
        std::function<void()> use;
    } cases[] = {
        {"setAlpha", [&] { view->setAlpha(0.5); }},
        {"insertSubviewAtIndex", [&] { view->addSubview(child); }},
        {"layoutIfNeeded", [&] { view->layoutIfNeeded(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_DEATH(std::thread(c.use).join(),
                     std::string(c.call) + " called off the main thread");
    }
    view->setAlpha(0.5); // the main thread may
    EXPECT_EQ(view->alpha(), 0.5);
}

} // namespace
