#include "editor/tools/filter/PEFilterTool.h"

#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIView+PEImageToolInfo.h"
#include "editor/tools/filter/PEDefaultEmptyFilter.h"
#include "platform/base/ClassRegistry.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIViewAnimation.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/editor/FakeImageToolHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using ::testing::Contains;
using ::testing::HasSubstr;

constexpr uint32_t kColour = 0xff336699u, kInverted = 0xffcc9966u, kGreen = 0xff00ff00u;

std::shared_ptr<UIImage> solidPicture(uint32_t colour) {
    // 8 x 6 pixels, 4 x 3 points.
    return UIImage::imageWithCGImageScaleOrientation(
        makeImage(8, 6, CGImagePixelFormat::ARGB32Premultiplied,
                  [=](size_t, size_t) { return colour; }),
        2, UIImageOrientation::Up);
}

uint32_t middleOf(const std::shared_ptr<UIImage>& image) {
    return image->cgImage()->pixelAt(image->cgImage()->width() / 2, image->cgImage()->height() / 2);
}

// A filter that never renders; listed only while a test wants it.
bool brokenFilterListed = false;
class TestBrokenFilter : public PEFilterBase {
    NS_OBJECT(TestBrokenFilter)
public:
    class ClassMethods : public PEFilterBase::ClassMethods {
    public:
        std::string defaultTitle(const Class&) const override { return "Broken"; }
        bool isAvailable(const Class&) const override { return brokenFilterListed; }
        std::shared_ptr<UIImage> applyFilter(const Class&,
                                             const std::shared_ptr<UIImage>&) const override {
            return nullptr;
        }
    };
};

// The filter tool opened by a stand-in for the editor screen on an 8 x 6-pixel picture,
// with the background work held (manual) or on the pool's threads.
class FilterToolFixture : public ::testing::Test {
protected:
    explicit FilterToolFixture(TaskEnvironment::GlobalQueues queues) : environment(queues) {
        ClassRegistry::shared().add<TestBrokenFilter, PEFilterBase>(
            {}, std::make_shared<TestBrokenFilter::ClassMethods>());
    }
    ~FilterToolFixture() override { brokenFilterListed = false; }

    // Opens the tool; its thumbnails stay held (manual stepping) until the test runs them.
    void open() {
        entry = PEImageToolInfo::toolInfoForToolClass("PEFilterTool");
        ASSERT_TRUE(entry);
        tool = std::dynamic_pointer_cast<PEFilterTool>(host->openTool(entry));
        ASSERT_TRUE(tool);
    }
    std::shared_ptr<PEToolbarMenuItem> item(const std::string& filter) const {
        for (const auto& view : tool->menuScroll()->subviews()) {
            auto info = PEViewToolInfo::toolInfo(*view);
            if (info && info->toolName() == filter) {
                return std::dynamic_pointer_cast<PEToolbarMenuItem>(view);
            }
        }
        return nullptr;
    }
    void tap(const std::string& filter) {
        auto target = item(filter);
        ASSERT_TRUE(target) << filter;
        tool->tappedFilterPanel(*target->gestureRecognizers().front());
    }
    // OK: the pictures the completion was given, in order.
    void ok() {
        tool->executeWithCompletionBlock([this](std::shared_ptr<UIImage> image,
                                                std::shared_ptr<NSError> error,
                                                std::shared_ptr<NSObject>) {
            EXPECT_FALSE(error);
            EXPECT_TRUE(NSThread::isMainThread());
            answers.push_back(image);
        });
    }
    static size_t held() { return GlobalThreadPool::shared().pendingTaskCount(); }

    TaskEnvironment environment;
    std::shared_ptr<UIImage> picture = solidPicture(kColour);
    std::shared_ptr<FakeImageToolHost> host = FakeImageToolHost::withImage(picture);
    std::shared_ptr<PEImageToolInfo> entry;
    std::shared_ptr<PEFilterTool> tool;
    std::vector<std::shared_ptr<UIImage>> answers;
};

class PEFilterToolTest : public FilterToolFixture {
protected:
    PEFilterToolTest() : FilterToolFixture(TaskEnvironment::GlobalQueues::Manual) {}
};

class PEFilterToolThreadedTest : public FilterToolFixture {
protected:
    PEFilterToolThreadedTest() : FilterToolFixture(TaskEnvironment::GlobalQueues::Threaded) {}
};

TEST_F(PEFilterToolTest, TheStripTakesTheMenusPlaceWithOneItemAFilter) {
    const struct {
        const char* version;
        size_t items;
        double contentWidth;
    } cases[] = {{"7.0", 14, 980}, {"6.1", 3, 321}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        UIDevice::currentDevice()->setSystemVersion(c.version);
        UIViewAnimation::clearRecords();
        open();
        const auto strip = tool->menuScroll();
        EXPECT_EQ(strip->superview(), host->view());
        EXPECT_TRUE(CGRectEqualToRect(strip->frame(), host->menuView()->frame()));
        EXPECT_EQ(strip->backgroundColor(), host->menuView()->backgroundColor());
        EXPECT_FALSE(strip->showsHorizontalScrollIndicator());
        EXPECT_TRUE(CGSizeEqualToSize(strip->contentSize(), CGSizeMake(c.contentWidth, 0)));
        const auto items = strip->subviews();
        ASSERT_EQ(items.size(), c.items);
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_TRUE(CGRectEqualToRect(items[i]->frame(), CGRectMake(70.0 * i, 0, 70, 80)));
        }
        // Slid in from below over 0.3 s; the zoom left alone.
        EXPECT_TRUE(CGAffineTransformIsIdentity(strip->transform()));
        ASSERT_FALSE(UIViewAnimation::records().empty());
        EXPECT_EQ(UIViewAnimation::records().front().duration, 0.3);
        EXPECT_EQ(host->fixZoomCalls, 0);
        // The small copy of the picture is made off the main thread, then one thumbnail
        // task an item.
        EXPECT_EQ(held(), 1u);
        ASSERT_TRUE(GlobalThreadPool::shared().runNextTask());
        EXPECT_EQ(held(), c.items);
        environment.runUntilIdle();
        host->back(*tool);
        tool.reset();
        environment.fastForwardBy(0.3);
        EXPECT_EQ(strip->superview(), nullptr);
    }
}

TEST_F(PEFilterToolTest, ThumbnailsShowTheEditorsPictureFilteredNotWhatItsViewShows) {
    // The view shows another tool's leftover preview; the editor's picture is the blue one.
    host->imageView()->setImage(solidPicture(kGreen));
    open();
    EXPECT_FALSE(item("PEDefaultInvertFilter")->iconImage());
    environment.runUntilIdle();
    for (const auto& view : tool->menuScroll()->subviews()) {
        auto thumbnail = std::dynamic_pointer_cast<PEToolbarMenuItem>(view)->iconImage();
        ASSERT_TRUE(thumbnail) << PEViewToolInfo::toolInfo(*view)->toolName();
        // 50 points at the screen's scale of 2.
        EXPECT_EQ(thumbnail->cgImage()->width(), 100u);
        EXPECT_EQ(thumbnail->cgImage()->height(), 100u);
    }
    EXPECT_EQ(middleOf(item("PEDefaultEmptyFilter")->iconImage()), kColour);
    EXPECT_EQ(middleOf(item("PEDefaultInvertFilter")->iconImage()), kInverted);

    tap("PEDefaultEmptyFilter");
    environment.runUntilIdle();
    // "None" shows the editor's picture itself.
    EXPECT_EQ(host->imageView()->image(), picture);
}

TEST_F(PEFilterToolTest, ATapWhileAPreviewRendersIsIgnored) {
    open();
    environment.runUntilIdle();
    UIViewAnimation::clearRecords();

    tap("PEDefaultSepiaFilter");
    EXPECT_EQ(held(), 1u);
    EXPECT_EQ(UIViewAnimation::records().size(), 1u);
    tap("PEDefaultInvertFilter");
    // No second preview, no highlight.
    EXPECT_EQ(held(), 1u);
    EXPECT_EQ(UIViewAnimation::records().size(), 1u);
    EXPECT_EQ(host->imageView()->image(), picture);

    environment.runUntilIdle();
    const auto sepia = PEDefaultEmptyFilter::filteredImageWithFilterName(picture, "CISepiaTone");
    EXPECT_EQ(middleOf(host->imageView()->image()), middleOf(sepia));

    // Once the first preview is shown, taps work again.
    tap("PEDefaultInvertFilter");
    EXPECT_EQ(held(), 1u);
    environment.runUntilIdle();
    EXPECT_EQ(middleOf(host->imageView()->image()), kInverted);
}

TEST_F(PEFilterToolTest, APreviewThatEndsAfterBackIsDroppedAndAWaitingOKNeverAnswered) {
    for (bool toolStillHeld : {false, true}) {
        SCOPED_TRACE(toolStillHeld ? "tool still held" : "tool let go");
        open();
        environment.runUntilIdle();
        tap("PEDefaultInvertFilter");
        ok();
        const auto kept = toolStillHeld ? tool : nullptr;
        host->back(*tool);
        tool.reset();
        environment.runUntilIdle();
        EXPECT_EQ(host->imageView()->image(), picture);
        EXPECT_TRUE(answers.empty());
    }
}

TEST_F(PEFilterToolTest, OKWhileThePreviewRendersAnswersWithThatFilterOnTheWholePicture) {
    open();
    environment.runUntilIdle();
    // Before any tap: the picture itself.
    ok();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], picture);

    tap("PEDefaultInvertFilter");
    ok();
    environment.runMainLoopUntilIdle();
    EXPECT_EQ(answers.size(), 1u);
    environment.runUntilIdle();
    ASSERT_EQ(answers.size(), 2u);
    ASSERT_TRUE(answers[1]);
    EXPECT_EQ(answers[1]->cgImage()->width(), 8u);
    EXPECT_EQ(answers[1]->cgImage()->height(), 6u);
    EXPECT_EQ(middleOf(answers[1]), kInverted);
    EXPECT_EQ(answers[1], host->imageView()->image());

    // Once shown, OK answers at once with what is shown.
    ok();
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[2], answers[1]);
}

TEST_F(PEFilterToolTest, AStalePreviewNeverReplacesALaterTap) {
    open();
    environment.runUntilIdle();
    tap("PEDefaultSepiaFilter");
    // The sepia preview is rendered and on its way to the main thread, which has not
    // shown it yet: the tool is free again and takes the next tap.
    ASSERT_TRUE(GlobalThreadPool::shared().runNextTask());
    tap("PEDefaultInvertFilter");
    EXPECT_EQ(held(), 1u);
    ok();
    environment.runMainLoopUntilIdle();
    EXPECT_EQ(host->imageView()->image(), picture);
    EXPECT_TRUE(answers.empty());

    environment.runUntilIdle();
    EXPECT_EQ(middleOf(host->imageView()->image()), kInverted);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(middleOf(answers[0]), kInverted);
}

TEST_F(PEFilterToolTest, AFilterThatFailsLeavesThePreviewAndOKAtTheFilterBefore) {
    brokenFilterListed = true;
    open();
    environment.runUntilIdle();
    EXPECT_FALSE(item("TestBrokenFilter")->iconImage());
    tap("PEDefaultInvertFilter");
    environment.runUntilIdle();
    const auto inverted = host->imageView()->image();

    CapturedLog log;
    tap("TestBrokenFilter");
    ok();
    environment.runUntilIdle();
    EXPECT_EQ(host->imageView()->image(), inverted);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], inverted);
    EXPECT_THAT(log.lines(), Contains(HasSubstr("TestBrokenFilter")));
}

TEST_F(PEFilterToolThreadedTest, ThumbnailsAndPreviewsRunInTheBackgroundAndAnswerOnTheMainThread) {
    open();
    environment.runUntilIdle();
    EXPECT_EQ(middleOf(item("PEDefaultInvertFilter")->iconImage()), kInverted);
    tap("PEDefaultInvertFilter");
    ok();
    environment.runUntilIdle();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(middleOf(answers[0]), kInverted);
    EXPECT_EQ(host->imageView()->image(), answers[0]);
}

} // namespace
