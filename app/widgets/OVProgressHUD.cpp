#include "app/widgets/OVProgressHUD.h"

#include "app/widgets/OVBarProgressView.h"
#include "app/widgets/OVRoundProgressView.h"
#include "platform/base/NSRunLoop.h"
#include "platform/base/NSThread.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSTimer.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGradient.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kPadding = 4;
constexpr double kAnimationDuration = 0.3;
constexpr const char* kOrientationNotification =
    "UIApplicationDidChangeStatusBarOrientationNotification";

// Rounds half away from zero.
double roundHalfAway(double value) {
    return std::round(value);
}
} // namespace

// ---------------------------------------------------------------------------------------
// Creation

std::shared_ptr<OVProgressHUD> OVProgressHUD::initWithFrame(const CGRect& frame) {
    auto hud = make<OVProgressHUD>();
    hud->setFrame(frame);
    hud->labelFont_ = UIFont::boldSystemFontOfSize(16);
    hud->labelColor_ = UIColor::whiteColor();
    hud->detailsLabelFont_ = UIFont::boldSystemFontOfSize(12);
    hud->detailsLabelColor_ = UIColor::whiteColor();
    hud->activityIndicatorColor_ = UIColor::whiteColor();
    hud->setContentMode(UIViewContentMode::Center);
    hud->setAutoresizingMask(
        UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin |
        UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin);
    hud->setOpaque(false);
    hud->setBackgroundColor(UIColor::clearColor());
    hud->setAlpha(0);
    hud->setupLabels();
    hud->updateIndicators();
    NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
        hud, weakAction(hud, &OVProgressHUD::fitToSuperview), kOrientationNotification, nullptr);
    return hud;
}

std::shared_ptr<OVProgressHUD> OVProgressHUD::initWithView(const std::shared_ptr<UIView>& view) {
    return initWithFrame(view ? view->bounds() : CGRectZero);
}

std::shared_ptr<OVProgressHUD>
OVProgressHUD::initWithWindow(const std::shared_ptr<UIWindow>& window) {
    return initWithView(window);
}

void OVProgressHUD::setupLabels() {
    auto make = [this](const std::shared_ptr<UIFont>& font, const std::shared_ptr<UIColor>& color,
                       const std::string& text) {
        auto label = UILabel::initWithFrame(bounds());
        label->setAdjustsFontSizeToFitWidth(false);
        label->setTextAlignment(NSTextAlignment::Center);
        label->setOpaque(false);
        label->setBackgroundColor(UIColor::clearColor());
        label->setFont(font);
        label->setTextColor(color);
        label->setText(text);
        addSubview(label);
        return label;
    };
    label_ = make(labelFont_, labelColor_, labelText_);
    detailsLabel_ = make(detailsLabelFont_, detailsLabelColor_, detailsLabelText_);
    detailsLabel_->setNumberOfLines(0);
}

void OVProgressHUD::updateIndicators() {
    auto replace = [this](std::shared_ptr<UIView> next) {
        if (indicator_) {
            indicator_->removeFromSuperview();
        }
        indicator_ = std::move(next);
        if (indicator_) {
            addSubview(indicator_);
        }
    };
    switch (mode()) {
    case OVProgressHUDModeIndeterminate: {
        auto spinner = std::dynamic_pointer_cast<UIActivityIndicatorView>(indicator_);
        if (!spinner) {
            spinner = UIActivityIndicatorView::initWithActivityIndicatorStyle(
                UIActivityIndicatorViewStyle::WhiteLarge);
            spinner->startAnimating();
            replace(spinner);
        }
        spinner->setColor(activityIndicatorColor());
        break;
    }
    case OVProgressHUDModeDeterminate:
    case OVProgressHUDModeAnnularDeterminate: {
        auto round = std::dynamic_pointer_cast<OVRoundProgressView>(indicator_);
        if (!round) {
            round = OVRoundProgressView::init();
            replace(round);
        }
        if (mode() == OVProgressHUDModeAnnularDeterminate) {
            round->setAnnular(true);
        }
        break;
    }
    case OVProgressHUDModeDeterminateHorizontalBar:
        replace(OVBarProgressView::init());
        break;
    case OVProgressHUDModeCustomView: {
        auto custom = customView();
        if (custom != indicator_) {
            replace(custom);
        }
        break;
    }
    default: // text only, and any mode the overlay does not know
        replace(nullptr);
        break;
    }
}

// ---------------------------------------------------------------------------------------
// Class helpers

std::shared_ptr<OVProgressHUD>
OVProgressHUD::showHUDAddedToAnimated(const std::shared_ptr<UIView>& view, bool animated) {
    auto hud = initWithView(view);
    hud->setRemoveFromSuperViewOnHide(true);
    if (view) {
        view->addSubview(hud);
    }
    hud->show(animated);
    return hud;
}

bool OVProgressHUD::hideHUDForViewAnimated(const std::shared_ptr<UIView>& view, bool animated) {
    auto hud = HUDForView(view);
    if (!hud) {
        return false;
    }
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hide(animated);
    return true;
}

size_t OVProgressHUD::hideAllHUDsForViewAnimated(const std::shared_ptr<UIView>& view,
                                                 bool animated) {
    auto huds = allHUDsForView(view);
    for (const auto& hud : huds) {
        hud->setRemoveFromSuperViewOnHide(true);
        hud->hide(animated);
    }
    return huds.size();
}

std::shared_ptr<OVProgressHUD> OVProgressHUD::HUDForView(const std::shared_ptr<UIView>& view) {
    auto huds = allHUDsForView(view);
    return huds.empty() ? nullptr : huds.back();
}

std::vector<std::shared_ptr<OVProgressHUD>>
OVProgressHUD::allHUDsForView(const std::shared_ptr<UIView>& view) {
    std::vector<std::shared_ptr<OVProgressHUD>> huds;
    if (!view) {
        return huds;
    }
    for (const auto& subview : view->subviews()) {
        if (auto hud = std::dynamic_pointer_cast<OVProgressHUD>(subview)) {
            huds.push_back(hud);
        }
    }
    return huds;
}

// ---------------------------------------------------------------------------------------
// Showing and hiding

void OVProgressHUD::show(bool animated) {
    useAnimation_ = animated;
    float grace = graceTime();
    if (grace > 0) {
        graceTimer_ = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
            grace, false, weakAction(self<OVProgressHUD>(), &OVProgressHUD::handleGraceTimer));
        return;
    }
    showUsingAnimation(useAnimation_);
}

void OVProgressHUD::handleGraceTimer() {
    graceTimer_.reset();
    // Shown only if the task is still running: a quick task never flashes the overlay.
    if (taskInProgress()) {
        showUsingAnimation(useAnimation_);
    }
}

void OVProgressHUD::showUsingAnimation(bool animated) {
    cancelDelayedRequests();
    setNeedsDisplay();
    int64_t type = animationType();
    if (!animated) {
        showStarted_ = NSDate::date();
        setAlpha(1);
        return;
    }
    if (type == OVProgressHUDAnimationZoomOut) {
        setTransform(CGAffineTransformMakeScale(1.5, 1.5));
    } else if (type == OVProgressHUDAnimationZoomIn) {
        setTransform(CGAffineTransformMakeScale(0.5, 0.5));
    }
    showStarted_ = NSDate::date();
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        kAnimationDuration, 0, 0,
        [this, type] {
            setAlpha(1);
            if (type == OVProgressHUDAnimationZoomOut || type == OVProgressHUDAnimationZoomIn) {
                setTransform(CGAffineTransformIdentity);
            }
        },
        nullptr);
}

void OVProgressHUD::hide(bool animated) {
    useAnimation_ = animated;
    float minimum = minShowTime();
    if (minimum > 0 && showStarted_) {
        double shown = -showStarted_->timeIntervalSinceNow();
        if (shown < minimum) {
            minShowTimer_ = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
                minimum - shown, false,
                weakAction(self<OVProgressHUD>(), &OVProgressHUD::handleMinShowTimer));
            return;
        }
    }
    hideUsingAnimation(useAnimation_);
}

void OVProgressHUD::handleMinShowTimer() {
    minShowTimer_.reset();
    hideUsingAnimation(useAnimation_);
}

void OVProgressHUD::hideAfterDelay(bool animated, double delay) {
    std::weak_ptr<OVProgressHUD> weak = self<OVProgressHUD>();
    auto schedule = [weak, animated, delay] {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        auto id = std::make_shared<uint64_t>(0);
        *id = NSRunLoop::mainRunLoop().addTimer(delay, [weak, animated, id] {
            if (auto hud = weak.lock()) {
                std::erase(hud->delayedHides_, *id);
                hud->hide(animated);
            }
        });
        self->delayedHides_.push_back(*id);
    };
    // Delayed requests live on the main run loop, whoever asks for them.
    if (NSThread::isMainThread()) {
        schedule();
    } else {
        dispatch_async(dispatch_get_main_queue(), schedule);
    }
}

void OVProgressHUD::cancelDelayedRequests() {
    for (uint64_t id : delayedHides_) {
        NSRunLoop::mainRunLoop().cancelTimer(id);
    }
    delayedHides_.clear();
}

void OVProgressHUD::hideUsingAnimation(bool animated) {
    if (animated && showStarted_) {
        int64_t type = animationType();
        auto self = this->self<OVProgressHUD>();
        UIViewAnimation::beginAnimationsContext("");
        UIViewAnimation::setAnimationDuration(kAnimationDuration);
        UIViewAnimation::setAnimationDidStopHandler([self] { self->done(); });
        if (type == OVProgressHUDAnimationZoomOut) {
            setTransform(CGAffineTransformMakeScale(0.5, 0.5));
        } else if (type == OVProgressHUDAnimationZoomIn) {
            setTransform(CGAffineTransformMakeScale(1.5, 1.5));
        }
        setAlpha(0.02);
        UIViewAnimation::commitAnimations();
    } else {
        setAlpha(0);
        done();
    }
    showStarted_.reset();
}

void OVProgressHUD::done() {
    cancelDelayedRequests();
    // Beyond the delayed requests, the grace and minimum-time timers are stopped too: a
    // grace time still pending must not bring back an overlay that has finished.
    for (auto* timer : {&graceTimer_, &minShowTimer_}) {
        if (*timer) {
            (*timer)->invalidate();
            timer->reset();
        }
    }
    setAlpha(0);
    // Keep the overlay alive until its listeners have heard of it.
    auto self = this->self<OVProgressHUD>();
    if (removeFromSuperViewOnHide()) {
        removeFromSuperview();
    }
    Block completion;
    {
        std::lock_guard lock(mutex_);
        completion = std::move(completionBlock_);
        completionBlock_ = nullptr;
    }
    if (completion) {
        completion();
    }
    if (auto listener = delegate()) {
        listener->hudWasHidden(*this);
    }
}

// ---------------------------------------------------------------------------------------
// Tasks

void OVProgressHUD::showWhileExecutingOnTargetWithObjectAnimated(Block method,
                                                                 std::shared_ptr<NSObject> target,
                                                                 std::shared_ptr<NSObject> object,
                                                                 bool animated) {
    targetForExecution_ = std::move(target);
    objectForExecution_ = std::move(object);
    setTaskInProgress(true);
    auto self = this->self<OVProgressHUD>();
    dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                   [self, method = std::move(method)] {
                       if (method) {
                           method();
                       }
                       dispatch_async(dispatch_get_main_queue(), [self] { self->cleanUp(); });
                   });
    show(animated);
}

void OVProgressHUD::showAnimatedWhileExecutingBlock(bool animated, Block block) {
    showAnimatedWhileExecutingBlockOnQueueCompletionBlock(
        animated, std::move(block), dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
        nullptr);
}

void OVProgressHUD::showAnimatedWhileExecutingBlockCompletionBlock(bool animated, Block block,
                                                                   Block completion) {
    showAnimatedWhileExecutingBlockOnQueueCompletionBlock(
        animated, std::move(block), dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
        std::move(completion));
}

void OVProgressHUD::showAnimatedWhileExecutingBlockOnQueue(bool animated, Block block,
                                                           const dispatch_queue_t& queue) {
    showAnimatedWhileExecutingBlockOnQueueCompletionBlock(animated, std::move(block), queue,
                                                          nullptr);
}

void OVProgressHUD::showAnimatedWhileExecutingBlockOnQueueCompletionBlock(
    bool animated, Block block, const dispatch_queue_t& queue, Block completion) {
    setTaskInProgress(true);
    setCompletionBlock(std::move(completion));
    auto self = this->self<OVProgressHUD>();
    dispatch_async(queue, [self, block = std::move(block)] {
        if (block) {
            block();
        }
        dispatch_async(dispatch_get_main_queue(), [self] { self->cleanUp(); });
    });
    show(animated);
}

void OVProgressHUD::cleanUp() {
    setTaskInProgress(false);
    targetForExecution_.reset();
    objectForExecution_.reset();
    hide(useAnimation_);
}

// ---------------------------------------------------------------------------------------
// Layout and drawing

void OVProgressHUD::didMoveToSuperview() {
    fitToSuperview();
}

void OVProgressHUD::fitToSuperview() {
    if (auto parent = superview()) {
        setBounds(parent->bounds());
        setNeedsDisplay();
    }
}

void OVProgressHUD::layoutSubviews() {
    if (auto parent = superview()) {
        setFrame(parent->bounds());
    }
    CGRect b = bounds();
    double W = b.size.width, H = b.size.height;
    double m = margin();
    double maxWidth = W - 4 * m;

    CGSize indicatorSize = indicator_ ? indicator_->bounds().size : CGSizeZero;
    indicatorSize.width = std::min(indicatorSize.width, maxWidth);
    CGSize labelSize = CGSizeZero;
    if (!label_->text().empty()) {
        NSTextAttributes attributes;
        attributes.font = label_->font();
        labelSize = NSStringDrawing::sizeWithAttributes(label_->text(), attributes);
    }
    labelSize.width = std::min(labelSize.width, maxWidth);

    bool indicatorAndLabel = indicatorSize.height > 0 && labelSize.height > 0;
    double remaining =
        H - (indicatorSize.height + labelSize.height + (indicatorAndLabel ? kPadding : 0)) -
        kPadding - 4 * m;
    CGSize detailsSize = CGSizeZero;
    if (!detailsLabel_->text().empty()) {
        NSTextAttributes attributes;
        attributes.font = detailsLabel_->font();
        detailsSize = NSStringDrawing::boundingRectWithSizeOptionsAttributes(
                          detailsLabel_->text(), CGSizeMake(maxWidth, remaining),
                          NSStringDrawingUsesLineFragmentOrigin, attributes)
                          .size;
    }
    bool detailsBelow =
        detailsSize.height > 0 && (indicatorSize.height > 0 || labelSize.height > 0);

    CGSize box;
    box.width = std::max({0.0, indicatorSize.width, labelSize.width, detailsSize.width}) + 2 * m;
    box.height = indicatorSize.height + labelSize.height + detailsSize.height +
                 (indicatorAndLabel ? kPadding : 0) + (detailsBelow ? kPadding : 0) + 2 * m;

    double y = roundHalfAway((H - box.height) / 2) + m + yOffset();
    double x = xOffset();
    auto place = [&](const std::shared_ptr<UIView>& view, const CGSize& size) {
        if (view) {
            view->setFrame(
                CGRectMake(roundHalfAway((W - size.width) / 2) + x, y, size.width, size.height));
        }
    };
    place(indicator_, indicatorSize);
    y += indicatorSize.height;
    if (indicatorAndLabel) {
        y += kPadding;
    }
    place(label_, labelSize);
    y += labelSize.height;
    if (detailsBelow) {
        y += kPadding;
    }
    place(detailsLabel_, detailsSize);

    if (isSquare()) {
        double side = std::max(box.width, box.height);
        if (side <= W - 2 * m) {
            box.width = side;
        }
        if (side <= H - 2 * m) {
            box.height = side;
        }
    }
    CGSize minimum = minSize();
    box.width = std::max(box.width, minimum.width);
    box.height = std::max(box.height, minimum.height);
    std::lock_guard lock(mutex_);
    size_ = box;
}

void OVProgressHUD::drawRect(const CGRect&) {
    auto context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    UIGraphicsPushContext(context);
    CGContextSaveGState(context);
    CGRect b = bounds();
    double W = b.size.width, H = b.size.height;
    if (dimBackground()) {
        const double locations[] = {0.0, 1.0};
        const double components[] = {0, 0, 0, 0, 0, 0, 0, 0.75};
        auto gradient = CGGradientCreateWithColorComponents(components, locations, 2);
        CGPoint center = CGPointMake(W / 2, H / 2);
        CGContextDrawRadialGradient(context, gradient, center, 0, center, std::min(W, H),
                                    kCGGradientDrawsAfterEndLocation);
    }
    auto fill = color();
    CGContextSetFillColorWithColor(context,
                                   fill ? fill->cgColor() : CGColorMake(0, 0, 0, opacity()));
    CGSize box = size();
    CGRect r = CGRectMake(roundHalfAway((W - box.width) / 2) + xOffset(),
                          roundHalfAway((H - box.height) / 2) + yOffset(), box.width, box.height);
    double radius = cornerRadius();
    constexpr double pi = std::numbers::pi;
    CGContextBeginPath(context);
    CGContextMoveToPoint(context, CGRectGetMinX(r) + radius, CGRectGetMinY(r));
    CGContextAddArc(context, CGRectGetMaxX(r) - radius, CGRectGetMinY(r) + radius, radius,
                    3 * pi / 2, 0, 0);
    CGContextAddArc(context, CGRectGetMaxX(r) - radius, CGRectGetMaxY(r) - radius, radius, 0,
                    pi / 2, 0);
    CGContextAddArc(context, CGRectGetMinX(r) + radius, CGRectGetMaxY(r) - radius, radius, pi / 2,
                    pi, 0);
    CGContextAddArc(context, CGRectGetMinX(r) + radius, CGRectGetMinY(r) + radius, radius, pi,
                    3 * pi / 2, 0);
    CGContextClosePath(context);
    CGContextFillPath(context);
    CGContextRestoreGState(context);
    UIGraphicsPopContext();
}

// ---------------------------------------------------------------------------------------
// Properties

void OVProgressHUD::propertyChanged(Key key) {
    if (NSThread::isMainThread()) {
        applyChange(key);
        return;
    }
    dispatch_async(
        dispatch_get_main_queue(),
        weakCall(self<OVProgressHUD>(), [key](OVProgressHUD& hud) { hud.applyChange(key); }));
}

void OVProgressHUD::applyChange(Key key) {
    switch (key) {
    case Key::Mode:
    case Key::CustomView:
    case Key::IndicatorColor:
        updateIndicators();
        break;
    case Key::Label:
        label_->setText(labelText());
        label_->setFont(labelFont());
        label_->setTextColor(labelColor());
        break;
    case Key::Details:
        detailsLabel_->setText(detailsLabelText());
        detailsLabel_->setFont(detailsLabelFont());
        detailsLabel_->setTextColor(detailsLabelColor());
        break;
    case Key::Progress:
        if (auto round = std::dynamic_pointer_cast<OVRoundProgressView>(indicator_)) {
            round->setProgress(progress());
        } else if (auto bar = std::dynamic_pointer_cast<OVBarProgressView>(indicator_)) {
            bar->setProgress(progress());
        }
        return; // a progress change needs neither layout nor display of the overlay
    }
    setNeedsLayout();
    setNeedsDisplay();
}

#define OV_PROPERTY(Type, getter, setter, member, key)                                             \
    Type OVProgressHUD::getter() const {                                                           \
        std::lock_guard lock(mutex_);                                                              \
        return member;                                                                             \
    }                                                                                              \
    void OVProgressHUD::setter(Type value) {                                                       \
        {                                                                                          \
            std::lock_guard lock(mutex_);                                                          \
            member = std::move(value);                                                             \
        }                                                                                          \
        key;                                                                                       \
    }

OV_PROPERTY(int64_t, mode, setMode, mode_, propertyChanged(Key::Mode))
OV_PROPERTY(int64_t, animationType, setAnimationType, animationType_, (void)0)
OV_PROPERTY(std::shared_ptr<UIView>, customView, setCustomView, customView_,
            propertyChanged(Key::CustomView))
OV_PROPERTY(std::string, labelText, setLabelText, labelText_, propertyChanged(Key::Label))
OV_PROPERTY(std::string, detailsLabelText, setDetailsLabelText, detailsLabelText_,
            propertyChanged(Key::Details))
OV_PROPERTY(float, opacity, setOpacity, opacity_, (void)0)
OV_PROPERTY(std::shared_ptr<UIColor>, color, setColor, color_, (void)0)
OV_PROPERTY(float, xOffset, setXOffset, xOffset_, (void)0)
OV_PROPERTY(float, yOffset, setYOffset, yOffset_, (void)0)
OV_PROPERTY(float, margin, setMargin, margin_, (void)0)
OV_PROPERTY(float, cornerRadius, setCornerRadius, cornerRadius_, (void)0)
OV_PROPERTY(bool, dimBackground, setDimBackground, dimBackground_, (void)0)
OV_PROPERTY(float, graceTime, setGraceTime, graceTime_, (void)0)
OV_PROPERTY(float, minShowTime, setMinShowTime, minShowTime_, (void)0)
OV_PROPERTY(bool, taskInProgress, setTaskInProgress, taskInProgress_, (void)0)
OV_PROPERTY(bool, removeFromSuperViewOnHide, setRemoveFromSuperViewOnHide,
            removeFromSuperViewOnHide_, (void)0)
OV_PROPERTY(std::shared_ptr<UIFont>, labelFont, setLabelFont, labelFont_,
            propertyChanged(Key::Label))
OV_PROPERTY(std::shared_ptr<UIColor>, labelColor, setLabelColor, labelColor_,
            propertyChanged(Key::Label))
OV_PROPERTY(std::shared_ptr<UIFont>, detailsLabelFont, setDetailsLabelFont, detailsLabelFont_,
            propertyChanged(Key::Details))
OV_PROPERTY(std::shared_ptr<UIColor>, detailsLabelColor, setDetailsLabelColor, detailsLabelColor_,
            propertyChanged(Key::Details))
OV_PROPERTY(std::shared_ptr<UIColor>, activityIndicatorColor, setActivityIndicatorColor,
            activityIndicatorColor_, propertyChanged(Key::IndicatorColor))
OV_PROPERTY(float, progress, setProgress, progress_, propertyChanged(Key::Progress))
OV_PROPERTY(CGSize, minSize, setMinSize, minSize_, (void)0)
OV_PROPERTY(bool, isSquare, setSquare, square_, (void)0)
OV_PROPERTY(OVProgressHUD::Block, completionBlock, setCompletionBlock, completionBlock_, (void)0)

#undef OV_PROPERTY

CGSize OVProgressHUD::size() const {
    std::lock_guard lock(mutex_);
    return size_;
}

std::shared_ptr<OVProgressHUDDelegate> OVProgressHUD::delegate() const {
    std::lock_guard lock(mutex_);
    return delegate_.lock();
}

void OVProgressHUD::setDelegate(const std::shared_ptr<OVProgressHUDDelegate>& delegate) {
    std::lock_guard lock(mutex_);
    delegate_ = delegate;
}
