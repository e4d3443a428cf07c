// Recognises fingers dragging: Began once their centre has travelled far enough, Changed
// as they move, Ended when the last lifts. Reports how far they travelled and how fast.
#pragma once

#include "platform/uikit/UIGestureRecognizer.h"

#include <cstdint>

class UIPanGestureRecognizer : public UIGestureRecognizer {
    NS_OBJECT(UIPanGestureRecognizer)
public:
    // Points the fingers travel before the pan begins.
    static constexpr CGFloat kMinimumTravel = 10;

    static std::shared_ptr<UIPanGestureRecognizer>
    initWithTargetAction(std::weak_ptr<NSObject> target, Action action);
    static std::shared_ptr<UIPanGestureRecognizer> alloc() {
        return initWithTargetAction({}, nullptr);
    }

    // How far the fingers have travelled since they came down, in `view`'s coordinate
    // system (null: the window's).
    CGPoint translationInView(const UIView* view) const;
    // Makes the translation so far read `translation`; later travel adds to it.
    void setTranslationInView(const CGPoint& translation, const UIView* view);
    // Points per second, from the last movement.
    CGPoint velocityInView(const UIView* view) const;
    // While more fingers than the maximum, or fewer than the minimum, are down the pan
    // neither begins nor changes (a scroll view that leaves one finger to a tool asks for
    // two).
    size_t maximumNumberOfTouches() const { return maximumNumberOfTouches_; }
    void setMaximumNumberOfTouches(size_t maximum) { maximumNumberOfTouches_ = maximum; }
    size_t minimumNumberOfTouches() const { return minimumNumberOfTouches_; }
    void setMinimumNumberOfTouches(size_t minimum) { minimumNumberOfTouches_ = minimum; }

protected:
    UIPanGestureRecognizer() = default;

    void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) override;

private:
    // A finger coming or going moves the centre; the origin follows, so the translation
    // does not jump.
    void fingersChanged();

    size_t maximumNumberOfTouches_ = SIZE_MAX;
    size_t minimumNumberOfTouches_ = 1;
    // In window coordinates.
    CGPoint origin_{};
    CGPoint centre_{};
    CGPoint velocity_{};
    double lastMoveTime_ = 0;
};
