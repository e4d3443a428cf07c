#include "app/output/MixImageOutput.h"
#include "app/widgets/OVProgressHUD.h"
#include "editor/PEImageEditor.h"
#include "editor/PEImageEditorTransitionDelegate.h"
#include "editor/PEImageToolBase.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/_PEImageEditorViewController.h"
#include "harness/TouchInjector.h"
#include "platform/base/ClassRegistry.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PhotoFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

namespace {
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// How many of the numbered test tools the menus list (the first n); none outside these
// tests, so that no other test of the program sees them.
int availableTestTools = 0;
// What the test tools did, in order: "setup 1", "cleanup 1", "execute 1".
std::vector<std::string> toolLog;
// The answer of the last OK, kept for the test to give (or never give).
PEImageToolBase::Completion pendingAnswer;

// A tool that shows a preview in the screen's image view and lets the test answer its OK.
class ScriptedTool : public PEImageToolBase {
    NS_OBJECT(ScriptedTool)
public:
    static inline std::shared_ptr<UIImage> preview;

    // Numbered n: docked n, titled "Tool n", listed while n <= availableTestTools.
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        explicit ClassMethods(int number) : number_(number) {}
        std::optional<std::string> defaultIconImagePath(const Class&) const override {
            return std::nullopt;
        }
        double defaultDockedNumber(const Class&) const override { return number_; }
        std::string defaultTitle(const Class&) const override {
            return "Tool " + std::to_string(number_);
        }
        bool isAvailable(const Class&) const override { return number_ <= availableTestTools; }

    private:
        int number_;
    };

    void setup() override {
        toolLog.push_back("setup " + toolInfo()->title());
        if (preview) {
            editor()->imageView()->setImage(preview);
        }
    }
    void cleanup() override { toolLog.push_back("cleanup " + toolInfo()->title()); }
    void executeWithCompletionBlock(Completion completion) override {
        toolLog.push_back("execute " + toolInfo()->title());
        pendingAnswer = std::move(completion);
    }
};

#define SCREEN_TEST_TOOL(Name)                                                                     \
    class Name : public ScriptedTool {                                                             \
        NS_OBJECT(Name)                                                                            \
    };
SCREEN_TEST_TOOL(ScreenTool1)
SCREEN_TEST_TOOL(ScreenTool2)
SCREEN_TEST_TOOL(ScreenTool3)
SCREEN_TEST_TOOL(ScreenTool4)
SCREEN_TEST_TOOL(ScreenTool5)
SCREEN_TEST_TOOL(ScreenTool6)
SCREEN_TEST_TOOL(ScreenTool7)
SCREEN_TEST_TOOL(ScreenTool8)
#undef SCREEN_TEST_TOOL

void registerScreenTools() {
    ClassRegistry& registry = ClassRegistry::shared();
    registry.add<ScriptedTool, PEImageToolBase>();
    auto methods = [](int n) { return std::make_shared<ScriptedTool::ClassMethods>(n); };
    registry.add<ScreenTool1, ScriptedTool>({}, methods(1));
    registry.add<ScreenTool2, ScriptedTool>({}, methods(2));
    registry.add<ScreenTool3, ScriptedTool>({}, methods(3));
    registry.add<ScreenTool4, ScriptedTool>({}, methods(4));
    registry.add<ScreenTool5, ScriptedTool>({}, methods(5));
    registry.add<ScreenTool6, ScriptedTool>({}, methods(6));
    registry.add<ScreenTool7, ScriptedTool>({}, methods(7));
    registry.add<ScreenTool8, ScriptedTool>({}, methods(8));
}

// A picture of one colour.
std::shared_ptr<UIImage> picture(size_t width, size_t height, uint32_t colour) {
    return UIImage::imageWithCGImage(makeImage(width, height,
                                               CGImagePixelFormat::ARGB32Premultiplied,
                                               [colour](size_t, size_t) { return colour; }));
}

std::vector<uint32_t> pixels(const std::shared_ptr<UIImage>& image) {
    return image && image->cgImage() ? pixelsOf(*image->cgImage()) : std::vector<uint32_t>{};
}

// The screen with only the test tools in its menu: the editor's own tools are registered
// in this program too, and would change every count and gap.
std::shared_ptr<_PEImageEditorViewController> testScreen(const std::shared_ptr<PEImageEditor>& made) {
    auto screen = std::dynamic_pointer_cast<_PEImageEditorViewController>(made);
    if (screen) {
        screen->toolInfo()->setSubtools(PEImageToolInfo::toolsWithToolClass("ScriptedTool"));
    }
    return screen;
}

// Records what the editor tells its delegate.
class RecordingDelegate : public PEImageEditorTransitionDelegate {
public:
    explicit RecordingDelegate(bool answersCancel = true) : answersCancel_(answersCancel) {}
    void imageEditorDidCancel(PEImageEditor& editor) override {
        calls.push_back("cancel");
        if (!answersCancel_) {
            PEImageEditorDelegate::imageEditorDidCancel(editor);
        }
    }
    void imageEditorWillDismissWithImageViewCanceled(PEImageEditor&,
                                                     const std::shared_ptr<UIImageView>& imageView,
                                                     bool canceled) override {
        calls.push_back(std::string("will ") + (canceled ? "canceled" : "done"));
        targetHiddenAtWill = imageView->isHidden();
    }
    void imageEditorDidDismissWithImageViewCanceled(PEImageEditor&,
                                                    const std::shared_ptr<UIImageView>& imageView,
                                                    bool canceled) override {
        calls.push_back(std::string("did ") + (canceled ? "canceled" : "done"));
    }
    std::vector<std::string> calls;
    bool targetHiddenAtWill = false;

private:
    bool answersCancel_;
};

// Implements nothing of its own.
class SilentDelegate : public PEImageEditorDelegate {};

// Implements only the end of the closing flight.
class DidOnlyDelegate : public PEImageEditorTransitionDelegate {
public:
    void imageEditorDidDismissWithImageViewCanceled(PEImageEditor&,
                                                    const std::shared_ptr<UIImageView>&,
                                                    bool canceled) override {
        calls.push_back(std::string("did ") + (canceled ? "canceled" : "done"));
    }
    std::vector<std::string> calls;
};

// A 320 x 568 phone with the editor presented over a plain screen, as the app presents it.
class EditorScreenTest : public PhotoLibraryTest {
protected:
    EditorScreenTest() {
        registerScreenTools();
        availableTestTools = 3;
        toolLog.clear();
        pendingAnswer = nullptr;
        ScriptedTool::preview = nullptr;
        EventLog::clear();
        UIScreen::configureMainScreen(CGSizeMake(320, 568), 2);
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        environment_.runUntilIdle();
    }
    ~EditorScreenTest() override {
        availableTestTools = 0;
        pendingAnswer = nullptr;
        ScriptedTool::preview = nullptr;
    }

    // Opens the editor on `image` with `tools` tools listed.
    void open(const std::shared_ptr<UIImage>& image, int tools = 3,
              std::weak_ptr<PEImageEditorDelegate> delegate = {}) {
        availableTestTools = tools;
        editor = testScreen(PEImageEditor::initWithImageDelegate(image, std::move(delegate)));
        ASSERT_NE(editor, nullptr);
        root->presentViewControllerAnimatedCompletion(editor, false, nullptr);
        environment_.runUntilIdle();
    }

    std::vector<std::shared_ptr<PEToolbarMenuItem>> menuItems() const {
        std::vector<std::shared_ptr<PEToolbarMenuItem>> items;
        for (const auto& view : editor->menuView()->subviews()) {
            if (auto item = std::dynamic_pointer_cast<PEToolbarMenuItem>(view)) {
                items.push_back(item);
            }
        }
        return items;
    }
    std::shared_ptr<UINavigationBar> ownBar() const {
        for (const auto& view : editor->view()->subviews()) {
            if (auto bar = std::dynamic_pointer_cast<UINavigationBar>(view)) {
                return bar;
            }
        }
        return nullptr;
    }
    // The labels a finger finds on screen.
    bool onScreen(const std::string& label) const {
        window->layoutIfNeeded();
        return !TouchInjector::viewsWithLabel(window, label).empty();
    }
    void tapLabel(const std::string& label) {
        window->layoutIfNeeded();
        auto views = TouchInjector::viewsWithLabel(window, label);
        ASSERT_FALSE(views.empty()) << label;
        TouchInjector::tapAt(TouchInjector::tapPointOfView(*views.back()));
    }
    void tapTool(size_t index) {
        auto items = menuItems();
        ASSERT_LT(index, items.size());
        TouchInjector::tapAt(TouchInjector::tapPointOfView(*items[index]));
    }
    // Opens the first tool, found by its title as a user finds it, with a preview showing.
    void openToolWithPreview() {
        ScriptedTool::preview = picture(40, 20, 0xff00ff00);
        window->layoutIfNeeded();
        ASSERT_EQ(TouchInjector::viewsWithLabel(window, "Tool 1").size(), 1u);
        ASSERT_NO_FATAL_FAILURE(tapLabel("Tool 1"));
        ASSERT_NE(editor->currentTool(), nullptr);
    }
    bool alertShown(const std::string& text) const {
        for (const auto& line : EventLog::entries()) {
            if (line == "alert: " + text) {
                return true;
            }
        }
        return false;
    }

    std::shared_ptr<UIWindow> window;
    std::shared_ptr<UIViewController> root = UIViewController::init();
    std::shared_ptr<_PEImageEditorViewController> editor;
};

TEST_F(EditorScreenTest, EveryFactoryMakesTheScreenWithItsToolTree) {
    auto image = picture(8, 4, 0xffff0000);
    auto delegate = std::make_shared<SilentDelegate>();
    const std::vector<std::shared_ptr<PEImageEditor>> made = {
        PEImageEditor::init(), PEImageEditor::initWithImage(image),
        PEImageEditor::initWithImageDelegate(image, delegate),
        PEImageEditor::initWithDelegate(delegate),
        std::dynamic_pointer_cast<PEImageEditor>(NSClassFromString("PEImageEditor")->alloc())};
    for (const auto& screen : made) {
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(screen->className(), "_PEImageEditorViewController");
        ASSERT_NE(screen->toolInfo(), nullptr);
        EXPECT_EQ(screen->toolInfo()->toolName(), "PEImageEditor");
        EXPECT_EQ(screen->toolInfo()->title(), "Edit");
        ASSERT_TRUE(screen->toolInfo()->subtools());
        size_t testTools = 0;
        for (const auto& tool : *screen->toolInfo()->subtools()) {
            testTools += tool->toolName().starts_with("ScreenTool") && tool->available();
        }
        EXPECT_EQ(testTools, 3u);
    }
    EXPECT_EQ(made[2]->delegate(), delegate);
    EXPECT_EQ(made[3]->delegate(), delegate);
    // The screen keeps its own copy of the picture: same pixels, another image.
    auto screen = std::dynamic_pointer_cast<_PEImageEditorViewController>(made[1]);
    EXPECT_NE(screen->originalImage(), image);
    EXPECT_EQ(pixels(screen->originalImage()), pixels(image));
    EXPECT_EQ(made[0]->delegate(), nullptr);
}

TEST_F(EditorScreenTest, BarsMenuAndPictureGeometryAtPhoneSize) {
    struct MenuCase {
        int tools;
        std::vector<double> itemX;
        double contentWidth;
    };
    // Less than two items' width left over is shared out as gaps; more leaves them packed.
    const MenuCase menus[] = {
        {2, {0, 70}, 321},
        {3, {27.5, 125, 222.5}, 321},
        {8, {0, 70, 140, 210, 280, 350, 420, 490}, 560},
    };
    for (const MenuCase& c : menus) {
        SCOPED_TRACE(c.tools);
        ASSERT_NO_FATAL_FAILURE(open(picture(2000, 1000, 0xff3060a0), c.tools));
        auto bar = ownBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->frame(), CGRectMake(0, 20, 320, 44));
        EXPECT_EQ(bar->barPosition(), UIBarPosition::TopAttached);
        EXPECT_EQ(editor->menuView()->frame(), CGRectMake(0, 488, 320, 80));
        EXPECT_EQ(editor->scrollView()->frame(), CGRectMake(0, 64, 320, 424));
        std::vector<double> xs;
        for (const auto& item : menuItems()) {
            xs.push_back(item->frame().origin.x);
            EXPECT_EQ(item->frame().size, CGSizeMake(70, 80));
        }
        EXPECT_EQ(xs, c.itemX);
        EXPECT_EQ(editor->menuView()->contentSize(), CGSizeMake(c.contentWidth, 0));
        editor->dismissViewControllerAnimatedCompletion(false, nullptr);
    }

    struct PictureCase {
        size_t width, height;
        CGRect frame;
        double maximumZoom;
    };
    const PictureCase pictures[] = {
        // Wider than the box: fitted to its width, zoomable until a picture point is a
        // screen point.
        {2000, 1000, CGRectMake(0, 132, 320, 160), 6.25},
        // Taller: fitted to its height.
        {500, 1000, CGRectMake(54, 0, 212, 424), 1000.0 / 424},
        // Smaller than the box: still fitted, zoomable until it fills the box's height.
        {100, 50, CGRectMake(0, 132, 320, 160), 424.0 / 160},
    };
    for (const PictureCase& c : pictures) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        ASSERT_NO_FATAL_FAILURE(open(picture(c.width, c.height, 0xff3060a0)));
        EXPECT_EQ(editor->imageView()->frame(), c.frame);
        EXPECT_EQ(editor->scrollView()->minimumZoomScale(), 1);
        EXPECT_DOUBLE_EQ(editor->scrollView()->maximumZoomScale(), c.maximumZoom);
        EXPECT_EQ(editor->scrollView()->zoomScale(), 1);
        EXPECT_EQ(editor->scrollView()->contentSize(), c.frame.size);
        editor->dismissViewControllerAnimatedCompletion(false, nullptr);
    }
}

TEST_F(EditorScreenTest, ZoomingKeepsThePictureCentredAndAToolCanFreezeIt) {
    ASSERT_NO_FATAL_FAILURE(open(picture(2000, 1000, 0xff3060a0)));
    auto scroll = editor->scrollView();
    scroll->setZoomScale(2);
    // 640 x 320: wider than the box, still shorter than it, so centred vertically only.
    EXPECT_EQ(editor->imageView()->frame(), CGRectMake(0, 52, 640, 320));

    editor->fixZoomScaleWithAnimated(false);
    EXPECT_DOUBLE_EQ(scroll->zoomScale(), 0.95);
    EXPECT_DOUBLE_EQ(scroll->minimumZoomScale(), 0.95);
    EXPECT_DOUBLE_EQ(scroll->maximumZoomScale(), 0.95);
    EXPECT_EQ(scroll->pinchGestureRecognizer(), nullptr) << "frozen: no pinch";

    editor->resetZoomScaleWithAnimated(false);
    EXPECT_EQ(scroll->zoomScale(), 1);
    EXPECT_DOUBLE_EQ(scroll->maximumZoomScale(), 6.25);
    EXPECT_NE(scroll->pinchGestureRecognizer(), nullptr);
}

TEST_F(EditorScreenTest, AToolSwapsTheBarsAndMenuTapsWaitUntilItEnds) {
    auto original = picture(200, 100, 0xffff0000);
    ASSERT_NO_FATAL_FAILURE(open(original));
    EXPECT_TRUE(onScreen("Cancel"));
    EXPECT_TRUE(onScreen("Done"));
    EXPECT_EQ(ownBar()->topItem()->title(), "Edit");

    ASSERT_NO_FATAL_FAILURE(openToolWithPreview());
    EXPECT_EQ(toolLog, (std::vector<std::string>{"setup Tool 1"}));
    EXPECT_EQ(ownBar()->topItem()->title(), "Tool 1");
    EXPECT_TRUE(onScreen("OK"));
    EXPECT_TRUE(onScreen("Back"));
    EXPECT_FALSE(onScreen("Done"));
    // The menu has slid below the screen.
    EXPECT_EQ(editor->menuView()->frame().origin.y, 568);

    // Even with the menu back in reach (a tool may move it), another tool is not made, and
    // a second tap on the same item makes no second tool.
    editor->menuView()->setTransform(CGAffineTransformIdentity);
    auto active = editor->currentTool();
    ASSERT_NO_FATAL_FAILURE(tapTool(1));
    ASSERT_NO_FATAL_FAILURE(tapTool(0));
    EXPECT_EQ(editor->currentTool(), active);
    EXPECT_EQ(toolLog, (std::vector<std::string>{"setup Tool 1"}));

    // Back throws the preview away.
    ASSERT_NO_FATAL_FAILURE(tapLabel("Back"));
    EXPECT_EQ(editor->currentTool(), nullptr);
    EXPECT_EQ(toolLog, (std::vector<std::string>{"setup Tool 1", "cleanup Tool 1"}));
    EXPECT_EQ(pixels(editor->imageView()->image()), pixels(original));
    EXPECT_EQ(editor->imageView()->frame(), CGRectMake(0, 132, 320, 160));
    EXPECT_TRUE(onScreen("Done"));
    EXPECT_FALSE(onScreen("OK"));
    EXPECT_EQ(editor->menuView()->transform(), CGAffineTransformIdentity);
}

TEST_F(EditorScreenTest, OkKeepsTheToolOnAnErrorAndTakesThePictureOnSuccess) {
    auto original = picture(200, 100, 0xffff0000);
    ASSERT_NO_FATAL_FAILURE(open(original));
    ASSERT_NO_FATAL_FAILURE(openToolWithPreview());
    auto preview = editor->imageView()->image();

    ASSERT_NO_FATAL_FAILURE(tapLabel("OK"));
    ASSERT_TRUE(pendingAnswer);
    pendingAnswer(nullptr,
                  NSError::errorWithDomainCodeUserInfo(
                      "PETest", 7, {{NSLocalizedDescriptionKey, "The picture is too large."}}),
                  nullptr);
    EXPECT_TRUE(alertShown("Error: The picture is too large. [OK]"));
    auto alert = std::dynamic_pointer_cast<UIAlertView>(window->subviews().back());
    ASSERT_NE(alert, nullptr);
    EXPECT_TRUE(alert->tapButtonWithTitle("OK"));
    EXPECT_NE(editor->currentTool(), nullptr);
    EXPECT_EQ(editor->imageView()->image(), preview);
    EXPECT_EQ(pixels(editor->originalImage()), pixels(original));
    EXPECT_TRUE(onScreen("OK")) << "the tool's bar stays";

    // Nothing without an error leaves the tool active too.
    ASSERT_NO_FATAL_FAILURE(tapLabel("OK"));
    pendingAnswer(nullptr, nullptr, nullptr);
    EXPECT_NE(editor->currentTool(), nullptr);

    auto result = picture(300, 300, 0xff0000ff);
    ASSERT_NO_FATAL_FAILURE(tapLabel("OK"));
    pendingAnswer(result, nullptr, nullptr);
    EXPECT_EQ(editor->currentTool(), nullptr);
    EXPECT_EQ(editor->originalImage(), result);
    EXPECT_EQ(editor->imageView()->image(), result);
    EXPECT_EQ(editor->imageView()->frame(), CGRectMake(0, 52, 320, 320));
    EXPECT_EQ(toolLog.back(), "cleanup Tool 1");
    EXPECT_TRUE(onScreen("Done"));
}

TEST_F(EditorScreenTest, AToolThatNeverAnswersLeavesBackWorkingAndItsLateAnswerIsDropped) {
    auto original = picture(200, 100, 0xffff0000);
    ASSERT_NO_FATAL_FAILURE(open(original));
    ASSERT_NO_FATAL_FAILURE(openToolWithPreview());
    ASSERT_NO_FATAL_FAILURE(tapLabel("OK"));
    ASSERT_TRUE(pendingAnswer);
    auto late = std::move(pendingAnswer);

    // While OK runs, the picture takes no touches and OK cannot run twice.
    auto hit = window->hitTestWithEvent(CGPointMake(160, 276), nullptr);
    EXPECT_FALSE(hit && hit->isDescendantOfView(editor->scrollView().get()));
    EXPECT_FALSE(onScreen("OK"));
    EXPECT_EQ(std::count(toolLog.begin(), toolLog.end(), "execute Tool 1"), 1);

    ASSERT_NO_FATAL_FAILURE(tapLabel("Back"));
    EXPECT_EQ(editor->currentTool(), nullptr);
    late(picture(10, 10, 0xff0000ff), nullptr, nullptr);
    EXPECT_EQ(pixels(editor->originalImage()), pixels(original));
    EXPECT_EQ(pixels(editor->imageView()->image()), pixels(original));
    hit = window->hitTestWithEvent(CGPointMake(160, 276), nullptr);
    EXPECT_TRUE(hit && hit->isDescendantOfView(editor->scrollView().get()));

    // A tool that answers twice: the second answer changes nothing.
    ASSERT_NO_FATAL_FAILURE(openToolWithPreview());
    ASSERT_NO_FATAL_FAILURE(tapLabel("OK"));
    auto first = picture(30, 30, 0xff00ffff);
    auto answer = pendingAnswer;
    answer(first, nullptr, nullptr);
    answer(picture(10, 10, 0xff0000ff), nullptr, nullptr);
    EXPECT_EQ(editor->originalImage(), first);
}

TEST_F(EditorScreenTest, AnAnswerFromAnotherThreadIsTakenOnTheMainThread) {
    ASSERT_NO_FATAL_FAILURE(open(picture(200, 100, 0xffff0000)));
    ASSERT_NO_FATAL_FAILURE(openToolWithPreview());
    ASSERT_NO_FATAL_FAILURE(tapLabel("OK"));
    auto answer = std::move(pendingAnswer);
    auto result = picture(50, 50, 0xff0000ff);
    std::thread worker([answer, result] { answer(result, nullptr, nullptr); });
    worker.join();
    EXPECT_NE(editor->currentTool(), nullptr) << "nothing happens off the main thread";
    environment_.runMainLoopUntilIdle();
    EXPECT_EQ(editor->currentTool(), nullptr);
    EXPECT_EQ(editor->originalImage(), result);
}

TEST_F(EditorScreenTest, CancelAsksTheDelegateOnlyWhenItAnswers) {
    struct Case {
        const char* name;
        std::shared_ptr<RecordingDelegate> delegate;
        bool staysOpen;
    };
    const Case cases[] = {
        {"no delegate", nullptr, false},
        {"a delegate keeping the default", std::make_shared<RecordingDelegate>(false), false},
        {"a delegate that answers", std::make_shared<RecordingDelegate>(true), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(open(picture(200, 100, 0xffff0000), 3, c.delegate));
        ASSERT_NO_FATAL_FAILURE(tapLabel("Cancel"));
        environment_.fastForwardBy(1);
        EXPECT_EQ(root->presentedViewController() == editor, c.staysOpen);
        if (c.delegate) {
            EXPECT_THAT(c.delegate->calls, ElementsAre("cancel"));
        }
        editor->dismissViewControllerAnimatedCompletion(false, nullptr);
    }
}

TEST_F(EditorScreenTest, DoneOffersTheSheetAndSaveLeavesTheEditedPictureInTheAlbum) {
    ASSERT_NO_FATAL_FAILURE(open(picture(200, 100, 0xffff0000)));
    ASSERT_NO_FATAL_FAILURE(openToolWithPreview());
    ASSERT_NO_FATAL_FAILURE(tapLabel("OK"));
    auto edited = picture(60, 40, 0xff2040c0);
    pendingAnswer(edited, nullptr, nullptr);

    ASSERT_NO_FATAL_FAILURE(tapLabel("Done"));
    environment_.fastForwardBy(1);
    auto sheet = std::dynamic_pointer_cast<UIAlertController>(editor->presentedViewController());
    ASSERT_NE(sheet, nullptr) << "the editor presents the sheet itself";
    std::vector<std::string> titles;
    for (const auto& action : sheet->actions()) {
        titles.push_back(action->title());
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Cancel", "Copy", "Save", "Share"}));

    ASSERT_TRUE(sheet->tapActionWithTitle("Save"));
    // The overlay covers the editor while the album write is held on its worker.
    environment_.fastForwardMainLoopBy(1);
    ASSERT_NE(editor->loadingDataActivity(), nullptr);
    EXPECT_EQ(editor->loadingDataActivity()->superview(), editor->view());
    EXPECT_EQ(editor->loadingDataActivity()->frame(), editor->view()->bounds());
    for (int i = 0; i < 3; ++i) {
        environment_.fastForwardBy(1);
    }
    auto saved = UIImage::imageWithContentsOfFile(
        stringByAppendingPathComponent(home_.path(), "Album/IMG_0001.png"));
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(pixels(saved), pixels(edited));
    EXPECT_EQ(editor->loadingDataActivity()->superview(), nullptr);
    EXPECT_TRUE(NSUserDefaults::standardUserDefaults()->boolForKey(kShouldShowFullScreenAdKey));
    EXPECT_EQ(root->presentedViewController(), editor) << "the editor stays open";
}

TEST_F(EditorScreenTest, ACopiedImageViewStartsExactlyOverItsSourceInAScaledContainer) {
    auto container = UIView::initWithFrame(CGRectMake(40, 100, 200, 200));
    container->setTransform(CGAffineTransformMakeScale(0.5, 0.5));
    root->view()->addSubview(container);
    auto target = UIImageView::initWithFrame(CGRectMake(20, 30, 120, 80));
    target->setImage(picture(12, 8, 0xffff0000));
    target->setContentMode(UIViewContentMode::ScaleAspectFill);
    container->addSubview(target);

    struct Case {
        const char* name;
        CGAffineTransform own;
    };
    const Case cases[] = {
        {"upright", CGAffineTransformIdentity},
        {"turned", CGAffineTransformMakeRotation(0.3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        target->setTransform(c.own);
        auto copy = UIImageView::initWithFrame(CGRectZero);
        window->addSubview(copy);
        _PEImageEditorViewController::copyImageViewInfoToView(target, copy);
        // The same corners on screen (the copy is the target's size as shown), same look.
        const CGSize own = target->bounds().size, copied = copy->bounds().size;
        EXPECT_EQ(copied, CGSizeMake(own.width / 2, own.height / 2));
        for (const CGPoint corner : {CGPointMake(0, 0), CGPointMake(1, 0), CGPointMake(1, 1)}) {
            const CGPoint want = target->convertPointToView(
                CGPointMake(corner.x * own.width, corner.y * own.height), nullptr);
            const CGPoint got = copy->convertPointToView(
                CGPointMake(corner.x * copied.width, corner.y * copied.height), nullptr);
            EXPECT_NEAR(got.x, want.x, 1e-9);
            EXPECT_NEAR(got.y, want.y, 1e-9);
        }
        EXPECT_EQ(copy->image(), target->image());
        EXPECT_EQ(copy->contentMode(), UIViewContentMode::ScaleAspectFill);
        EXPECT_EQ(target->transform(), c.own) << "the source keeps its transform";
        copy->removeFromSuperview();
    }
}

TEST_F(EditorScreenTest, EmbeddedTheEditorFliesInAndCancelGivesTheTargetItsOwnPictureBack) {
    auto container = UIView::initWithFrame(CGRectMake(40, 100, 200, 200));
    container->setTransform(CGAffineTransformMakeScale(0.5, 0.5));
    root->view()->addSubview(container);
    auto own = picture(200, 100, 0xffff0000);
    auto target = UIImageView::initWithFrame(CGRectMake(20, 30, 120, 80));
    target->setImage(own);
    container->addSubview(target);

    struct Case {
        const char* name;
        std::shared_ptr<PEImageEditorDelegate> delegate;
        std::function<std::vector<std::string>()> calls;
        std::vector<std::string> expected;
    };
    auto both = std::make_shared<RecordingDelegate>();
    auto didOnly = std::make_shared<DidOnlyDelegate>();
    const Case cases[] = {
        {"both methods", both, [both] { return both->calls; }, {"will canceled", "did canceled"}},
        {"only the end", didOnly, [didOnly] { return didOnly->calls; }, {"did canceled"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor = testScreen(PEImageEditor::initWithDelegate(c.delegate));
        editor->showInViewControllerWithImageView(root, target);
        EXPECT_EQ(editor->parentViewController(), root);
        EXPECT_EQ(editor->view()->superview(), root->view());
        EXPECT_EQ(editor->originalImage(), own) << "embedded, the picture is not copied";

        // The opening flight: a copy flies from the target to the picture's place while the
        // target and the editor's image view hide.
        auto copies = window->subviews();
        ASSERT_EQ(copies.size(), 2u);
        auto copy = std::dynamic_pointer_cast<UIImageView>(copies.back());
        ASSERT_NE(copy, nullptr);
        EXPECT_TRUE(target->isHidden());
        EXPECT_TRUE(editor->imageView()->isHidden());
        // The picture's place: fitted in the scroll view, which starts under the bar.
        EXPECT_EQ(copy->frame(), CGRectMake(0, 196, 320, 160)) << "where it lands";
        environment_.fastForwardBy(0.3);
        EXPECT_EQ(copy->superview(), nullptr);
        EXPECT_FALSE(target->isHidden());
        EXPECT_FALSE(editor->imageView()->isHidden());
        EXPECT_TRUE(onScreen("Cancel"));

        // An edit, then Cancel: the edit stays in the editor.
        ASSERT_NO_FATAL_FAILURE(openToolWithPreview());
        ASSERT_NO_FATAL_FAILURE(tapLabel("OK"));
        pendingAnswer(picture(20, 20, 0xff0000ff), nullptr, nullptr);
        ASSERT_NO_FATAL_FAILURE(tapLabel("Cancel"));
        EXPECT_EQ(c.calls(), std::vector<std::string>(c.expected.begin(), c.expected.end() - 1));
        // The closing flight ends over the target, the target hidden meanwhile.
        auto flying = std::dynamic_pointer_cast<UIImageView>(window->subviews()[1]);
        ASSERT_NE(flying, nullptr);
        EXPECT_EQ(flying->frame(), target->convertRectToView(target->bounds(), nullptr));
        EXPECT_EQ(flying->image(), own);
        EXPECT_TRUE(target->isHidden());
        environment_.fastForwardBy(0.3);
        EXPECT_EQ(c.calls(), c.expected);
        EXPECT_EQ(window->subviews().size(), 1u) << "the copy and the bars are gone";
        EXPECT_EQ(editor->parentViewController(), nullptr);
        EXPECT_TRUE(root->childViewControllers().empty());
        EXPECT_EQ(editor->view()->superview(), nullptr);
        EXPECT_FALSE(target->isHidden());
        EXPECT_EQ(target->image(), own);
    }
    EXPECT_TRUE(both->targetHiddenAtWill);
}

// The closing flight takes the editor's bar and menu away with it; embedding the same
// editor again brings both back instead of flying in without them.
TEST_F(EditorScreenTest, EmbeddedAgainAfterItsClosingFlightItHasItsBarsBack) {
    auto target = UIImageView::initWithFrame(CGRectMake(20, 100, 120, 80));
    target->setImage(picture(200, 100, 0xffff0000));
    root->view()->addSubview(target);
    editor = testScreen(PEImageEditor::init());
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        editor->showInViewControllerWithImageView(root, target);
        environment_.fastForwardBy(0.3);
        EXPECT_TRUE(onScreen("Cancel"));
        EXPECT_EQ(menuItems().size(), 3u);
        ASSERT_NO_FATAL_FAILURE(tapLabel("Cancel"));
        environment_.fastForwardBy(0.3);
        EXPECT_EQ(editor->parentViewController(), nullptr);
    }
}

TEST_F(EditorScreenTest, EmbeddedAgainAfterBeingCoveredTheFlightKeepsOneOpaqueBackdrop) {
    auto target = UIImageView::initWithFrame(CGRectMake(20, 100, 120, 80));
    target->setImage(picture(200, 100, 0xffff0000));
    root->view()->addSubview(target);
    editor = testScreen(PEImageEditor::init());
    editor->showInViewControllerWithImageView(root, target);
    environment_.fastForwardBy(0.3);
    const size_t views = editor->view()->subviews().size();

    root->presentViewControllerAnimatedCompletion(UIViewController::init(), false, nullptr);
    root->dismissViewControllerAnimatedCompletion(false, nullptr);
    environment_.fastForwardBy(0.3);
    EXPECT_EQ(editor->view()->subviews().size(), views);
    auto backdrop = editor->view()->subviews().front();
    ASSERT_NE(backdrop->backgroundColor(), nullptr);
    EXPECT_EQ(backdrop->alpha(), 1);
    EXPECT_EQ(backdrop->backgroundColor()->cgColor().a, 1);
    EXPECT_FALSE(target->isHidden());
}

TEST_F(EditorScreenTest, InANavigationControllerItsOwnBarWaitsForTools) {
    availableTestTools = 3;
    editor = testScreen(PEImageEditor::initWithImage(picture(200, 100, 0xffff0000)));
    auto navigation = UINavigationController::initWithRootViewController(editor);
    root->presentViewControllerAnimatedCompletion(navigation, false, nullptr);
    environment_.runUntilIdle();
    auto navigationBar = navigation->navigationBar();
    std::shared_ptr<UINavigationBar> bar;
    for (const auto& view : navigation->view()->subviews()) {
        auto found = std::dynamic_pointer_cast<UINavigationBar>(view);
        bar = found && found != navigationBar ? found : bar;
    }
    ASSERT_NE(bar, nullptr) << "the own bar lives in the navigation controller's view";
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(bar->frame(), navigationBar->frame());
    EXPECT_TRUE(bar->items().empty());
    EXPECT_EQ(editor->scrollView()->frame(), CGRectMake(0, 64, 320, 424));
    EXPECT_TRUE(onScreen("Done")) << "on the navigation controller's bar";

    ASSERT_NO_FATAL_FAILURE(tapTool(0));
    environment_.fastForwardBy(0.3);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->transform(), CGAffineTransformIdentity);
    EXPECT_EQ(navigationBar->transform(), CGAffineTransformMakeTranslation(0, -64));
    EXPECT_EQ(bar->topItem()->title(), "Tool 1");

    // Back, and another tool before the bar has gone: the bar stays for the new tool.
    ASSERT_NO_FATAL_FAILURE(tapLabel("Back"));
    ASSERT_NO_FATAL_FAILURE(tapTool(1));
    environment_.fastForwardBy(0.3);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(onScreen("OK"));
    ASSERT_NO_FATAL_FAILURE(tapLabel("Back"));
    environment_.fastForwardBy(0.3);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(navigationBar->transform(), CGAffineTransformIdentity);
}

TEST_F(EditorScreenTest, TheScreenReadsRight) {
    ASSERT_NO_FATAL_FAILURE(open(picture(400, 300, 0xff2060c0)));
    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    ASSERT_NE(shot, nullptr);
    const auto& image = *shot->cgImage();
    // The picture fills the box's width, centred between bar and menu: 320 x 240 at y 156.
    EXPECT_EQ(image.pixelAt(160, 276), 0xff2060c0u);
    EXPECT_EQ(image.pixelAt(5, 100), 0xffffffffu) << "white above the picture";
    // The bar reaches up behind the status bar, light grey; the menu strip is whitish.
    EXPECT_EQ(image.pixelAt(110, 5), image.pixelAt(110, 30));
    EXPECT_NE(image.pixelAt(110, 5), 0xffffffffu);
    // Cancel plain on the left, Done bold on the right, the title in the middle.
    window->layoutIfNeeded();
    auto cancel =
        std::dynamic_pointer_cast<UIButton>(TouchInjector::viewsWithLabel(window, "Cancel").back());
    auto done =
        std::dynamic_pointer_cast<UIButton>(TouchInjector::viewsWithLabel(window, "Done").back());
    ASSERT_TRUE(cancel && done);
    EXPECT_EQ(cancel->titleLabel()->font()->fontName(), "DejaVuSans");
    EXPECT_EQ(done->titleLabel()->font()->fontName(), "DejaVuSans-Bold");
    EXPECT_LT(cancel->convertPointToView(CGPointZero, nullptr).x, 50);
    EXPECT_GT(done->convertPointToView(CGPointZero, nullptr).x, 200);
    bool titled = false;
    for (const auto& view : ownBar()->subviews()) {
        auto label = std::dynamic_pointer_cast<UILabel>(view);
        titled =
            titled || (label && label->text() == "Edit" && CGRectGetMidX(label->frame()) == 160);
    }
    EXPECT_TRUE(titled);
    std::vector<std::string> titles;
    for (const auto& item : menuItems()) {
        titles.push_back(item->title());
    }
    EXPECT_THAT(titles, ElementsAre("Tool 1", "Tool 2", "Tool 3"));
}
} // namespace
