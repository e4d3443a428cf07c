// A menu item of the clipping tool that shows one aspect ratio: its title, and the
// picture's icon cut to the ratio's shape. The ratio object is shared with the crop grid
// while the item is selected, so a turn of its orientation is seen by both.
#pragma once

#include "editor/PEToolbarMenuItem.h"

#include <memory>

class PERatio;

class PERatioMenuItem : public PEToolbarMenuItem {
    NS_OBJECT(PERatioMenuItem)
public:
    static std::shared_ptr<PERatioMenuItem>
    initWithFrameTargetActionToolInfo(const CGRect& frame, std::weak_ptr<NSObject> target,
                                      UIGestureRecognizer::Action action,
                                      const std::shared_ptr<PEImageToolInfo>& toolInfo);
    static std::shared_ptr<PERatioMenuItem> alloc();

    std::shared_ptr<PERatio> ratio() const { return ratio_; }
    // Refreshes the item only when the ratio is another object.
    void setRatio(std::shared_ptr<PERatio> ratio);
    // The title from the ratio; the icon keeps its centre and takes the ratio's shape, 50
    // points on its longer side (free cropping: the icon picture's own shape).
    void refreshViews();
    // Turns the ratio between landscape and portrait; the item follows in 0.2 seconds.
    void changeOrientation();

protected:
    PERatioMenuItem() = default;

private:
    std::shared_ptr<PERatio> ratio_;
};
