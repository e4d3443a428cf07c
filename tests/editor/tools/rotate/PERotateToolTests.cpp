#include "editor/tools/rotate/PERotateTool.h"

#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/tools/rotate/PERotatePanel.h"
#include "harness/TouchInjector.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSError.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/editor/DistinctPicture.h"
#include "tests/support/editor/FakeImageToolHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <utility>
#include <vector>

namespace {

// The rotate tool opened by a stand-in for the editor screen (a 320 x 424 picture area),
// its background work held until the test runs it.
class RotateToolFixture : public ::testing::Test {
protected:
    explicit RotateToolFixture(TaskEnvironment::GlobalQueues queues = TaskEnvironment::GlobalQueues::Manual)
        : environment(queues) {}

    void open(std::shared_ptr<UIImage> image) {
        picture = std::move(image);
        host = FakeImageToolHost::withImage(picture);
        auto entry = PEImageToolInfo::toolInfoForToolClass("PERotateTool");
        ASSERT_TRUE(entry);
        tool = std::dynamic_pointer_cast<PERotateTool>(host->openTool(entry));
        ASSERT_TRUE(tool);
        // The strip slides in; then the preview stands in for the image view.
        environment.fastForwardBy(0.3);
    }
    std::shared_ptr<PEToolbarMenuItem> item(long tag) const {
        for (const auto& view : tool->menuScroll()->subviews()) {
            if (view->tag() == tag) {
                return std::dynamic_pointer_cast<PEToolbarMenuItem>(view);
            }
        }
        return nullptr;
    }
    void tap(long tag) {
        auto target = item(tag);
        ASSERT_TRUE(target);
        tool->tappedMenu(*target->gestureRecognizers().front());
    }
    void ok() {
        tool->executeWithCompletionBlock([this](std::shared_ptr<UIImage> image,
                                                std::shared_ptr<NSError> error,
                                                std::shared_ptr<NSObject> userInfo) {
            EXPECT_TRUE(NSThread::isMainThread());
            EXPECT_FALSE(userInfo);
            answers.push_back(image);
            errors.push_back(error);
        });
    }
    // OK with the tool as it stands, and its answer.
    std::shared_ptr<UIImage> turned() {
        answers.clear();
        ok();
        environment.runUntilIdle();
        EXPECT_EQ(answers.size(), 1u);
        return answers.empty() ? nullptr : answers.back();
    }

    TaskEnvironment environment;
    std::shared_ptr<UIImage> picture;
    std::shared_ptr<FakeImageToolHost> host;
    std::shared_ptr<PERotateTool> tool;
    std::vector<std::shared_ptr<UIImage>> answers;
    std::vector<std::shared_ptr<NSError>> errors;
};

using PERotateToolTest = RotateToolFixture;

TEST_F(PERotateToolTest, SetUpLaysSliderStripOutlineAndPreviewOverThePicture) {
    open(distinctPicture(4, 3));
    EXPECT_EQ(host->fixZoomCalls, 1);
    // The slider in its rounded container, centred 30 points above the menu's top.
    auto slider = tool->rotateSlider();
    EXPECT_EQ(slider->frame(), CGRectMake(10, 0, 260, 30));
    EXPECT_EQ(slider->minimumValue(), -1);
    EXPECT_EQ(slider->maximumValue(), 1);
    EXPECT_EQ(slider->value(), 0);
    EXPECT_TRUE(slider->isContinuous());
    auto container = slider->superview();
    ASSERT_TRUE(container);
    EXPECT_EQ(container->superview(), host->view());
    EXPECT_EQ(container->frame(), CGRectMake(20, 443, 280, 30));
    EXPECT_EQ(container->layer()->cornerRadius(), 15);
    // Three items on a strip at the menu's place.
    auto strip = tool->menuScroll();
    EXPECT_EQ(strip->frame(), host->menuView()->frame());
    EXPECT_TRUE(CGAffineTransformIsIdentity(strip->transform()));
    EXPECT_EQ(strip->contentSize(), CGSizeMake(321, 0));
    for (long tag = 0; tag < 3; ++tag) {
        ASSERT_TRUE(item(tag)) << tag;
        EXPECT_EQ(item(tag)->frame(), CGRectMake(70.0 * tag, 0, 70, 80));
        EXPECT_EQ(item(tag)->title(), " ");
    }
    // The outline covers the picture area and hugs the picture; the preview stands in for
    // the hidden image view, unturned.
    auto grid = tool->gridView();
    EXPECT_EQ(grid->superview(), host->scrollView());
    EXPECT_EQ(grid->frame(), host->scrollView()->bounds());
    EXPECT_EQ(grid->gridRect(), host->imageView()->frame());
    auto preview = tool->rotateImageView();
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->superview(), host->scrollView());
    EXPECT_EQ(preview->frame(), host->imageView()->frame());
    EXPECT_EQ(preview->image(), picture);
    EXPECT_TRUE(host->imageView()->isHidden());
}

TEST_F(PERotateToolTest, TheQuarterTurnItemStepsToTheNextQuarterClockwise) {
    open(distinctPicture(4, 3));
    const struct {
        float from, to;
    } cases[] = {{-1, -0.5f}, {-0.7f, -0.5f}, {-0.5f, 0}, {-0.2f, 0},  {0, 0.5f},
                 {0.3f, 0.5f}, {0.5f, 1},     {0.9f, 1},   {1, -0.5f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        tool->rotateSlider()->setValue(c.from);
        tap(0);
        EXPECT_EQ(tool->rotateSlider()->value(), c.to);
        // The outline hides while the turn animates and comes back after it.
        EXPECT_TRUE(tool->gridView()->isHidden());
        environment.fastForwardBy(0.3);
        EXPECT_FALSE(tool->gridView()->isHidden());
    }
}

TEST_F(PERotateToolTest, APreviewAtAQuarterTurnIsFittedAndOutlined) {
    open(distinctPicture(4, 3));
    const CGRect initial = host->imageView()->frame(); // 320 x 424
    tap(0);
    const CGRect frame = tool->rotateImageView()->frame();
    const double s = 0.95 * std::min(320 / initial.size.height, 424 / initial.size.width);
    EXPECT_NEAR(frame.size.width, initial.size.height * s, 1e-9);
    EXPECT_NEAR(frame.size.height, initial.size.width * s, 1e-9);
    EXPECT_NEAR(CGRectGetMidX(frame), CGRectGetMidX(initial), 1e-9);
    EXPECT_NEAR(CGRectGetMidY(frame), CGRectGetMidY(initial), 1e-9);
    EXPECT_EQ(tool->gridView()->gridRect(), frame);
    // Turned clockwise on screen: the picture's x axis points down.
    const CGAffineTransform t = tool->rotateImageView()->transform();
    EXPECT_NEAR(t.b, s, 1e-9);
    EXPECT_NEAR(t.a, 0, 1e-9);
    // The slider moves the preview without animation.
    tool->rotateSlider()->setValue(0.25f);
    tool->sliderDidChange(*tool->rotateSlider());
    EXPECT_EQ(tool->gridView()->gridRect(), tool->rotateImageView()->frame());
    EXPECT_NEAR(tool->rotateImageView()->transform().a, tool->rotateImageView()->transform().b,
                1e-9);
}

TEST_F(PERotateToolTest, DraggingTheSliderTurnsThePreviewAsItGoes) {
    open(distinctPicture(4, 3));
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    window->addSubview(host->view());
    window->makeKeyAndVisible();
    const CGPoint thumb =
        tool->rotateSlider()->convertPointToView(CGPointMake(130, 15), nullptr);
    TouchInjector::drag(thumb, CGPointMake(thumb.x + 60, thumb.y), 0.3);
    const float value = tool->rotateSlider()->value();
    EXPECT_GT(value, 0.2f);
    // The preview turned by the slider's angle, clockwise on screen, and outlined.
    const CGAffineTransform t = tool->rotateImageView()->transform();
    EXPECT_NEAR(std::atan2(t.b, t.a), value * std::numbers::pi, 1e-6);
    EXPECT_EQ(tool->gridView()->gridRect(), tool->rotateImageView()->frame());
}

TEST_F(PERotateToolTest, QuarterTurnsAndMirrorsArePixelExact) {
    // 3 x 2 in; out(x, y) shows in(from(x, y)).
    const size_t w = 3, h = 2;
    using From = std::function<std::pair<size_t, size_t>(size_t, size_t)>;
    const struct {
        const char* name;
        float angle;
        int mirrorsLeftRight, mirrorsTopBottom;
        size_t width, height;
        From from;
    } cases[] = {
        {"unturned", 0, 0, 0, w, h, [](size_t x, size_t y) { return std::pair{x, y}; }},
        {"quarter turn clockwise", 0.5f, 0, 0, h, w,
         [](size_t x, size_t y) { return std::pair{y, h - 1 - x}; }},
        {"quarter turn anticlockwise", -0.5f, 0, 0, h, w,
         [](size_t x, size_t y) { return std::pair{w - 1 - y, x}; }},
        {"half turn", 1, 0, 0, w, h, [](size_t x, size_t y) { return std::pair{w - 1 - x, h - 1 - y}; }},
        {"mirrored left to right", 0, 1, 0, w, h,
         [](size_t x, size_t y) { return std::pair{w - 1 - x, y}; }},
        {"mirrored top to bottom", 0, 0, 1, w, h,
         [](size_t x, size_t y) { return std::pair{x, h - 1 - y}; }},
        {"mirrored twice on one axis", 0, 2, 0, w, h, [](size_t x, size_t y) { return std::pair{x, y}; }},
        // The mirror applies first, then the turn, as the preview shows it.
        {"mirrored left to right, then turned clockwise", 0.5f, 1, 0, h, w,
         [](size_t x, size_t y) { return std::pair{w - 1 - y, h - 1 - x}; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open(distinctPicture(w, h));
        tool->rotateSlider()->setValue(c.angle);
        for (int i = 0; i < c.mirrorsLeftRight; ++i) {
            tap(1);
        }
        for (int i = 0; i < c.mirrorsTopBottom; ++i) {
            tap(2);
        }
        const auto result = turned();
        ASSERT_TRUE(result);
        const CGImageRef bitmap = result->cgImage();
        ASSERT_EQ(bitmap->width(), c.width);
        ASSERT_EQ(bitmap->height(), c.height);
        for (size_t y = 0; y < c.height; ++y) {
            for (size_t x = 0; x < c.width; ++x) {
                const auto [fx, fy] = c.from(x, y);
                EXPECT_EQ(bitmap->pixelAt(x, y), distinctColourAt(fx, fy)) << x << "," << y;
            }
        }
        host->back(*tool);
        environment.fastForwardBy(0.3);
    }
}

TEST_F(PERotateToolTest, AnOddAngleGivesTheBoundingBoxWithTransparentCorners) {
    open(UIImage::imageWithCGImage(makeImage(40, 20, CGImagePixelFormat::ARGB32Premultiplied,
                                             [](size_t, size_t) { return 0xff3080c0u; })));
    tool->rotateSlider()->setValue(0.25f);
    const auto result = turned();
    ASSERT_TRUE(result);
    const CGImageRef bitmap = result->cgImage();
    // (40 + 20) * sqrt(2) / 2 = 42.4 on each side, on whole pixels.
    EXPECT_NEAR(static_cast<double>(bitmap->width()), 60 * std::sqrt(0.5), 1.6);
    EXPECT_NEAR(static_cast<double>(bitmap->height()), 60 * std::sqrt(0.5), 1.6);
    const size_t right = bitmap->width() - 1, bottom = bitmap->height() - 1;
    for (auto [x, y] : {std::pair{size_t{0}, size_t{0}}, std::pair{right, size_t{0}},
                        std::pair{size_t{0}, bottom}, std::pair{right, bottom}}) {
        EXPECT_EQ(bitmap->pixelAt(x, y), 0u) << x << "," << y;
    }
    EXPECT_EQ(bitmap->pixelAt(bitmap->width() / 2, bitmap->height() / 2), 0xff3080c0u);
}

TEST_F(PERotateToolTest, OKTurnsTheEditorsPictureByTheControlsAsTheyStoodAtOK) {
    open(distinctPicture(3, 2));
    // The view shows something else; the editor's picture is what is turned.
    host->imageView()->setImage(distinctPicture(5, 5));
    tool->rotateSlider()->setValue(0.5f);
    ok();
    // Moved after OK, before the background work ran: OK's answer keeps the quarter turn.
    tool->rotateSlider()->setValue(0);
    tap(1);
    environment.runUntilIdle();
    ASSERT_EQ(answers.size(), 1u);
    ASSERT_TRUE(answers[0]);
    EXPECT_FALSE(errors[0]);
    EXPECT_EQ(answers[0]->cgImage()->width(), 2u);
    EXPECT_EQ(answers[0]->cgImage()->height(), 3u);
    EXPECT_EQ(answers[0]->cgImage()->pixelAt(1, 0), distinctColourAt(0, 0));
}

TEST_F(PERotateToolTest, BackTurnsThePreviewBackToTheImageViewThenHandsOver) {
    open(distinctPicture(4, 3));
    tap(0);
    environment.fastForwardBy(0.3);
    auto preview = tool->rotateImageView();
    auto strip = tool->menuScroll();
    auto container = tool->rotateSlider()->superview();
    ok(); // the tool ends before the turn is back
    host->back(*tool);
    EXPECT_FALSE(container->superview());
    EXPECT_FALSE(tool->gridView()->superview());
    EXPECT_EQ(host->resetZoomCalls, 1);
    // While the strip slides out the preview turns back over the image view's frame.
    EXPECT_TRUE(CATransform3DIsIdentity(preview->layer()->transform()));
    EXPECT_EQ(preview->frame(), host->imageView()->frame());
    EXPECT_TRUE(host->imageView()->isHidden());
    EXPECT_EQ(strip->frame().origin.y, 568);
    environment.fastForwardBy(0.3);
    EXPECT_FALSE(preview->superview());
    EXPECT_FALSE(strip->superview());
    EXPECT_FALSE(host->imageView()->isHidden());
    // The late turn and an OK after the end are answered with errors.
    environment.runUntilIdle();
    ok();
    ASSERT_EQ(answers.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_FALSE(answers[i]);
        EXPECT_TRUE(errors[i]);
    }
}

TEST_F(PERotateToolTest, AfterOKThePreviewTakesTheResultsPlaceWithoutAJump) {
    open(distinctPicture(4, 3));
    tap(0);
    const auto result = turned();
    ASSERT_TRUE(result);
    // The screen shows the result, then ends the tool.
    host->setOriginalImage(result);
    host->imageView()->setImage(result);
    host->back(*tool);
    // Unfrozen, frozen again for the hand-over, then unfrozen for good.
    EXPECT_EQ(host->fixZoomCalls, 2);
    EXPECT_EQ(host->resetZoomCalls, 2);
    EXPECT_EQ(tool->rotateImageView()->image(), result);
    EXPECT_TRUE(CATransform3DIsIdentity(tool->rotateImageView()->layer()->transform()));
    environment.fastForwardBy(0.3);
    EXPECT_FALSE(host->imageView()->isHidden());
}

class PERotateToolThreadedTest : public RotateToolFixture {
protected:
    PERotateToolThreadedTest() : RotateToolFixture(TaskEnvironment::GlobalQueues::Threaded) {}
};

TEST_F(PERotateToolThreadedTest, TheTurnRunsInTheBackgroundAndAnswersOnTheMainThread) {
    open(distinctPicture(3, 2));
    tap(2);
    const auto result = turned();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->cgImage()->pixelAt(0, 0), distinctColourAt(0, 1));
}

} // namespace
