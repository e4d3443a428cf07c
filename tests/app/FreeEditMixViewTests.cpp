#include "app/FreeEditMixView.h"
#include "harness/TouchGesture.h"
#include "harness/TouchInjector.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

class FreeEditMixViewTest : public testing::Test {
protected:
    FreeEditMixViewTest() {
        window->makeKeyAndVisible();
        window->addSubview(canvas);
        canvas->setUserInteractionEnabled(true);
    }

    std::shared_ptr<FreeEditMixView> addCard(CGRect frame) {
        auto card = FreeEditMixView::initWithFrame(frame);
        card->showImageView()->setImage(UIImage::imageWithCGImage(makeImage(
            size_t(frame.size.width), size_t(frame.size.height),
            CGImagePixelFormat::ARGB32Premultiplied, [](size_t, size_t) { return 0xff3080c0u; })));
        canvas->addSubview(card);
        return card;
    }
    // The middle of the card's photo, in window coordinates.
    CGPoint photoCentre(const FreeEditMixView& card) const {
        const CGRect bounds = card.showImageView()->bounds();
        return card.showImageView()->convertPointToView(
            CGPointMake(CGRectGetMidX(bounds), CGRectGetMidY(bounds)), nullptr);
    }
    static double turn(const FreeEditMixView& card) {
        const CGAffineTransform t = card.showImageView()->transform();
        return std::atan2(t.b, t.a);
    }
    // Lets a tap that just ended stop counting towards the next one.
    void pause() { environment.fastForwardBy(1); }

    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    // The canvas, away from the window's corner so that conversions matter.
    std::shared_ptr<UIView> canvas = UIView::initWithFrame(CGRectMake(10, 74, 355, 543));
};

TEST_F(FreeEditMixViewTest, ACardIsItsPhotoWithAWhiteEdgeAndAShadow) {
    auto card = addCard(CGRectMake(30, 30, 200, 100));
    EXPECT_EQ(card->showImageView()->frame(), CGRectMake(0, 0, 200, 100));
    EXPECT_FALSE(card->backgroundColor()) << "the card itself is transparent";
    const auto layer = card->showImageView()->layer();
    EXPECT_EQ(layer->borderWidth(), 1.0);
    EXPECT_TRUE(CGColorEqualToColor(layer->borderColor(), CGColorMake(1, 1, 1, 1)));
    EXPECT_EQ(layer->shadowOpacity(), 1.0f);
    EXPECT_EQ(layer->shadowOffset(), CGSizeMake(-1, -1));
}

TEST_F(FreeEditMixViewTest, TwoFingersScaleAndTurnThePhotoWithinItsBounds) {
    struct Case {
        const char* name;
        TouchGesture (*gesture)(CGPoint centre);
        float scale;
        double turn;
    };
    const Case cases[] = {
        {"spread from 100 to 150 points",
         [](CGPoint c) { return TouchGesture::pinch(c, 100, 150, 0.3); }, 1.5f, 0},
        {"turned by 0.1 rad", [](CGPoint c) { return TouchGesture::rotate(c, 50, 0.1, 0.3); }, 1.0f,
         0.1},
        {"turned back by 0.3 rad", [](CGPoint c) { return TouchGesture::rotate(c, 50, -0.3, 0.3); },
         1.0f, -0.3},
        // Whole points would measure fingers 0.4 apart as 0 and scale the photo to
        // nothing, for good: it stops at its smallest instead.
        {"closed to 0.4 points apart",
         [](CGPoint c) { return TouchGesture::pinch(c, 100, 0.4, 0.3); },
         FreeEditMixView::kMinimumScale, 0},
        {"spread far past the largest size",
         [](CGPoint c) { return TouchGesture::pinch(c, 20, 300, 0.3); },
         FreeEditMixView::kMaximumScale, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        for (const auto& old : canvas->subviews()) {
            old->removeFromSuperview();
        }
        auto card = addCard(CGRectMake(30, 30, 200, 120));
        const CGPoint centre = card->center();
        ASSERT_TRUE(TouchInjector::perform(test.gesture(photoCentre(*card))));
        pause();
        EXPECT_NEAR(card->photoScale(), test.scale, 1e-4);
        EXPECT_NEAR(turn(*card), test.turn, 1e-4);
        EXPECT_EQ(card->center(), centre) << "two fingers do not move the card";
        // The card's bounds follow the photo, so the whole photo takes touches.
        EXPECT_EQ(card->bounds(), card->showImageView()->frame());
        EXPECT_EQ(card->showImageView()->layer()->shadowOffset(), CGSizeMake(0, -1));
    }
}

TEST_F(FreeEditMixViewTest, ADoubleTapDoublesThePhotoUpToItsLargestSize) {
    auto card = addCard(CGRectMake(30, 30, 100, 60));
    ASSERT_TRUE(TouchInjector::doubleTapAt(photoCentre(*card)));
    EXPECT_EQ(card->showImageView()->transform(), CGAffineTransformMakeScale(2, 2));
    EXPECT_EQ(card->bounds().size, CGSizeMake(200, 120));
    for (int tap = 0; tap < 4; ++tap) {
        pause();
        ASSERT_TRUE(TouchInjector::doubleTapAt(photoCentre(*card)));
    }
    EXPECT_EQ(card->photoScale(), FreeEditMixView::kMaximumScale);
}

TEST_F(FreeEditMixViewTest, OneFingerMovesTheCardAndATapBringsItToTheFront) {
    auto lower = addCard(CGRectMake(30, 30, 200, 120));
    auto upper = addCard(CGRectMake(30, 100, 200, 120));
    // Where only the lower card shows.
    const CGPoint onLower = lower->convertPointToView(CGPointMake(100, 30), nullptr);
    ASSERT_TRUE(TouchInjector::tapAt(onLower));
    EXPECT_EQ(canvas->subviews().back(), lower);
    pause();

    const CGPoint centre = lower->center();
    ASSERT_TRUE(TouchInjector::drag(onLower, CGPointMake(onLower.x + 40, onLower.y + 25), 0.3));
    EXPECT_NEAR(lower->center().x, centre.x + 40, 1e-9);
    EXPECT_NEAR(lower->center().y, centre.y + 25, 1e-9);
    EXPECT_EQ(upper->frame(), CGRectMake(30, 100, 200, 120));
}

TEST_F(FreeEditMixViewTest, TouchesOnACardsEmptyCornersReachWhatLiesBelow) {
    auto lower = addCard(CGRectMake(0, 0, 300, 300));
    auto upper = addCard(CGRectMake(100, 100, 100, 100));
    // Turned by 45 degrees, the upper photo is a diamond; its card grows to the diamond's
    // box, whose corners are empty and lie over the lower photo.
    upper->showImageView()->setTransform(CGAffineTransformMakeRotation(std::numbers::pi / 4));
    upper->showOverlayWithFrame(upper->showImageView()->frame());
    const CGPoint corner = canvas->convertPointToView(CGPointMake(83, 83), nullptr);
    ASSERT_TRUE(CGRectContainsPoint(upper->frame(), CGPointMake(83, 83)));
    EXPECT_EQ(window->hitTestWithEvent(corner, nullptr), lower->showImageView());

    const CGPoint lowerCentre = lower->center(), upperCentre = upper->center();
    ASSERT_TRUE(TouchInjector::drag(corner, CGPointMake(corner.x + 20, corner.y + 30), 0.3));
    EXPECT_EQ(upper->center(), upperCentre);
    EXPECT_NEAR(lower->center().x, lowerCentre.x + 20, 1e-9);
    EXPECT_NEAR(lower->center().y, lowerCentre.y + 30, 1e-9);
    pause();

    // On the canvas beside every card, a drag moves nothing.
    lower->removeFromSuperview();
    const CGPoint bare = canvas->convertPointToView(CGPointMake(20, 400), nullptr);
    ASSERT_TRUE(TouchInjector::drag(bare, CGPointMake(bare.x + 50, bare.y - 50), 0.3));
    EXPECT_EQ(upper->center(), upperCentre);
}
} // namespace
