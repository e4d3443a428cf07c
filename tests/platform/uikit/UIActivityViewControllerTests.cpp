// The share sheet: which items it takes, what it logs and draws, and real taps on its
// targets and its cancel button reaching the completion handler after the dismissal.
#include "harness/TouchInjector.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSURL.h"
#include "platform/uikit/UIActivityViewController.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kRed = 0xffff0000;

std::shared_ptr<UILabel> labelWithText(const UIView& view, const std::string& text) {
    for (const auto& subview : view.subviews()) {
        if (auto label = std::dynamic_pointer_cast<UILabel>(subview);
            label && label->text() == text) {
            return label;
        }
        if (auto found = labelWithText(*subview, text)) {
            return found;
        }
    }
    return nullptr;
}

class UIActivityViewControllerTest : public testing::Test {
protected:
    UIActivityViewControllerTest() {
        EventLog::clear();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }
    // A red PNG in the home's Library folder, as the share file is written.
    std::shared_ptr<NSURL> writtenPicture() {
        const auto image = UIImage::imageWithCGImage(makeImage(
            30, 20, CGImagePixelFormat::ARGB32Premultiplied, [](size_t, size_t) { return kRed; }));
        const std::string path = home.path() + "/Library/MixdImage.png";
        EXPECT_TRUE(NSData::writeToFileAtomically(*UIImagePNGRepresentation(image), path));
        return NSURL::fileURLWithPath(path);
    }
    std::shared_ptr<UIActivityViewController> presentSheet(std::vector<UIActivityItem> items) {
        auto sheet =
            UIActivityViewController::initWithActivityItemsApplicationActivities(items, {});
        if (sheet) {
            sheet->setCompletionWithItemsHandler([this](const std::string& type, bool completed) {
                outcomes.push_back(type + (completed ? " done" : " cancelled"));
            });
            root->presentViewControllerAnimatedCompletion(sheet, true, nullptr);
            environment.fastForwardBy(UIViewController::kTransitionDuration);
        }
        return sheet;
    }
    bool tapLabel(const std::string& label) {
        const auto views = TouchInjector::viewsWithLabel(window, label);
        return views.size() == 1 && TouchInjector::tapAt(TouchInjector::tapPointOfView(*views[0]));
    }

    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(UIScreen::mainScreen()->bounds());
    std::shared_ptr<UIViewController> root = UIViewController::init();
    std::vector<std::string> outcomes;
};

TEST_F(UIActivityViewControllerTest, ItemsThatCannotBeOfferedAreRefused) {
    CapturedLog log;
    const auto picture = writtenPicture();
    const auto missing = NSURL::fileURLWithPath(home.path() + "/Library/never-written.png");
    const std::vector<std::vector<UIActivityItem>> refused = {
        {missing},
        {picture, missing},
        {std::shared_ptr<UIImage>()},
        {std::shared_ptr<NSURL>()},
    };
    for (const auto& items : refused) {
        EXPECT_FALSE(
            UIActivityViewController::initWithActivityItemsApplicationActivities(items, {}));
    }
    EXPECT_EQ(log.lines().size(), refused.size());
    EXPECT_NE(log.lines().front().find("never-written.png"), std::string::npos);
    EXPECT_FALSE(UIActivityViewController::initWithActivityItemsApplicationActivities(
        {picture}, {std::make_shared<NSObject>()}));

    const auto sheet = UIActivityViewController::initWithActivityItemsApplicationActivities(
        {picture, std::string("Look"), NSURL::URLWithString("https://example.org/a")}, {});
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->itemsDescription(), picture->path() + ", Look, https://example.org/a");
}

TEST_F(UIActivityViewControllerTest, TheSheetIsLoggedAndDrawnWithItsThumbnailAndButtons) {
    const auto picture = writtenPicture();
    ASSERT_TRUE(presentSheet({picture}));
    EXPECT_EQ(EventLog::entries().back(), "share: " + picture->path());

    // The thumbnail and the file's name in the item's row, the buttons below.
    const auto name = labelWithText(*window, "MixdImage.png");
    ASSERT_TRUE(name);
    const auto shot = ViewRenderer::snapshotWindow(*window, 1);
    ASSERT_TRUE(shot);
    const auto at = [&](const CGPoint& p) {
        return shot->cgImage()->pixelAt(static_cast<size_t>(p.x), static_cast<size_t>(p.y));
    };
    const CGRect label = name->convertRectToView(name->bounds(), nullptr);
    EXPECT_EQ(at(CGPointMake(label.origin.x - 30, CGRectGetMidY(label))), kRed);
    for (const std::string title : {"Copy", "Save Image", "More…", "Cancel"}) {
        SCOPED_TRACE(title);
        const auto buttons = TouchInjector::viewsWithLabel(window, title);
        ASSERT_EQ(buttons.size(), 1u);
        const CGRect frame = buttons[0]->convertRectToView(buttons[0]->bounds(), nullptr);
        // A white button with its title's ink in the middle.
        EXPECT_EQ(at(CGPointMake(frame.origin.x + 3, CGRectGetMidY(frame))), 0xffffffffu);
        int ink = 0;
        for (CGFloat x = frame.origin.x; x < CGRectGetMaxX(frame); ++x) {
            ink += at(CGPointMake(x, CGRectGetMidY(frame))) != 0xffffffffu ? 1 : 0;
        }
        EXPECT_GT(ink, 3);
    }
    // Dimmed above the sheet.
    EXPECT_LT(at(CGPointMake(5, 5)) & 0xff, 0xf0u);
}

TEST_F(UIActivityViewControllerTest, ATapChoosesOnceAndIsToldAfterTheDismissal) {
    struct Case {
        const char* label;
        const char* outcome;
    };
    const Case cases[] = {{"Copy", "CopyToPasteboard done"},
                          {"Save Image", "SaveToCameraRoll done"},
                          {"More…", "More done"},
                          {"Cancel", " cancelled"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        outcomes.clear();
        const auto sheet = presentSheet({writtenPicture()});
        ASSERT_TRUE(sheet);
        ASSERT_TRUE(tapLabel(c.label));
        tapLabel("Cancel"); // while the sheet goes: no second answer
        environment.fastForwardBy(UIViewController::kTransitionDuration);
        EXPECT_EQ(outcomes, std::vector<std::string>{c.outcome});
        EXPECT_FALSE(root->presentedViewController());
        EXPECT_TRUE(TouchInjector::viewsWithLabel(window, c.label).empty());
    }
}

} // namespace
