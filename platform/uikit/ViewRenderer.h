// Paints view trees into graphics contexts: each view's shadow, background, own drawing,
// layer content, subviews and border, under its transform, alpha, clipping and mask.
#pragma once

#include "platform/graphics/CGContext.h"

#include <memory>

class UIImage;
class UIView;
class UIWindow;

class ViewRenderer {
public:
    // The view and its subviews in the view's own (bounds) coordinates, as the platform's
    // layer rendering does; the view's own position and transform are not applied.
    static void renderInContext(const UIView& view, const CGContextRef& context);
    // The window as the screen shows it, at the given scale (0: the screen's); the key
    // window with the keyboard over it while the keyboard is up.
    static std::shared_ptr<UIImage> snapshotWindow(const UIWindow& window, double scale);
};
