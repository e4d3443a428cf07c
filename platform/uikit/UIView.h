// A rectangle of the screen and the tree of views under it: geometry (frame, bounds,
// centre, transform), the subview list, conversion between coordinate systems, hit
// testing and the autoresizing of subviews when a view changes size.
#pragma once

#include "platform/graphics/CGAffineTransform.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIResponder.h"

#include <memory>
#include <string>
#include <vector>

class CALayer;
struct CATransform3D;
class UIColor;
class UIEvent;
class UIGestureRecognizer;
class UIWindow;

enum UIViewAutoresizing : unsigned {
    UIViewAutoresizingNone = 0,
    UIViewAutoresizingFlexibleLeftMargin = 1 << 0,
    UIViewAutoresizingFlexibleWidth = 1 << 1,
    UIViewAutoresizingFlexibleRightMargin = 1 << 2,
    UIViewAutoresizingFlexibleTopMargin = 1 << 3,
    UIViewAutoresizingFlexibleHeight = 1 << 4,
    UIViewAutoresizingFlexibleBottomMargin = 1 << 5,
};

enum class UIViewContentMode {
    ScaleToFill,
    ScaleAspectFit,
    ScaleAspectFill,
    Redraw,
    Center,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

class UIView : public UIResponder {
    NS_OBJECT(UIView)
public:
    static std::shared_ptr<UIView> initWithFrame(const CGRect& frame);
    // What the class registry makes: its plain initialiser with a zero frame. Each view
    // class with a factory declares its own.
    static std::shared_ptr<UIView> alloc() { return initWithFrame(CGRectZero); }

    // Views belong to the main thread. A change, layout or drawing from another thread is
    // a bug that would otherwise show only as a rare race, so debug builds stop there and
    // name the call; release builds check nothing.
    static void requireMainThread(const char* call);

    // Geometry. The frame is derived from centre, bounds size and transform; setting it
    // sets centre and bounds size (as the platform does: under a scale transform, such as
    // a zoomed view's, the bounds take the frame's size unscaled; under a rotation the
    // frame's size is taken as it is).
    CGRect frame() const;
    void setFrame(const CGRect& frame);
    CGRect bounds() const { return bounds_; }
    // Virtual so that views whose bounds origin means something (scroll views) can follow
    // every change, those made through the frame included.
    virtual void setBounds(const CGRect& bounds);
    CGPoint center() const { return center_; }
    void setCenter(const CGPoint& center);
    // The affine part of the layer's transform: setting a 3-D transform on the layer
    // changes it (and the frame) too.
    CGAffineTransform transform() const { return transform_; }
    void setTransform(const CGAffineTransform& transform);

    // Appearance and behaviour flags.
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    long tag() const { return tag_; }
    void setTag(long tag) { tag_ = tag; }
    std::shared_ptr<UIColor> backgroundColor() const { return backgroundColor_; }
    virtual void setBackgroundColor(std::shared_ptr<UIColor> color);
    // Corner radius, border, shadow and mask of the view, and its extra sublayers.
    std::shared_ptr<CALayer> layer() const;
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    // Virtual so that a view may show whether it takes touches (dimming itself).
    virtual void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips) { clipsToBounds_ = clips; }
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    UIViewContentMode contentMode() const { return contentMode_; }
    void setContentMode(UIViewContentMode mode) { contentMode_ = mode; }
    unsigned autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool value) { autoresizesSubviews_ = value; }
    // What assistive technology and the scenario's `tap "Label"` call the view; views that
    // show text answer it when none was set.
    virtual std::string accessibilityLabel() const { return accessibilityLabel_; }
    void setAccessibilityLabel(std::string label) { accessibilityLabel_ = std::move(label); }

    // The tree.
    std::shared_ptr<UIView> superview() const { return superview_.lock(); }
    // A copy, back to front, so that callers may change the tree while walking it.
    std::vector<std::shared_ptr<UIView>> subviews() const { return subviews_; }
    // The window the view is in, or null.
    virtual std::shared_ptr<UIWindow> window() const;
    void addSubview(const std::shared_ptr<UIView>& view);
    // `index` is the view's position afterwards; out-of-range indices are clamped to the
    // ends. A view is never added to itself or to one of its descendants.
    void insertSubviewAtIndex(const std::shared_ptr<UIView>& view, long index);
    // When `sibling` is not a subview, the view is added on top.
    void insertSubviewAboveSubview(const std::shared_ptr<UIView>& view,
                                   const std::shared_ptr<UIView>& sibling);
    void insertSubviewBelowSubview(const std::shared_ptr<UIView>& view,
                                   const std::shared_ptr<UIView>& sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const std::shared_ptr<UIView>& view);
    void sendSubviewToBack(const std::shared_ptr<UIView>& view);
    // Does nothing when either index is out of range.
    void exchangeSubviewAtIndexWithSubviewAtIndex(long index1, long index2);
    bool isDescendantOfView(const UIView* view) const;
    // Depth-first, the receiver first; null when none has the tag.
    std::shared_ptr<UIView> viewWithTag(long tag);

    // Makes the first responder resign when it is this view or one inside it (the keyboard
    // goes); with `force`, even one that refuses. YES when none of them is left first
    // responder.
    bool endEditing(bool force);

    // Coordinate conversion; a null view means the window's (screen) coordinates.
    CGPoint convertPointToView(const CGPoint& point, const UIView* view) const;
    CGPoint convertPointFromView(const CGPoint& point, const UIView* view) const;
    CGRect convertRectToView(const CGRect& rect, const UIView* view) const;
    CGRect convertRectFromView(const CGRect& rect, const UIView* view) const;

    // Hit testing: the deepest visible, interactive view containing the point (in the
    // receiver's coordinates); subviews are tried front to back.
    virtual bool pointInsideWithEvent(const CGPoint& point, const UIEvent* event) const;
    virtual std::shared_ptr<UIView> hitTestWithEvent(const CGPoint& point, const UIEvent* event);

    // Gesture recognisers see the touches landing in this view or its subviews before the
    // view does. Adding one attached elsewhere moves it here.
    void addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
    void removeGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers() const {
        return gestureRecognizers_;
    }
    // Asked before a recogniser of this view, or one watching a touch that landed here,
    // leaves Possible; NO makes it fail.
    virtual bool gestureRecognizerShouldBegin(UIGestureRecognizer& recognizer) { return true; }

    // Drawing: drawRect paints the view's own content in its bounds' coordinates, into
    // the current graphics context; setNeedsDisplay asks for it to be painted again.
    virtual void drawRect(const CGRect& rect) {}
    virtual void setNeedsDisplay();
    bool needsDisplay() const { return needsDisplay_; }

    // Layout.
    void setNeedsLayout();
    void layoutIfNeeded();
    virtual void layoutSubviews() {}
    virtual CGSize sizeThatFits(const CGSize& size) const { return bounds_.size; }
    void sizeToFit();

    // The responder chain: the controller whose view this is, else the superview.
    std::shared_ptr<UIResponder> nextResponder() const override;
    // Set by a view controller on its root view.
    void setViewController(const std::weak_ptr<UIResponder>& controller) {
        viewController_ = controller;
    }

    // "<UIView; frame = (0 0; 375 667)>", with hidden, alpha and tag when not default.
    std::string description() const override;

protected:
    UIView() = default;

    // Hooks around tree changes, for subclasses.
    virtual void willMoveToSuperview(UIView* newSuperview) {}
    virtual void didMoveToSuperview() {}
    virtual void willMoveToWindow(UIWindow* newWindow) {}
    virtual void didMoveToWindow() {}
    virtual void didAddSubview(UIView* subview) {}
    virtual void willRemoveSubview(UIView* subview) {}

private:
    std::shared_ptr<UIView> sharedSelf() const;
    // Position of a subview in subviews_, or -1.
    long indexOfSubview(const UIView* view) const;
    void insertSubviewNextTo(const std::shared_ptr<UIView>& view,
                             const std::shared_ptr<UIView>& sibling, long offset);
    // Takes the view out of its superview's list without calling any hook.
    void detachFromSuperview();
    void resizeSubviews(const CGSize& oldSize);
    void notifyWindowChange(UIWindow* newWindow, bool before);
    // The own layer's transform was set (directly or through setTransform).
    void layerTransformDidChange(const CATransform3D& transform);
    // Maps this view's coordinates into its superview's.
    CGAffineTransform transformToSuperview() const;
    // Maps this view's coordinates into `ancestor`'s, or into the root's when `ancestor` is
    // null or not an ancestor.
    CGAffineTransform transformToAncestor(const UIView* ancestor) const;
    // Maps this view's coordinates into `view`'s (window coordinates when null).
    CGAffineTransform transformToView(const UIView* view) const;

    CGRect bounds_{};
    CGPoint center_{};
    CGAffineTransform transform_ = CGAffineTransformIdentity;
    double alpha_ = 1.0;
    bool hidden_ = false;
    long tag_ = 0;
    std::shared_ptr<UIColor> backgroundColor_;
    bool userInteractionEnabled_ = true;
    bool clipsToBounds_ = false;
    bool opaque_ = true;
    UIViewContentMode contentMode_ = UIViewContentMode::ScaleToFill;
    unsigned autoresizingMask_ = UIViewAutoresizingNone;
    bool autoresizesSubviews_ = true;
    bool needsLayout_ = true;
    bool needsDisplay_ = true;
    std::string accessibilityLabel_;
    std::weak_ptr<UIView> superview_;
    std::vector<std::shared_ptr<UIView>> subviews_;
    std::weak_ptr<UIResponder> viewController_;
    mutable std::shared_ptr<CALayer> layer_;
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers_;
};
