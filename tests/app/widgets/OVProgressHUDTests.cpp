#include "app/RZCommonConfig.h"
#include "app/widgets/OVBarProgressView.h"
#include "app/widgets/OVProgressHUD+CZ.h"
#include "app/widgets/OVProgressHUD.h"
#include "app/widgets/OVRoundProgressView.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <thread>

namespace {
struct Counter : OVProgressHUDDelegate {
    int hidden = 0;
    void hudWasHidden(OVProgressHUD&) override { ++hidden; }
};

class OVProgressHUDTest : public ::testing::Test {
protected:
    void SetUp() override { window->setBackgroundColor(UIColor::whiteColor()); }

    std::shared_ptr<UIImage> render() {
        window->layoutIfNeeded();
        return ViewRenderer::snapshotWindow(*window, 1);
    }
    static uint32_t at(const std::shared_ptr<UIImage>& image, size_t x, size_t y) {
        return image->cgImage()->pixelAt(x, y);
    }
    static CGSize textSize(const std::string& text, double fontSize) {
        NSTextAttributes attributes;
        attributes.font = UIFont::boldSystemFontOfSize(fontSize);
        return NSStringDrawing::sizeWithAttributes(text, attributes);
    }

    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    TestHome home;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 200, 300));
};

TEST_F(OVProgressHUDTest, LayoutTable) {
    auto text = OVProgressHUD::showHUDAddedToAnimated(window, false);
    text->setMode(OVProgressHUDModeText);
    text->setLabelText("Saved");
    text->layoutIfNeeded();
    CGSize label = textSize("Saved", 16);
    EXPECT_DOUBLE_EQ(text->size().width, label.width + 40);
    EXPECT_DOUBLE_EQ(text->size().height, label.height + 40);

    text->setMinSize(CGSizeMake(150, 150));
    text->setNeedsLayout();
    text->layoutIfNeeded();
    EXPECT_EQ(text->size(), CGSizeMake(150, 150));

    // A square box takes the longer side when it fits: 100 x 60 becomes 100 x 100.
    auto square = OVProgressHUD::showHUDAddedToAnimated(window, false);
    square->setCustomView(UIView::initWithFrame(CGRectMake(0, 0, 60, 20)));
    square->setMode(OVProgressHUDModeCustomView);
    square->setSquare(true);
    square->layoutIfNeeded();
    EXPECT_EQ(square->size(), CGSizeMake(100, 100));
    // A 60 x 290 box cannot be 290 wide (more than the width less two margins, 160) nor
    // 290 high (more than 260): it stays as it is.
    square->setCustomView(UIView::initWithFrame(CGRectMake(0, 0, 20, 250)));
    square->setNeedsLayout();
    square->layoutIfNeeded();
    EXPECT_EQ(square->size(), CGSizeMake(60, 290));

    // Details wrap at the maximum width, the view's width less four margins, 4 points
    // below the label.
    auto details = OVProgressHUD::showHUDAddedToAnimated(window, false);
    details->setMode(OVProgressHUDModeText);
    details->setLabelText("Saved");
    const std::string longText = "a long explanation that cannot fit on one line of the box";
    details->setDetailsLabelText(longText);
    details->layoutIfNeeded();
    NSTextAttributes detailsFont;
    detailsFont.font = UIFont::boldSystemFontOfSize(12);
    CGSize wrapped =
        NSStringDrawing::boundingRectWithSizeOptionsAttributes(
            longText, CGSizeMake(120, 1000), NSStringDrawingUsesLineFragmentOrigin, detailsFont)
            .size;
    EXPECT_GT(wrapped.height, textSize("a", 12).height * 1.5); // really wrapped
    EXPECT_DOUBLE_EQ(details->size().height, label.height + wrapped.height + 4 + 40);
    EXPECT_DOUBLE_EQ(details->size().width, std::max(label.width, wrapped.width) + 40);
}

TEST_F(OVProgressHUDTest, BoxAndDimDrawing) {
    auto hud = OVProgressHUD::showHUDAddedToAnimated(window, false);
    hud->setMode(OVProgressHUDModeText);
    hud->setLabelText("Hi");
    hud->setMinSize(CGSizeMake(100, 60));
    auto shot = render();
    // The box: 100 x 60 in the middle, black at 0.8 over white, corners rounded.
    uint32_t inside = at(shot, 100, 125);
    EXPECT_NEAR(inside & 0xff, 51, 2);
    EXPECT_EQ(at(shot, 100, 95), 0xffffffffu);
    EXPECT_EQ(at(shot, 51, 121), 0xffffffffu); // the rounded corner
    EXPECT_NE(at(shot, 60, 150), 0xffffffffu);
    // The label: white ink in the middle of the dark box.
    int ink = 0;
    for (size_t x = 80; x < 120; ++x) {
        for (size_t y = 140; y < 160; ++y) {
            ink += (at(shot, x, y) & 0xff) > 200 ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 10);

    hud->setDimBackground(true);
    shot = render();
    // Black from alpha 0 at the centre to 0.75 at the radius min(W, H) = 200.
    EXPECT_NEAR(static_cast<int>(at(shot, 0, 0) & 0xff), 83, 3);
    EXPECT_NEAR(static_cast<int>(at(shot, 0, 150) & 0xff), 159, 3);
    // Beyond the radius the last colour goes on.
    auto narrow = UIWindow::initWithFrame(CGRectMake(0, 0, 100, 300));
    narrow->setBackgroundColor(UIColor::whiteColor());
    auto dim = OVProgressHUD::showHUDAddedToAnimated(narrow, false);
    dim->setMode(OVProgressHUDModeText);
    dim->setDimBackground(true);
    narrow->layoutIfNeeded();
    auto narrowShot = ViewRenderer::snapshotWindow(*narrow, 1);
    EXPECT_NEAR(static_cast<int>(at(narrowShot, 0, 0) & 0xff), 64, 2);
}

TEST_F(OVProgressHUDTest, ProgressIndicatorsDrawTheirShare) {
    auto paint = [](const std::shared_ptr<UIView>& view) {
        UIGraphicsBeginImageContextWithOptions(view->bounds().size, false, 1);
        ViewRenderer::renderInContext(*view, UIGraphicsGetCurrentContext());
        auto image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return image;
    };
    auto pie = OVRoundProgressView::init();
    pie->setProgress(0.25f);
    auto shot = paint(pie);
    EXPECT_EQ(at(shot, 25, 12) >> 24, 0xffu); // the first quarter, top right, is full
    EXPECT_LT(at(shot, 12, 25) >> 24, 0x40u); // the rest is the faint background

    auto ring = OVRoundProgressView::init();
    ring->setAnnular(true);
    ring->setProgress(0.5f);
    shot = paint(ring);
    EXPECT_GE(at(shot, 36, 18) >> 24, 0xe0u); // right side of the ring: done
    EXPECT_LT(at(shot, 0, 18) >> 24, 0x40u);  // left side: not yet
    EXPECT_EQ(at(shot, 18, 18) >> 24, 0u);    // the middle stays empty

    auto bar = OVBarProgressView::init();
    bar->setProgress(0.5f);
    shot = paint(bar);
    EXPECT_EQ(at(shot, 30, 10) >> 24, 0xffu);
    EXPECT_EQ(at(shot, 90, 10) >> 24, 0u);
    // Near the ends the fill follows the round caps.
    bar->setProgress(0.98f);
    shot = paint(bar);
    EXPECT_EQ(at(shot, 110, 10) >> 24, 0xffu);
    bar->setProgress(0.04f);
    shot = paint(bar);
    EXPECT_GT(at(shot, 5, 10) >> 24, 0x80u);
    EXPECT_EQ(at(shot, 30, 10) >> 24, 0u);
}

TEST_F(OVProgressHUDTest, GraceTimeShowsOnlyWhileTheTaskRuns) {
    auto slow = OVProgressHUD::initWithView(window);
    window->addSubview(slow);
    slow->setGraceTime(0.5f);
    slow->showAnimatedWhileExecutingBlock(false, [] {});
    environment.fastForwardMainLoopBy(0.49);
    EXPECT_EQ(slow->alpha(), 0.0);
    environment.fastForwardMainLoopBy(0.01);
    EXPECT_EQ(slow->alpha(), 1.0); // the task has not run yet: the overlay shows
    environment.runUntilIdle();
    EXPECT_EQ(slow->alpha(), 0.0);

    // A task that ends within the grace time never shows, and still cleans up.
    auto quick = OVProgressHUD::initWithView(window);
    auto delegate = std::make_shared<Counter>();
    quick->setDelegate(delegate);
    quick->setRemoveFromSuperViewOnHide(true);
    window->addSubview(quick);
    quick->setGraceTime(0.5f);
    int completions = 0;
    quick->showAnimatedWhileExecutingBlockCompletionBlock(
        true, [] {}, [&] { ++completions; });
    environment.runUntilIdle();
    environment.fastForwardBy(1.0);
    EXPECT_EQ(quick->alpha(), 0.0);
    EXPECT_EQ(quick->superview(), nullptr);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(delegate->hidden, 1);
}

TEST_F(OVProgressHUDTest, MinimumShowTimeDelaysTheHide) {
    auto hud = OVProgressHUD::showHUDAddedToAnimated(window, false);
    hud->setMinShowTime(0.5f);
    environment.fastForwardBy(0.2);
    hud->hide(false);
    EXPECT_EQ(hud->superview(), window);
    environment.fastForwardBy(0.29);
    EXPECT_EQ(hud->superview(), window);
    environment.fastForwardBy(0.01);
    EXPECT_EQ(hud->superview(), nullptr);
}

TEST_F(OVProgressHUDTest, ShowCancelsADelayedHide) {
    auto hud = OVProgressHUD::showHUDAddedToAnimated(window, false);
    hud->hideAfterDelay(false, 1.0);
    environment.fastForwardBy(0.5);
    hud->show(false);
    environment.fastForwardBy(1.0);
    EXPECT_EQ(hud->alpha(), 1.0);
    EXPECT_EQ(hud->superview(), window);
}

TEST_F(OVProgressHUDTest, HidingWhatWasNeverShownFinishesOnce) {
    auto hud = OVProgressHUD::initWithView(window);
    window->addSubview(hud);
    auto delegate = std::make_shared<Counter>();
    hud->setDelegate(delegate);
    int completions = 0;
    hud->setCompletionBlock([&] { ++completions; });
    hud->hide(true);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(delegate->hidden, 1);
    environment.fastForwardBy(1.0);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(delegate->hidden, 1);
}

TEST_F(OVProgressHUDTest, ClassHelpersFindTheTopMostOverlay) {
    EXPECT_FALSE(OVProgressHUD::hideHUDForViewAnimated(window, false));
    auto first = OVProgressHUD::showHUDAddedToAnimated(window, false);
    auto second = OVProgressHUD::showHUDAddedToAnimated(window, false);
    EXPECT_EQ(OVProgressHUD::HUDForView(window), second);
    EXPECT_TRUE(OVProgressHUD::hideHUDForViewAnimated(window, false));
    EXPECT_EQ(second->superview(), nullptr);
    EXPECT_EQ(first->superview(), window);
    EXPECT_EQ(OVProgressHUD::hideAllHUDsForViewAnimated(window, false), 1u);
}

TEST_F(OVProgressHUDTest, IndicatorsFollowTheMode) {
    auto hud = OVProgressHUD::initWithView(window);
    EXPECT_TRUE(std::dynamic_pointer_cast<UIActivityIndicatorView>(hud->indicator()));
    hud->setMode(OVProgressHUDModeAnnularDeterminate);
    auto ring = std::dynamic_pointer_cast<OVRoundProgressView>(hud->indicator());
    ASSERT_TRUE(ring);
    hud->setMode(OVProgressHUDModeDeterminate);
    EXPECT_EQ(hud->indicator(), ring); // the same view, still annular
    EXPECT_TRUE(ring->isAnnular());
    hud->setMode(OVProgressHUDModeDeterminateHorizontalBar);
    auto bar = hud->indicator();
    hud->setMode(OVProgressHUDModeDeterminateHorizontalBar);
    EXPECT_NE(hud->indicator(), bar); // a bar is always made anew
    hud->setProgress(0.3f);
    EXPECT_EQ(std::dynamic_pointer_cast<OVBarProgressView>(hud->indicator())->progress(), 0.3f);
    hud->setMode(OVProgressHUDModeText);
    EXPECT_EQ(hud->indicator(), nullptr);
}

TEST_F(OVProgressHUDTest, ZoomingShowAndHide) {
    auto hud = OVProgressHUD::showHUDAddedToAnimated(window, false);
    hud->hide(false);
    hud->setAnimationType(OVProgressHUDAnimationZoomOut);
    window->addSubview(hud);
    UIViewAnimation::clearRecords();
    hud->show(true);
    EXPECT_TRUE(CGAffineTransformIsIdentity(hud->transform()));
    ASSERT_EQ(UIViewAnimation::records().size(), 1u);
    EXPECT_EQ(UIViewAnimation::records()[0].keys,
              (std::vector<std::string>{"OVProgressHUD.alpha", "OVProgressHUD.transform"}));
    hud->hide(true);
    EXPECT_EQ(hud->transform().a, 0.5);
    hud->setAnimationType(OVProgressHUDAnimationZoomIn);
    environment.fastForwardBy(0.3);
    hud->show(true);
    hud->hide(true);
    EXPECT_EQ(hud->transform().a, 1.5);
}

TEST_F(OVProgressHUDTest, PropertiesSetOnAnotherThreadReachTheViews) {
    auto hud = OVProgressHUD::showHUDAddedToAnimated(window, false);
    hud->setMode(OVProgressHUDModeText);
    std::thread worker([hud] { hud->setLabelText("Half way"); });
    worker.join();
    EXPECT_EQ(hud->labelText(), "Half way");
    environment.runUntilIdle();
    window->layoutIfNeeded();
    EXPECT_GT(hud->size().width, 40);
}

TEST_F(OVProgressHUDTest, TipOverTheTopMostScreen) {
    auto application = UIApplication::sharedApplication();
    struct Delegate : UIApplicationDelegate {
        std::shared_ptr<UIWindow> shown;
        std::shared_ptr<UIWindow> window() const override { return shown; }
    };
    auto delegate = std::make_shared<Delegate>();
    delegate->shown = window;
    application->launch(delegate);
    auto root = UIViewController::init();
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    auto presented = UIViewController::init();
    root->presentViewControllerAnimatedCompletion(presented, false, nullptr);

    RZCommonConfig::shareInstance()->showTipViewWithMessage("Copied");
    auto tip = OVProgressHUD::HUDForView(presented->view());
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->mode(), OVProgressHUDModeText);
    EXPECT_EQ(tip->labelText(), "Copied");
    environment.fastForwardBy(1.3);
    EXPECT_EQ(tip->superview(), nullptr);
}

TEST_F(OVProgressHUDTest, TipsAreGoneAfterASecondAndTheFade) {
    window->makeKeyAndVisible();
    CZ::showSuccess("Save success");
    auto tip = OVProgressHUD::HUDForView(window);
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->mode(), OVProgressHUDModeCustomView);
    ASSERT_TRUE(tip->customView());
    EXPECT_GT(tip->customView()->bounds().size.width, 0); // the bundled icon loaded
    environment.fastForwardBy(0.99);
    EXPECT_EQ(tip->alpha(), 1.0);
    environment.fastForwardBy(0.01);
    EXPECT_EQ(tip->alpha(), 0.02); // fading out
    EXPECT_EQ(tip->superview(), window);
    environment.fastForwardBy(0.29);
    EXPECT_EQ(tip->superview(), window);
    environment.fastForwardBy(0.01);
    EXPECT_EQ(tip->superview(), nullptr);
}
} // namespace
