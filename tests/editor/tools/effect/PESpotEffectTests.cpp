#include "editor/tools/effect/PESpotEffect.h"

#include "editor/tools/effect/PEEffectDelegate.h"
#include "editor/tools/effect/PESpotCircle.h"
#include "harness/TouchInjector.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Recorder : public PEEffectDelegate {
public:
    void effectParameterDidChange(PEEffectBase&) override { ++changes; }
    int changes = 0;
};

// The spot effect over a 320 x 240 picture at (0, 20) of a picture area at (0, 64) of a
// 320 x 568 window: the picture spans window rows 84 to 324.
class PESpotEffectTest : public ::testing::Test {
protected:
    PESpotEffectTest() {
        UIScreen::configureMainScreen(CGSizeMake(320, 568), 2);
        window->addSubview(area);
        window->makeKeyAndVisible();
        effect = PESpotEffect::alloc();
        effect->initWithSuperViewImageViewFrameToolInfo(area, CGRectMake(0, 20, 320, 240), nullptr);
        effect->setDelegate(recorder);
        environment.runUntilIdle();
    }
    static CGPoint inPicture(double x, double y) { return CGPointMake(x, 84 + y); }

    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    std::shared_ptr<UIView> area = UIView::initWithFrame(CGRectMake(0, 64, 320, 424));
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    std::shared_ptr<PESpotEffect> effect;
};

TEST_F(PESpotEffectTest, TheRingStartsCentredAtOnePointTwoTimesTheSpot) {
    const auto container = effect->containerView();
    EXPECT_EQ(container->superview(), area);
    EXPECT_TRUE(CGRectEqualToRect(container->frame(), CGRectMake(0, 20, 320, 240)));
    EXPECT_EQ(container->gestureRecognizers().size(), 3u);
    const auto ring = effect->circleView();
    EXPECT_EQ(ring->superview(), container);
    // 240 x (0.5 + 0.1) x 1.2.
    EXPECT_FLOAT_EQ(ring->frame().size.width, 172.8f);
    EXPECT_FLOAT_EQ(ring->frame().size.height, 172.8f);
    EXPECT_TRUE(CGPointEqualToPoint(ring->center(), CGPointMake(160, 120)));

    effect->cleanup();
    EXPECT_EQ(container->superview(), nullptr);
}

TEST_F(PESpotEffectTest, ATapMovesTheSpotAndAsksForOnePreview) {
    ASSERT_TRUE(TouchInjector::tapAt(inPicture(80, 60)));
    EXPECT_DOUBLE_EQ(effect->X(), 0.25);
    EXPECT_DOUBLE_EQ(effect->Y(), 0.25);
    EXPECT_TRUE(CGPointEqualToPoint(effect->circleView()->center(), CGPointMake(80, 60)));
    EXPECT_EQ(recorder->changes, 1);
}

TEST_F(PESpotEffectTest, ADragPinsTheSpotToTheEdgeAndAsksOnlyWhenReleased) {
    bool ended = false;
    ASSERT_TRUE(TouchInjector::performAsync(
        TouchGesture::drag(inPicture(160, 120), inPicture(300, 400), 0.5), [&] { ended = true; }));
    environment.fastForwardMainLoopBy(0.25);
    EXPECT_FALSE(ended);
    EXPECT_GT(effect->X(), 0.5);
    EXPECT_EQ(recorder->changes, 0);
    environment.fastForwardMainLoopBy(0.5);
    ASSERT_TRUE(ended);
    EXPECT_NEAR(effect->X(), 300.0 / 320, 1e-9);
    EXPECT_EQ(effect->Y(), 1);
    EXPECT_EQ(recorder->changes, 1);
}

TEST_F(PESpotEffectTest, APinchSizesTheSpotWithinItsBounds) {
    const struct {
        double from, to;
        double size;
        float ringDiameter;
    } cases[] = {
        // As far in as it goes: 0.12 of the shorter side; as far out: 1.32.
        {100, 10, 0, 28.8f},
        {10, 400, 1, 316.8f},
        // Halving from 0.5: (0.6 x 0.5) - 0.1.
        {200, 100, 0.2, 86.4f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        // Each pinch starts from the middle size, on a new effect.
        const int before = recorder->changes;
        ASSERT_TRUE(TouchInjector::pinch(inPicture(160, 120), c.from, c.to, 0.3));
        EXPECT_NEAR(effect->R(), c.size, 1e-6);
        EXPECT_FLOAT_EQ(effect->circleView()->frame().size.width, c.ringDiameter);
        EXPECT_EQ(recorder->changes, before + 1);
        effect->cleanup();
        effect = PESpotEffect::alloc();
        effect->initWithSuperViewImageViewFrameToolInfo(area, CGRectMake(0, 20, 320, 240), nullptr);
        effect->setDelegate(recorder);
    }
}

TEST_F(PESpotEffectTest, TheRingFadesASecondAfterTheLastChange) {
    const auto ring = effect->circleView();
    environment.fastForwardBy(2);
    EXPECT_EQ(ring->alpha(), 0);
    UIViewAnimation::clearRecords();

    effect->drawCircleView();
    EXPECT_EQ(ring->alpha(), 1);
    environment.fastForwardBy(0.6);
    effect->drawCircleView();
    environment.fastForwardBy(0.6);
    // The first change's fade was dropped; the second's is still waiting.
    EXPECT_EQ(ring->alpha(), 1);
    EXPECT_TRUE(UIViewAnimation::records().empty());
    environment.fastForwardBy(0.5);
    EXPECT_EQ(ring->alpha(), 0);
    ASSERT_EQ(UIViewAnimation::records().size(), 1u);
    EXPECT_EQ(UIViewAnimation::records()[0].duration, 0.2);
    EXPECT_EQ(UIViewAnimation::records()[0].options, UIViewAnimationOptionAllowUserInteraction);
}

TEST_F(PESpotEffectTest, TheRenderDarkensAwayFromTheSpot) {
    // 60 x 40 pixels of grey at scale 2 (30 x 20 points). Size 0.5: the vignette's radius
    // is 0.3 of the shorter side (12 pixels): untouched within 6, black beyond 18.
    const auto grey = UIImage::imageWithCGImageScaleOrientation(
        makeImage(60, 40, CGImagePixelFormat::ARGB32Premultiplied,
                  [](size_t, size_t) { return 0xff808080u; }),
        2, UIImageOrientation::Up);
    const struct {
        const char* where;
        CGPoint tap;
        CGPoint untouched, black;
    } cases[] = {
        {"centre", inPicture(160, 120), CGPointMake(30, 20), CGPointMake(2, 2)},
        // The top left quarter: the picture's top, not the engine's (y up) bottom.
        {"top left", inPicture(80, 60), CGPointMake(15, 10), CGPointMake(50, 35)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        ASSERT_TRUE(TouchInjector::tapAt(c.tap));
        const auto output = effect->applyEffect(grey);
        ASSERT_TRUE(output);
        EXPECT_EQ(output->scale(), 1);
        EXPECT_EQ(output->cgImage()->width(), 60u);
        EXPECT_EQ(output->cgImage()->height(), 40u);
        const CGImage& pixels = *output->cgImage();
        EXPECT_EQ(pixels.pixelAt(c.untouched.x, c.untouched.y), 0xff808080u);
        EXPECT_EQ(pixels.pixelAt(c.black.x, c.black.y), 0xff000000u);
        // Darker step by step on the way out.
        uint32_t last = 0xff;
        for (double d = 0; d <= 20; d += 4) {
            const uint32_t level = pixels.pixelAt(c.untouched.x + d, c.untouched.y) & 0xff;
            EXPECT_LE(level, last) << d;
            last = level;
        }
    }
}

} // namespace
