#include "editor/tools/effect/PEEffectTool.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEPreviewGate.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIView+PEImageToolInfo.h"
#include "editor/tools/effect/PEEffectBase.h"
#include "editor/tools/effect/PEHueEffect.h"
#include "editor/tools/effect/PEPosterizeEffect.h"
#include "editor/tools/effect/PESliderEffect.h"
#include "platform/base/ClassRegistry.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSError.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
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

// 16 x 12 pixels in four colours, so that posterizing changes every one.
std::shared_ptr<UIImage> quartersPicture() {
    static const uint32_t colours[] = {0xff336699u, 0xffcc4422u, 0xff88dd11u, 0xff606060u};
    return UIImage::imageWithCGImageScaleOrientation(
        makeImage(16, 12, CGImagePixelFormat::ARGB32Premultiplied,
                  [](size_t x, size_t y) { return colours[x / 8 + 2 * (y / 6)]; }),
        1, UIImageOrientation::Up);
}

bool twoLevels(const UIImage& image) {
    for (uint32_t p : pixelsOf(*image.cgImage())) {
        for (int shift : {0, 8, 16}) {
            const uint32_t c = (p >> shift) & 0xff;
            if (c != 0 && c != 0xff) {
                return false;
            }
        }
    }
    return true;
}

// An effect that never renders; listed only while a test wants it.
bool brokenEffectListed = false;
class TestBrokenEffect : public PEEffectBase {
    NS_OBJECT(TestBrokenEffect)
public:
    class ClassMethods : public PEEffectBase::ClassMethods {
    public:
        std::string defaultTitle(const Class&) const override { return "Broken"; }
        bool isAvailable(const Class&) const override { return brokenEffectListed; }
    };
    Render render() const override {
        return [](const std::shared_ptr<UIImage>&) { return std::shared_ptr<UIImage>(); };
    }
};

// The effect tool opened by a stand-in for the editor screen, with the background work
// held (manual) or on the pool's threads.
class EffectToolFixture : public ::testing::Test {
protected:
    explicit EffectToolFixture(TaskEnvironment::GlobalQueues queues) : environment(queues) {
        UIDevice::currentDevice()->setSystemVersion("7.0");
        ClassRegistry::shared().add<TestBrokenEffect, PEEffectBase>(
            {}, std::make_shared<TestBrokenEffect::ClassMethods>());
    }
    ~EffectToolFixture() override { brokenEffectListed = false; }

    void open() {
        entry = PEImageToolInfo::toolInfoForToolClass("PEEffectTool");
        ASSERT_TRUE(entry);
        tool = std::dynamic_pointer_cast<PEEffectTool>(host->openTool(entry));
        ASSERT_TRUE(tool);
    }
    std::vector<std::shared_ptr<PEToolbarMenuItem>> items() const {
        std::vector<std::shared_ptr<PEToolbarMenuItem>> found;
        for (const auto& view : tool->menuScroll()->subviews()) {
            found.push_back(std::dynamic_pointer_cast<PEToolbarMenuItem>(view));
        }
        return found;
    }
    std::shared_ptr<PEToolbarMenuItem> item(const std::string& effect) const {
        for (const auto& candidate : items()) {
            if (PEViewToolInfo::toolInfo(*candidate)->toolName() == effect) {
                return candidate;
            }
        }
        return nullptr;
    }
    void tap(const std::string& effect) {
        auto target = item(effect);
        ASSERT_TRUE(target) << effect;
        tool->tappedMenu(*target->gestureRecognizers().front());
    }
    // The selected slider effect's first slider moved to `value` as a finger moves it.
    void slide(float value) {
        auto effect = std::dynamic_pointer_cast<PESliderEffect>(tool->selectedEffect());
        ASSERT_TRUE(effect);
        auto strip = effect->containerView()->subviews().front();
        auto slider = std::dynamic_pointer_cast<UISlider>(strip->subviews().front());
        slider->setValue(value);
        slider->sendActionsForControlEvents(UIControlEventValueChanged);
    }
    void ok() {
        tool->executeWithCompletionBlock([this](std::shared_ptr<UIImage> image,
                                                std::shared_ptr<NSError> error,
                                                std::shared_ptr<NSObject>) {
            EXPECT_TRUE(NSThread::isMainThread());
            EXPECT_NE(!image, !error);
            answers.push_back(image);
            errors.push_back(error);
        });
    }
    static size_t held() { return GlobalThreadPool::shared().pendingTaskCount(); }

    TaskEnvironment environment;
    std::shared_ptr<UIImage> picture = quartersPicture();
    std::shared_ptr<FakeImageToolHost> host = FakeImageToolHost::withImage(picture);
    std::shared_ptr<PEImageToolInfo> entry;
    std::shared_ptr<PEEffectTool> tool;
    std::vector<std::shared_ptr<UIImage>> answers;
    std::vector<std::shared_ptr<NSError>> errors;
};

class PEEffectToolTest : public EffectToolFixture {
protected:
    PEEffectToolTest() : EffectToolFixture(TaskEnvironment::GlobalQueues::Manual) {}
};

class PEEffectToolThreadedTest : public EffectToolFixture {
protected:
    PEEffectToolThreadedTest() : EffectToolFixture(TaskEnvironment::GlobalQueues::Threaded) {}
};

TEST_F(PEEffectToolTest, TheStripListsTheAvailableEffectsAndSelectsNone) {
    const struct {
        const char* version;
        std::vector<std::string> effects;
        double contentWidth;
    } cases[] = {
        {"7.0",
         {"PEEffectBase", "PESpotEffect", "PEHueEffect", "PEHighlightShadowEffect", "PEBloomEffect",
          "PEGloomEffect", "PEPosterizeEffect", "PEPixellateEffect"},
         560},
        {"5.1", {"PEEffectBase", "PEHueEffect", "PEHighlightShadowEffect"}, 321},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        UIDevice::currentDevice()->setSystemVersion(c.version);
        host = FakeImageToolHost::withImage(picture);
        open();
        const auto strip = tool->menuScroll();
        EXPECT_EQ(strip->superview(), host->view());
        EXPECT_TRUE(CGRectEqualToRect(strip->frame(), host->menuView()->frame()));
        EXPECT_TRUE(CGSizeEqualToSize(strip->contentSize(), CGSizeMake(c.contentWidth, 0)));
        std::vector<std::string> listed;
        for (const auto& view : items()) {
            listed.push_back(PEViewToolInfo::toolInfo(*view)->toolName());
            EXPECT_TRUE(view->iconImage()) << listed.back();
        }
        EXPECT_EQ(listed, c.effects);
        EXPECT_EQ(host->fixZoomCalls, 1);
        // None is selected and previewed: the picture at the image view's size, unchanged.
        EXPECT_EQ(tool->selectedMenu(), items()[0]);
        EXPECT_EQ(items()[0]->backgroundColor(),
                  PEImageEditorTheme::theme()->toolbarSelectedButtonColor());
        EXPECT_EQ(tool->selectedEffect()->className(), "PEEffectBase");
        EXPECT_EQ(held(), 1u);
        environment.runUntilIdle();
        EXPECT_EQ(host->imageView()->image(), tool->thumbnailImage());
        EXPECT_EQ(tool->thumbnailImage()->cgImage()->width(), 320u);
        EXPECT_EQ(tool->thumbnailImage()->cgImage()->height(), 424u);
        host->back(*tool);
        environment.fastForwardBy(0.3);
        EXPECT_EQ(strip->superview(), nullptr);
        EXPECT_EQ(host->resetZoomCalls, 1);
    }
}

TEST_F(PEEffectToolTest, SelectingAnItemReplacesTheEffectAndItsControls) {
    open();
    environment.runUntilIdle();
    tap("PEHueEffect");
    auto hue = std::dynamic_pointer_cast<PEHueEffect>(tool->selectedEffect());
    ASSERT_TRUE(hue);
    EXPECT_EQ(hue->containerView()->superview(), host->imageView()->superview());
    double r, g, b, alpha = 1;
    ASSERT_TRUE(items()[0]->backgroundColor()->getRedGreenBlueAlpha(&r, &g, &b, &alpha));
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(held(), 1u);
    environment.runUntilIdle();

    // The selected item again: a flash, nothing else.
    UIViewAnimation::clearRecords();
    tap("PEHueEffect");
    EXPECT_EQ(tool->selectedEffect(), hue);
    EXPECT_EQ(held(), 0u);
    EXPECT_EQ(UIViewAnimation::records().size(), 1u);

    tap("PEPosterizeEffect");
    EXPECT_EQ(hue->containerView()->superview(), nullptr);
    environment.runUntilIdle();
    EXPECT_NE(host->imageView()->image(), tool->thumbnailImage());
    // A change the old effect reports is ignored.
    tool->effectParameterDidChange(*hue);
    EXPECT_EQ(held(), 0u);
}

TEST_F(PEEffectToolTest, ChangesWhileASettingsPreviewBuildsAreDroppedButOKUsesTheLatest) {
    open();
    tap("PEPosterizeEffect");
    environment.runUntilIdle();
    const auto shown = host->imageView()->image();

    slide(-10);
    EXPECT_TRUE(PEPreviewGate::of<PEEffectTool>().isBusy());
    EXPECT_EQ(held(), 1u);
    // Dropped: no second build.
    slide(-2);
    EXPECT_EQ(held(), 1u);
    environment.runUntilIdle();
    EXPECT_FALSE(PEPreviewGate::of<PEEffectTool>().isBusy());
    const auto tenLevels = host->imageView()->image();
    EXPECT_NE(tenLevels, shown);
    EXPECT_FALSE(twoLevels(*tenLevels));

    // OK applies the two levels the slider shows now, to the whole picture.
    ok();
    auto indicator =
        std::dynamic_pointer_cast<UIActivityIndicatorView>(host->view()->subviews().back());
    ASSERT_TRUE(indicator);
    EXPECT_TRUE(indicator->isAnimating());
    environment.runUntilIdle();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0]->cgImage()->width(), 16u);
    EXPECT_EQ(answers[0]->cgImage()->height(), 12u);
    EXPECT_TRUE(twoLevels(*answers[0]));
    // The spinner stays until the tool ends.
    EXPECT_EQ(indicator->superview(), host->view());
    host->back(*tool);
    EXPECT_EQ(indicator->superview(), nullptr);
}

TEST_F(PEEffectToolTest, AnOlderPreviewNeverReplacesANewerOne) {
    open();
    environment.runUntilIdle();
    tap("PEPosterizeEffect");
    // The selection's preview is rendered and on its way to the main thread when a
    // setting's preview is asked for.
    ASSERT_TRUE(GlobalThreadPool::shared().runNextTask());
    slide(-2);
    environment.runMainLoopUntilIdle();
    EXPECT_FALSE(twoLevels(*host->imageView()->image()));
    EXPECT_EQ(host->imageView()->image(), tool->thumbnailImage());
    environment.runUntilIdle();
    EXPECT_TRUE(twoLevels(*host->imageView()->image()));
}

TEST_F(PEEffectToolTest, APreviewThatEndsAfterBackIsDropped) {
    open();
    environment.runUntilIdle();
    tap("PEPosterizeEffect");
    host->back(*tool);
    environment.runUntilIdle();
    EXPECT_EQ(host->imageView()->image(), picture);
}

TEST_F(PEEffectToolTest, OKWithNoneGivesTheVeryPicture) {
    open();
    environment.runUntilIdle();
    ok();
    environment.runUntilIdle();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], picture);
}

TEST_F(PEEffectToolTest, AnEffectThatFailsKeepsThePreviewAndOKAnswersAnError) {
    brokenEffectListed = true;
    open();
    tap("PEPosterizeEffect");
    environment.runUntilIdle();
    const auto shown = host->imageView()->image();

    CapturedLog log;
    tap("TestBrokenEffect");
    environment.runUntilIdle();
    EXPECT_EQ(host->imageView()->image(), shown);
    EXPECT_THAT(log.lines(), Contains(HasSubstr("TestBrokenEffect")));
    ok();
    environment.runUntilIdle();
    ASSERT_EQ(errors.size(), 1u);
    ASSERT_TRUE(errors[0]);
    EXPECT_EQ(errors[0]->domain(), "PEEffectTool");
    EXPECT_FALSE(answers[0]);
}

TEST_F(PEEffectToolThreadedTest, PreviewsAndOKRunInTheBackgroundWhileSettingsChange) {
    open();
    tap("PEHueEffect");
    for (int i = 0; i < 20; ++i) {
        slide(static_cast<float>(i) * 0.1f);
    }
    ok();
    environment.runUntilIdle();
    EXPECT_FALSE(PEPreviewGate::of<PEEffectTool>().isBusy());
    ASSERT_EQ(answers.size(), 1u);
    ASSERT_TRUE(answers[0]);
    const auto expected = tool->selectedEffect()->applyEffect(picture);
    EXPECT_EQ(pixelsOf(*answers[0]->cgImage()), pixelsOf(*expected->cgImage()));
}

} // namespace
