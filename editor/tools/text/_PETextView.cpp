#include "editor/tools/text/_PETextView.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolBase.h"
#include "editor/tools/text/PETextLabel.h"
#include "editor/widgets/PECircleView.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Kept once for the program, as the design has it: the active overlay, and where the
// latest handle drag started.
struct HandleDrag {
    double radius = 1;
    double angle = 0;
};
std::weak_ptr<_PETextView>& activeView() {
    static std::weak_ptr<_PETextView> view;
    return view;
}
HandleDrag& handleDrag() {
    static HandleDrag drag;
    return drag;
}

// Posted one turn of the main loop later, as the overlays announce what happened.
void postLater(const char* name, const std::shared_ptr<_PETextView>& view) {
    dispatch_async(dispatch_get_main_queue(), [name, view] {
        NSNotificationCenter::defaultCenter()->postNotificationNameObject(name, view);
    });
}
} // namespace

std::shared_ptr<_PETextView> _PETextView::initWithTool(const PEImageToolBase& tool) {
    auto view = make<_PETextView>();
    view->setFrame(CGRectMake(0, 0, 132, 132));

    auto label = PETextLabel::initWithFrame(CGRectZero);
    label->setTextColor(PEImageEditorTheme::theme()->toolbarTextColor());
    label->setNumberOfLines(0);
    label->setBackgroundColor(UIColor::clearColor());
    label->layer()->setBorderColor(UIColor::blackColor()->cgColor());
    label->layer()->setCornerRadius(3);
    label->setFont(UIFont::systemFontOfSize(kFontSize));
    label->setMinimumScaleFactor(0.02);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setTextAlignment(NSTextAlignment::Center);
    view->label_ = label;
    view->setText("");

    const float unlimited = std::numeric_limits<float>::max();
    const CGSize size = label->sizeThatFits(CGSizeMake(unlimited, unlimited));
    label->setFrame(CGRectMake(kMargin, kMargin, size.width, size.height));
    view->setFrame(CGRectMake(0, 0, size.width + 2 * kMargin, size.height + 2 * kMargin));
    view->addSubview(label);

    auto button = UIButton::buttonWithType(UIButtonType::Custom);
    button->setImageForState(
        tool.imageForKeyDefaultImageName("deleteIconAssetsName", "btn_delete.png"),
        UIControlStateNormal);
    button->setFrame(CGRectMake(0, 0, kControlSide, kControlSide));
    button->setCenter(label->frame().origin);
    button->setAccessibilityLabel("Delete text");
    button->addTargetActionForControlEvents(view, &_PETextView::pushedDeleteBtn,
                                            UIControlEventTouchUpInside);
    view->deleteButton_ = button;
    view->addSubview(button);

    auto handle = PECircleView::initWithFrame(CGRectMake(0, 0, kControlSide, kControlSide));
    handle->setCenter(CGPointMake(CGRectGetMaxX(label->frame()), CGRectGetMaxY(label->frame())));
    handle->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                UIViewAutoresizingFlexibleTopMargin);
    handle->setRadius(0.7);
    handle->setColor(UIColor::whiteColor());
    handle->setBorderColor(UIColor::blackColor());
    handle->setBorderWidth(5);
    view->circleView_ = handle;
    view->addSubview(handle);

    view->arg_ = 0;
    view->setScale(1);
    view->initGestures();
    return view;
}

void _PETextView::initGestures() {
    const auto target = self<_PETextView>();
    label_->setUserInteractionEnabled(true);
    label_->addGestureRecognizer(UITapGestureRecognizer::initWithTargetAction(
        target, [this](UIGestureRecognizer& tap) { viewDidTap(tap); }));
    label_->addGestureRecognizer(UIPanGestureRecognizer::initWithTargetAction(
        target, [this](UIGestureRecognizer& pan) { viewDidPan(pan); }));
    circleView_->addGestureRecognizer(UIPanGestureRecognizer::initWithTargetAction(
        target, [this](UIGestureRecognizer& pan) { circleViewDidPan(pan); }));
}

// Activation

std::shared_ptr<_PETextView> _PETextView::activeTextView() {
    return activeView().lock();
}

void _PETextView::setActiveTextView(const std::shared_ptr<_PETextView>& view) {
    const auto current = activeView().lock();
    if (view == current) {
        return;
    }
    if (current) {
        current->setAvtive(false);
    }
    activeView() = view;
    if (view) {
        view->setAvtive(true);
        if (const auto parent = view->superview()) {
            parent->bringSubviewToFront(view);
        }
    }
    postLater(PETextViewActiveViewDidChangeNotificationString, view);
}

void _PETextView::resetForTesting() {
    activeView().reset();
    handleDrag() = HandleDrag();
}

bool _PETextView::active() const {
    return !deleteButton_->isHidden();
}

void _PETextView::setAvtive(bool active) {
    deleteButton_->setHidden(!active);
    circleView_->setHidden(!active);
    label_->layer()->setBorderWidth(active ? 1 / scale_ : 0);
}

// Text and looks

void _PETextView::setText(const std::string& text) {
    if (hasText_ && text == text_) {
        return;
    }
    hasText_ = true;
    text_ = text;
    label_->setText(text.empty() ? PEImageEditorTheme::localizedStringWithDefault(
                                       "PETextTool_EmptyText", "Text")
                                 : text);
}

std::shared_ptr<UIFont> _PETextView::font() const {
    return label_->font();
}

void _PETextView::setFont(const std::shared_ptr<UIFont>& font) {
    if (font) {
        label_->setFont(font->fontWithSize(kFontSize));
    }
}

std::shared_ptr<UIColor> _PETextView::fillColor() const {
    return label_->textColor();
}

void _PETextView::setFillColor(const std::shared_ptr<UIColor>& color) {
    label_->setTextColor(color);
}

std::shared_ptr<UIColor> _PETextView::borderColor() const {
    return label_->outlineColor();
}

void _PETextView::setBorderColor(const std::shared_ptr<UIColor>& color) {
    label_->setOutlineColor(color);
}

double _PETextView::borderWidth() const {
    return label_->outlineWidth();
}

void _PETextView::setBorderWidth(double width) {
    label_->setOutlineWidth(width);
}

NSTextAlignment _PETextView::textAlignment() const {
    return label_->textAlignment();
}

void _PETextView::setTextAlignment(NSTextAlignment alignment) {
    label_->setTextAlignment(alignment);
}

// Geometry

void _PETextView::setScale(double scale) {
    scale_ = scale;
    setTransform(CGAffineTransformIdentity);
    label_->setTransform(CGAffineTransformMakeScale(scale, scale));
    const CGSize scaled = label_->frame().size;
    const CGPoint centre = center();
    const CGSize size = CGSizeMake(scaled.width + 2 * kMargin, scaled.height + 2 * kMargin);
    setFrame(
        CGRectMake(centre.x - size.width / 2, centre.y - size.height / 2, size.width, size.height));
    label_->setCenter(CGPointMake(size.width / 2, size.height / 2));
    setTransform(CGAffineTransformMakeRotation(arg_));
    // The frame line stays a point wide and three points round on screen.
    if (active()) {
        label_->layer()->setBorderWidth(1 / scale);
    }
    label_->layer()->setCornerRadius(3 / scale);
}

void _PETextView::sizeToFitWithMaxWidthLineHeight(double maxWidth, double lineHeight) {
    setTransform(CGAffineTransformIdentity);
    label_->setTransform(CGAffineTransformIdentity);
    const CGSize size =
        label_->sizeThatFits(CGSizeMake(maxWidth / 0.3, std::numeric_limits<float>::max()));
    label_->setFrame(CGRectMake(kMargin, kMargin, size.width, size.height));
    setScale(std::min(maxWidth / (size.width + 2 * kMargin), lineHeight / font()->lineHeight()));
}

// Touches

std::shared_ptr<UIView> _PETextView::hitTestWithEvent(const CGPoint& point, const UIEvent* event) {
    auto hit = UIView::hitTestWithEvent(point, event);
    return hit.get() == this ? nullptr : hit;
}

void _PETextView::viewDidTap(UIGestureRecognizer& recognizer) {
    if (recognizer.state() != UIGestureRecognizerState::Ended) {
        return;
    }
    const auto self = this->self<_PETextView>();
    if (active()) {
        postLater(PETextViewActiveViewDidTapNotificationString, self);
    }
    setActiveTextView(self);
}

void _PETextView::viewDidPan(UIGestureRecognizer& recognizer) {
    setActiveTextView(self<_PETextView>());
    const auto parent = superview();
    auto& pan = static_cast<UIPanGestureRecognizer&>(recognizer);
    if (pan.state() == UIGestureRecognizerState::Began) {
        initialPoint_ = center();
    }
    const CGPoint travel = pan.translationInView(parent.get());
    setCenter(CGPointMake(initialPoint_.x + travel.x, initialPoint_.y + travel.y));
}

void _PETextView::circleViewDidPan(UIGestureRecognizer& recognizer) {
    const auto parent = superview();
    auto& pan = static_cast<UIPanGestureRecognizer&>(recognizer);
    const CGPoint c = center();
    HandleDrag& drag = handleDrag();
    if (pan.state() == UIGestureRecognizerState::Began) {
        initialPoint_ = convertPointToView(circleView_->center(), parent.get());
        drag.radius = std::hypot(initialPoint_.x - c.x, initialPoint_.y - c.y);
        drag.angle = std::atan2(initialPoint_.y - c.y, initialPoint_.x - c.x);
        initialArg_ = arg_;
        initialScale_ = scale_;
    }
    const CGPoint travel = pan.translationInView(parent.get());
    const CGPoint p = CGPointMake(initialPoint_.x + travel.x, initialPoint_.y + travel.y);
    arg_ = initialArg_ + std::atan2(p.y - c.y, p.x - c.x) - drag.angle;
    // A handle on the centre has no distance to scale by: the scale stays.
    const double ratio = drag.radius > 0 ? std::hypot(p.x - c.x, p.y - c.y) / drag.radius : 1;
    setScale(std::max(kMinimumScale, initialScale_ * ratio));
}

void _PETextView::pushedDeleteBtn() {
    const auto keepAlive = self<_PETextView>();
    std::shared_ptr<_PETextView> next;
    if (const auto parent = superview()) {
        const auto siblings = parent->subviews();
        const auto at = std::ranges::find(siblings, keepAlive);
        // The next overlay in front of this one, else the nearest behind it.
        for (auto it = at == siblings.end() ? at : at + 1; it != siblings.end() && !next; ++it) {
            next = std::dynamic_pointer_cast<_PETextView>(*it);
        }
        for (auto it = at; it != siblings.begin() && !next;) {
            --it;
            next = std::dynamic_pointer_cast<_PETextView>(*it);
        }
    }
    setActiveTextView(next);
    removeFromSuperview();
}
