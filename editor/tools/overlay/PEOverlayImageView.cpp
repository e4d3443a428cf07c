#include "editor/tools/overlay/PEOverlayImageView.h"

#include "editor/PEImageToolBase.h"
#include "editor/widgets/PECircleView.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kControlSide = 2 * PEOverlayImageView::kMargin;

CGPoint midpoint(const CGRect& bounds) {
    return CGPointMake(bounds.size.width * 0.5, bounds.size.height * 0.5);
}
} // namespace

void PEOverlayImageView::buildWithImageTool(const std::shared_ptr<UIImage>& image,
                                            const PEImageToolBase& tool) {
    const CGSize size = image ? image->size() : CGSizeZero;
    UIView::setFrame(CGRectMake(0, 0, size.width + kControlSide, size.height + kControlSide));

    imageView_ = UIImageView::initWithImage(image);
    imageView_->layer()->setBorderColor(UIColor::blackColor()->cgColor());
    imageView_->layer()->setCornerRadius(3);
    imageView_->setCenter(midpoint(bounds()));
    addSubview(imageView_);

    const CGRect picture = imageView_->frame();
    deleteButton_ = UIButton::buttonWithType(UIButtonType::Custom);
    deleteButton_->setImageForState(
        tool.imageForKeyDefaultImageName("deleteIconAssetsName", "btn_delete.png"),
        UIControlStateNormal);
    deleteButton_->setFrame(CGRectMake(0, 0, kControlSide, kControlSide));
    deleteButton_->setCenter(picture.origin);
    deleteButton_->addTargetActionForControlEvents(self<PEOverlayImageView>(),
                                                   &PEOverlayImageView::pushedDeleteBtn,
                                                   UIControlEventTouchUpInside);
    addSubview(deleteButton_);

    circleView_ = PECircleView::initWithFrame(CGRectMake(0, 0, kControlSide, kControlSide));
    circleView_->setCenter(CGPointMake(CGRectGetMaxX(picture), CGRectGetMaxY(picture)));
    // Resized with the picture, it keeps to the bottom-right corner.
    circleView_->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                     UIViewAutoresizingFlexibleTopMargin);
    circleView_->setRadius(0.7);
    circleView_->setColor(UIColor::whiteColor());
    circleView_->setBorderColor(UIColor::blackColor());
    circleView_->setBorderWidth(5);
    addSubview(circleView_);

    scale_ = 1;
    arg_ = 0;
    initGestures();
}

void PEOverlayImageView::initGestures() {
    auto overlay = self<PEOverlayImageView>();
    imageView_->setUserInteractionEnabled(true);
    imageView_->addGestureRecognizer(UITapGestureRecognizer::initWithTargetAction(
        overlay, weakAction(overlay, &PEOverlayImageView::viewDidTap)));
    imageView_->addGestureRecognizer(UIPanGestureRecognizer::initWithTargetAction(
        overlay, weakAction(overlay, &PEOverlayImageView::viewDidPan)));
    circleView_->addGestureRecognizer(UIPanGestureRecognizer::initWithTargetAction(
        overlay, weakAction(overlay, &PEOverlayImageView::circleViewDidPan)));
}

std::shared_ptr<UIView> PEOverlayImageView::hitTestWithEvent(const CGPoint& point,
                                                             const UIEvent* event) {
    auto view = UIView::hitTestWithEvent(point, event);
    return view.get() == this ? nullptr : view;
}

void PEOverlayImageView::setActiveView(ClassState& state,
                                       const std::shared_ptr<PEOverlayImageView>& view) {
    if (view == state.active) {
        return;
    }
    if (state.active) {
        state.active->setAvtive(false);
    }
    state.active = view;
    if (view) {
        view->setAvtive(true);
        if (auto parent = view->superview()) {
            parent->bringSubviewToFront(view);
        }
    }
}

void PEOverlayImageView::activate() {
    setActiveView(classState(), self<PEOverlayImageView>());
}

void PEOverlayImageView::setAvtive(bool active) {
    deleteButton_->setHidden(!active);
    circleView_->setHidden(!active);
    imageView_->layer()->setBorderWidth(active ? 1 / scale_ : 0);
}

void PEOverlayImageView::setScale(double scale) {
    scale_ = scale;
    setTransform(CGAffineTransformIdentity);
    imageView_->setTransform(CGAffineTransformMakeScale(scale, scale));
    const CGRect frame = this->frame();
    const CGSize picture = imageView_->frame().size;
    const double w = picture.width + kControlSide, h = picture.height + kControlSide;
    setFrame(CGRectMake(frame.origin.x + (frame.size.width - w) * 0.5,
                        frame.origin.y + (frame.size.height - h) * 0.5, w, h));
    imageView_->setCenter(midpoint(bounds()));
    setTransform(CGAffineTransformMakeRotation(arg_));
    imageView_->layer()->setBorderWidth(1 / scale);
    imageView_->layer()->setCornerRadius(3 / scale);
}

void PEOverlayImageView::viewDidTap(UIGestureRecognizer&) {
    activate();
}

void PEOverlayImageView::viewDidPan(UIGestureRecognizer& recognizer) {
    activate();
    const CGPoint t =
        static_cast<UIPanGestureRecognizer&>(recognizer).translationInView(superview().get());
    if (recognizer.state() == UIGestureRecognizerState::Began) {
        initialPoint_ = center();
    }
    setCenter(CGPointMake(initialPoint_.x + t.x, initialPoint_.y + t.y));
}

void PEOverlayImageView::circleViewDidPan(UIGestureRecognizer& recognizer) {
    auto parent = superview();
    const CGPoint t =
        static_cast<UIPanGestureRecognizer&>(recognizer).translationInView(parent.get());
    const CGPoint c = center();
    ClassState& state = classState();
    if (recognizer.state() == UIGestureRecognizerState::Began) {
        initialPoint_ = convertPointToView(circleView_->center(), parent.get());
        const double dx = initialPoint_.x - c.x, dy = initialPoint_.y - c.y;
        state.referenceDistance = std::hypot(dx, dy);
        state.referenceAngle = std::atan2(dy, dx);
        initialArg_ = arg_;
        initialScale_ = scale_;
    }
    const double qx = initialPoint_.x + t.x - c.x, qy = initialPoint_.y + t.y - c.y;
    arg_ = initialArg_ + std::atan2(qy, qx) - state.referenceAngle;
    // A handle on the centre (a picture of no size) measures no distance: the scale stays.
    const double grown = state.referenceDistance > 0
                             ? initialScale_ * std::hypot(qx, qy) / state.referenceDistance
                             : initialScale_;
    setScale(std::max(grown, kMinimumScale));
}

void PEOverlayImageView::pushedDeleteBtn() {
    auto parent = superview();
    if (!parent) {
        return;
    }
    const auto siblings = parent->subviews();
    const auto me = std::find(siblings.begin(), siblings.end(), shared_from_this());
    const auto sameClass = [this](const std::shared_ptr<UIView>& view) {
        return view.get() != this && view->className() == className();
    };
    std::shared_ptr<UIView> next;
    if (auto front = std::find_if(me, siblings.end(), sameClass); front != siblings.end()) {
        next = *front;
    } else if (auto back = std::find_if(std::make_reverse_iterator(me), siblings.rend(), sameClass);
               back != siblings.rend()) {
        next = *back;
    }
    setActiveView(classState(), std::static_pointer_cast<PEOverlayImageView>(next));
    removeFromSuperview();
}
