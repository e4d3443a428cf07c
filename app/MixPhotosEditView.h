// One photo cell of a template collage: a window shaped like the cell's outline onto a
// photo the user can pan and zoom. Touches outside the outline fall through to whatever
// lies below, a neighbouring cell included.
#pragma once

#include "app/MixPhotosEditViewDelegate.h"
#include "platform/uikit/UIScrollView.h"

#include <memory>

class UIBezierPath;
class UIImage;
class UIImageView;
class UITapGestureRecognizer;

class MixPhotosEditView : public UIScrollView, public UIScrollViewDelegate {
    NS_OBJECT(MixPhotosEditView)
public:
    // What the photo view is made as large as, in main-screen sizes: zooming it down to fit
    // a cell leaves room to zoom in before its pixels run out.
    static constexpr double kImageViewScreens = 2.5;
    // Where a new photo starts, before the zoom limits clamp it.
    static constexpr double kInitialZoomScale = 0.2;
    // What each double tap multiplies the zoom by.
    static constexpr float kDoubleTapZoomStep = 1.2f;

    static std::shared_ptr<MixPhotosEditView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<MixPhotosEditView> alloc() { return initWithFrame(CGRectZero); }

    // The inner zooming view, filling the cell, and the photo it zooms.
    std::shared_ptr<UIScrollView> contentView() const { return contentView_; }
    std::shared_ptr<UIImageView> imageview() const { return imageview_; }
    // The outline in the cell's own coordinates; null for a cell without one, which shows
    // nothing and takes no touches.
    std::shared_ptr<UIBezierPath> realCellArea() const { return realCellArea_; }
    void setRealCellArea(std::shared_ptr<UIBezierPath> area) { realCellArea_ = std::move(area); }
    std::shared_ptr<MixPhotosEditViewDelegate> tapDelegate() const { return tapDelegate_.lock(); }
    void setTapDelegate(std::weak_ptr<MixPhotosEditViewDelegate> delegate) {
        tapDelegate_ = std::move(delegate);
    }

    // Shows `image` covering the cell (aspect kept, anchored at the top left) and clips the
    // cell to its outline as it is now. A null image changes nothing.
    void setImageViewData(const std::shared_ptr<UIImage>& image);

    // Zooms in one step about the tap.
    void handleDoubleTap(UITapGestureRecognizer& recognizer);
    // The rectangle of the photo view (its own coordinates) that fills the cell at `scale`
    // when centred on `center`; a zero scale counts as 1.
    CGRect zoomRectForScaleWithCenter(float scale, CGPoint center) const;

    // Only the outline takes touches; every call also tells the tap delegate.
    bool pointInsideWithEvent(const CGPoint& point, const UIEvent* event) const override;
    // A finger moving on the cell itself (not taken by the inner view's pan) carries the
    // photo's centre to it, measured in the collage area.
    void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) override;

    // UIScrollViewDelegate of the inner view.
    std::shared_ptr<UIView> viewForZoomingInScrollView(UIScrollView& scrollView) override;
    void scrollViewDidEndZoomingWithViewAtScale(UIScrollView& scrollView,
                                                const std::shared_ptr<UIView>& view,
                                                double scale) override;

protected:
    MixPhotosEditView() = default;

private:
    void initImageView();

    std::shared_ptr<UIScrollView> contentView_;
    std::shared_ptr<UIImageView> imageview_;
    std::shared_ptr<UIBezierPath> realCellArea_;
    std::weak_ptr<MixPhotosEditViewDelegate> tapDelegate_;
};
