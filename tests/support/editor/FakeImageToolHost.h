// A stand-in for the editor screen, for testing tools on their own: the screen's views at
// their places on a 320 x 568 screen (a picture view, the 80-point menu strip at the
// bottom, the picture's scroll view between the 64-point bars and the menu), the current
// picture, and a count of the zoom calls.
#pragma once

#include "editor/PEImageToolHost.h"

#include <memory>

class PEImageToolBase;
class PEImageToolInfo;

class FakeImageToolHost : public PEImageToolHost,
                          public std::enable_shared_from_this<FakeImageToolHost> {
public:
    // The image view shows `image` as the screen shows its current picture.
    static std::shared_ptr<FakeImageToolHost> withImage(std::shared_ptr<UIImage> image);

    std::shared_ptr<UIImage> originalImage() override { return originalImage_; }
    void setOriginalImage(std::shared_ptr<UIImage> image) { originalImage_ = std::move(image); }
    std::shared_ptr<UIImageView> imageView() override { return imageView_; }
    std::shared_ptr<UIScrollView> menuView() override { return menuView_; }
    std::shared_ptr<UIScrollView> scrollView() override { return scrollView_; }
    std::shared_ptr<UIView> view() override { return view_; }
    void fixZoomScaleWithAnimated(bool) override { ++fixZoomCalls; }
    void resetZoomScaleWithAnimated(bool) override { ++resetZoomCalls; }

    // The tool the entry names, made through the class registry as the screen makes it,
    // given this host and the entry, then set up; null when the class is no tool.
    std::shared_ptr<PEImageToolBase> openTool(const std::shared_ptr<PEImageToolInfo>& toolInfo);
    // The screen's Back: the image view shows the current picture again and the tool's
    // cleanup runs (the screen then lets the tool go).
    void back(PEImageToolBase& tool);
    // A screen that has no menu strip.
    void removeMenu();

    int fixZoomCalls = 0;
    int resetZoomCalls = 0;

private:
    FakeImageToolHost() = default;

    std::shared_ptr<UIImage> originalImage_;
    std::shared_ptr<UIView> view_;
    std::shared_ptr<UIScrollView> scrollView_;
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UIScrollView> menuView_;
};
