#include "app/MixPhotosEditView.h"

#include <algorithm>

#include "app/MixTemplateCell.h"
#include "platform/quartzcore/CAShapeLayer.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UITouch.h"

std::shared_ptr<MixPhotosEditView> MixPhotosEditView::initWithFrame(const CGRect& frame) {
    auto view = makeWithFrame<MixPhotosEditView>(frame);
    view->initImageView();
    return view;
}

void MixPhotosEditView::initImageView() {
    setShowsHorizontalScrollIndicator(false);
    setShowsVerticalScrollIndicator(false);
    setBackgroundColor(UIColor::whiteColor());

    contentView_ = UIScrollView::initWithFrame(bounds());
    contentView_->setDelegate(self<MixPhotosEditView>());
    contentView_->setShowsHorizontalScrollIndicator(false);
    contentView_->setShowsVerticalScrollIndicator(false);
    addSubview(contentView_);

    const CGSize screen = UIScreen::mainScreen()->bounds().size;
    imageview_ = UIImageView::initWithFrame(
        CGRectMake(0, 0, kImageViewScreens * screen.width, kImageViewScreens * screen.height));
    imageview_->setBackgroundColor(UIColor::yellowColor());
    imageview_->setUserInteractionEnabled(true);
    contentView_->addSubview(imageview_);

    auto doubleTap = UITapGestureRecognizer::initWithTargetAction(
        self<MixPhotosEditView>(), [this](UIGestureRecognizer& recognizer) {
            if (recognizer.state() == UIGestureRecognizerState::Recognized) {
                handleDoubleTap(static_cast<UITapGestureRecognizer&>(recognizer));
            }
        });
    doubleTap->setNumberOfTapsRequired(2);
    imageview_->addGestureRecognizer(doubleTap);

    // The photo view at its smallest is exactly as wide as the cell.
    const float minimumScale =
        screen.width > 0
            ? static_cast<float>(frame().size.width / (kImageViewScreens * screen.width))
            : 1.0f;
    // A cell wider than the photo view at full size cannot shrink it below full size.
    contentView_->setMinimumZoomScale(std::min(minimumScale, 1.0f));
    contentView_->setZoomScale(std::min(minimumScale, 1.0f));
}

void MixPhotosEditView::setImageViewData(const std::shared_ptr<UIImage>& image) {
    imageview_->setImage(image);
    if (!image) {
        return;
    }
    const CGSize cover = MixTemplateCell::coveringSizeForImageSizeInCellSize(
        image->size(), contentView_->frame().size);
    // Set while the zoom is at its minimum: this is the photo's on-screen size there.
    imageview_->setFrame(CGRectMake(0, 0, cover.width, cover.height));

    auto mask = CAShapeLayer::layer();
    if (realCellArea_) {
        mask->setPath(realCellArea_->cgPath());
    }
    mask->setFillColor(CGColorMake(1, 1, 1, 1));
    mask->setFrame(CGRectMake(0, 0, cover.width, cover.height));
    layer()->setMask(mask);

    contentView_->setZoomScaleAnimated(kInitialZoomScale, true);
    setNeedsLayout();
}

void MixPhotosEditView::handleDoubleTap(UITapGestureRecognizer& recognizer) {
    const float scale = static_cast<float>(contentView_->zoomScale()) * kDoubleTapZoomStep;
    const CGPoint center = recognizer.locationInView(imageview_.get());
    contentView_->zoomToRectAnimated(zoomRectForScaleWithCenter(scale, center), true);
}

CGRect MixPhotosEditView::zoomRectForScaleWithCenter(float scale, CGPoint center) const {
    const double s = scale == 0 ? 1.0 : static_cast<double>(scale);
    const CGSize size = frame().size;
    const double width = size.width / s, height = size.height / s;
    return CGRectMake(center.x - width / 2, center.y - height / 2, width, height);
}

bool MixPhotosEditView::pointInsideWithEvent(const CGPoint& point, const UIEvent*) const {
    if (const auto delegate = tapDelegate_.lock()) {
        delegate->tapWithEditView(*this);
    }
    return realCellArea_ && realCellArea_->containsPoint(point);
}

void MixPhotosEditView::touchesMovedWithEvent(const UITouchSet& touches, const UIEvent*) {
    if (touches.empty()) {
        return;
    }
    const auto area = superview();
    imageview_->setCenter((*touches.begin())->locationInView(area.get()));
}

std::shared_ptr<UIView> MixPhotosEditView::viewForZoomingInScrollView(UIScrollView&) {
    return imageview_;
}

void MixPhotosEditView::scrollViewDidEndZoomingWithViewAtScale(UIScrollView& scrollView,
                                                               const std::shared_ptr<UIView>&,
                                                               double scale) {
    scrollView.setZoomScaleAnimated(scale, false);
}
