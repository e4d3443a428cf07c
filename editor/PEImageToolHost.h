// What a tool may use of the editor screen that opened it: the picture's view and its
// zooming scroll view, the menu strip's place, the root view its panels go into, and the
// freezing of the zoom while the tool needs a fixed geometry. The screen adopts it.
#pragma once

#include <memory>

class UIImage;
class UIImageView;
class UIScrollView;
class UIView;

class PEImageToolHost {
public:
    virtual ~PEImageToolHost() = default;

    // The editor's current picture: what a tool works on. The image view may be showing a
    // tool's preview instead.
    virtual std::shared_ptr<UIImage> originalImage() = 0;
    // The view showing the current picture; a tool may show its preview in it.
    virtual std::shared_ptr<UIImageView> imageView() = 0;
    // The menu strip at the bottom, slid below the screen while a tool is active: tools
    // place their own strips at its frame.
    virtual std::shared_ptr<UIScrollView> menuView() = 0;
    virtual std::shared_ptr<UIScrollView> scrollView() = 0;
    // The screen's root view, the parent of every panel a tool adds.
    virtual std::shared_ptr<UIView> view() = 0;
    // Freezes the zoom slightly below the fitted size; reset restores the fitted size and
    // free zooming.
    virtual void fixZoomScaleWithAnimated(bool animated) = 0;
    virtual void resetZoomScaleWithAnimated(bool animated) = 0;
};
