// A finger-painting tool opened by a stand-in for the editor screen shown in a window, so
// that fingers reach it: a plain 160 x 212 picture shown at twice its size in the 320 x 424
// picture view (a layer point is half a picture point), the panel slid in. The merge's
// background work runs on the pool's threads unless a test holds it.
#pragma once

#include "editor/PEImageToolInfo.h"
#include "editor/tools/draw/PEStrokeTool.h"
#include "harness/TouchGesture.h"
#include "harness/TouchInjector.h"
#include "platform/foundation/NSBundle.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/editor/FakeImageToolHost.h"
#include "tests/support/editor/ToolExecution.h"

#include <gtest/gtest.h>

template <class Tool> class StrokeToolFixture : public ::testing::Test {
protected:
    static constexpr uint32_t kPictureColour = 0xff2060e0;

    void SetUp() override {
        NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR);
        window->addSubview(host->view());
        window->makeKeyAndVisible();
        auto entry = PEImageToolInfo::toolInfoForToolClass(Tool::staticClassName());
        ASSERT_TRUE(entry);
        tool = std::dynamic_pointer_cast<Tool>(host->openTool(entry));
        ASSERT_TRUE(tool);
        environment.runUntilIdle(); // the panel slides in
    }

    // A point of the picture's view in the window: its scroll view starts 64 points down.
    static CGPoint inWindow(double x, double y) { return CGPointMake(x, 64 + y); }
    // One finger dragged across the picture's view, in its points.
    static void stroke(double x1, double y1, double x2, double y2) {
        TouchInjector::drag(inWindow(x1, y1), inWindow(x2, y2), 0.3);
    }
    // Two fingers side by side dragged across the picture: the scroll view's, never a stroke.
    static void twoFingerDrag() {
        TouchInjector::perform(TouchGesture::motion(
            [](double f) {
                return std::vector<CGPoint>{inWindow(60 + 150 * f, 150),
                                            inWindow(100 + 150 * f, 150)};
            },
            0.3));
    }
    // The pixel of a layer bitmap (screen scale 2) at a point of the layer.
    static uint32_t layerPixel(const std::shared_ptr<UIImage>& image, double x, double y) {
        return image->cgImage()->pixelAt(size_t(2 * x), size_t(2 * y));
    }
    static uint32_t at(const std::shared_ptr<UIImage>& image, double x, double y) {
        return image->cgImage()->pixelAt(size_t(x), size_t(y));
    }
    std::shared_ptr<UIImage> execute() { return executeAndWait(*tool, environment); }

    TaskEnvironment environment;
    std::shared_ptr<UIImage> picture =
        UIImage::imageWithCGImage(makeImage(160, 212, CGImagePixelFormat::ARGB32Premultiplied,
                                            [](size_t, size_t) { return kPictureColour; }));
    std::shared_ptr<FakeImageToolHost> host = FakeImageToolHost::withImage(picture);
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    std::shared_ptr<Tool> tool;
};
