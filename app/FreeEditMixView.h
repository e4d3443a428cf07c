// One photo card of the free collage: the photo with a white edge and a shadow. One finger
// moves the card, two scale and turn the photo, a double tap doubles it and a tap brings
// the card to the front. Only the photo takes touches: around it (the card's empty
// corners once the photo is turned) they reach whatever lies below.
#pragma once

#include "platform/uikit/UIView.h"

#include <memory>

class UIImageView;

class FreeEditMixView : public UIView {
    NS_OBJECT(FreeEditMixView)
public:
    // The photo's scale against its laid-out size stays within these bounds, whatever the
    // fingers do: at a quarter a card is still large enough to take two fingers again, and
    // eight times is well past any canvas (powers of two, so double taps land on them).
    static constexpr float kMinimumScale = 0.25f;
    static constexpr float kMaximumScale = 8.0f;
    // Fingers closer than this (in points) are too close to measure a spread by: the
    // scale is left alone for that move, and only the turn is taken.
    static constexpr float kMinimumFingerDistance = 1.0f;
    // What a double tap multiplies the photo's size by.
    static constexpr float kDoubleTapScale = 2.0f;

    static std::shared_ptr<FreeEditMixView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<FreeEditMixView> alloc() { return initWithFrame(CGRectZero); }

    // The photo, filling the card until a gesture transforms it.
    std::shared_ptr<UIImageView> showImageView() const { return showImageView_; }

    // Fits the card's bounds to `frame` (the photo's frame after a transform), so that
    // the card covers the photo again wherever it reaches.
    void showOverlayWithFrame(const CGRect& frame);

    // The direction from point 2 to point 1, in radians (atan2 of their differences).
    static CGFloat angleBetweenPoint1AndPoint2(const CGPoint& point1, const CGPoint& point2);
    // The distance between two points, unrounded: rounded to whole points, fingers less
    // than a point apart would measure 0 and scale the photo to nothing.
    static float distanceBetweenPoint1AndPoint2(const CGPoint& point1, const CGPoint& point2);
    // The photo's present scale against its laid-out size (a turn leaves it unchanged).
    float photoScale() const;

    // The photo, or nothing: the card's own area lets touches through.
    std::shared_ptr<UIView> hitTestWithEvent(const CGPoint& point, const UIEvent* event) override;
    void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;

protected:
    FreeEditMixView() = default;

private:
    void initShowImageView();
    // Whether the touch is on the photo now.
    bool isOnPhoto(const UITouch& touch) const;
    // Scales the photo by `factor`, kept so that its scale stays within the bounds.
    void scalePhotoBy(float factor);
    // Scales and turns the photo by how two fingers moved.
    void followFingers(const UITouch& first, const UITouch& second);

    std::shared_ptr<UIImageView> showImageView_;
};
