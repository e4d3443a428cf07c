#include "app/widgets/DMDropdownView.h"

#include "platform/dispatch/dispatch.h"
#include "platform/quartzcore/CAKeyframeAnimation.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIView.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr const char* kArrowAnimationKey = "rotation.title";

bool isOpening(DMDropdownViewState state) {
    return state == DMDropdownViewStateOpening || state == DMDropdownViewStateOpen;
}

// Both animations run for the whole phase and stay on their layers at their last frame.
std::shared_ptr<CAKeyframeAnimation> phaseAnimation(const char* keyPath, double duration) {
    auto animation = CAKeyframeAnimation::animationWithKeyPath(keyPath);
    animation->setDuration(duration);
    animation->setRemovedOnCompletion(false);
    animation->setFillMode(kCAFillModeForwards);
    return animation;
}
} // namespace

std::shared_ptr<DMDropdownView> DMDropdownView::init() {
    return make<DMDropdownView>();
}

void DMDropdownView::showInViewWithFrame(const std::shared_ptr<UIView>& view, const CGRect& frame) {
    if (currentState_ != DMDropdownViewStateClosed || !view) {
        return;
    }
    currentState_ = DMDropdownViewStateOpening;
    setupMenuInViewWithFrame(view, frame);
    addMenuAnimationForMenuState(DMDropdownViewStateOpening);
    // The phase ends even if the menu's owner lets go of it meanwhile.
    auto self = this->self<DMDropdownView>();
    dispatch_after(animationDuration_, dispatch_get_main_queue(),
                   [self] { self->currentState_ = DMDropdownViewStateOpen; });
}

void DMDropdownView::hide() {
    if (currentState_ != DMDropdownViewStateOpen) {
        return;
    }
    currentState_ = DMDropdownViewStateClosing;
    addMenuAnimationForMenuState(DMDropdownViewStateClosing);
    auto self = this->self<DMDropdownView>();
    dispatch_after(animationDuration_, dispatch_get_main_queue(), [self] {
        self->menuView_->removeFromSuperview();
        self->backgroundButton_->removeFromSuperview();
        self->mainView_->removeFromSuperview();
        self->currentState_ = DMDropdownViewStateClosed;
    });
}

void DMDropdownView::backgroundButtonTapped() {
    hide();
    auto self = this->self<DMDropdownView>();
    dispatch_after(animationDuration_, dispatch_get_main_queue(), [self] {
        if (auto delegate = self->delegate()) {
            delegate->dropdownViewDidTapBackgroundButton(*self);
        }
    });
}

void DMDropdownView::setupMenuInViewWithFrame(const std::shared_ptr<UIView>& view,
                                              const CGRect& frame) {
    if (!mainView_) {
        // Clipping, as scroll views do: the panel waits above the top edge, out of sight.
        mainView_ = UIScrollView::initWithFrame(CGRectZero);
        mainView_->setBackgroundColor(UIColor::colorWithRedGreenBlueAlpha(0.9, 0.9, 0.9, 0.2));
    }
    mainView_->setFrame(frame);
    view->addSubview(mainView_);

    if (!backgroundButton_) {
        backgroundButton_ = UIButton::buttonWithType(UIButtonType::Custom);
        backgroundButton_->setBackgroundColor(UIColor::colorWithWhiteAlpha(0, blackMaskAlpha_));
        backgroundButton_->addTargetActionForControlEvents(self<DMDropdownView>(),
                                                           &DMDropdownView::backgroundButtonTapped,
                                                           UIControlEventTouchUpInside);
    }
    CGSize area = mainView_->bounds().size;
    backgroundButton_->setFrame(CGRectMake(0, 0, area.width, area.height));
    mainView_->addSubview(backgroundButton_);

    if (!menuView_) {
        menuView_ = UIView::initWithFrame(CGRectZero);
    }
    menuView_->setBackgroundColor(menuBackgroundColor_);

    CGSize content{};
    if (menuContentView_) {
        content = menuContentView_->bounds().size;
        menuContentView_->setFrame(CGRectMake(0, 1, content.width, content.height));
        menuView_->addSubview(menuContentView_);
    }
    double height = std::min(content.height + 1, area.height);
    menuView_->setFrame(CGRectMake(0, -height, area.width, height));
    mainView_->addSubview(menuView_);

    originMenuCenter_ = CGPointMake(area.width * 0.5, -height * 0.5);
    // Open, the panel starts at y -1: its top point, above the content, stays hidden.
    desMenuCenter_ = CGPointMake(area.width * 0.5, height * 0.5 - 1);
}

void DMDropdownView::addMenuAnimationForMenuState(DMDropdownViewState state) {
    auto panel = phaseAnimation("position", animationDuration_);
    std::vector<CAValue> positions = menuPositionValuesForMenuState(state);
    panel->setValues(positions);
    panel->setTimingFunctions(menuTimingFunctionsForMenuState(state));
    panel->setKeyTimes(menuKeyTimesForMenuState(state));
    menuView_->layer()->addAnimationForKey(panel, "");
    // The animation leaves the model where it was: the panel's place is set here.
    menuView_->setCenter(std::get<CGPoint>(positions.back()));

    if (!titleViewImageView_) {
        return;
    }
    auto arrow = phaseAnimation("transform.rotation", animationDuration_);
    // The arrow's own turn, as a single-precision angle; the animations never change it.
    CGAffineTransform t = titleViewImageView_->transform();
    double turn = static_cast<float>(std::atan2(t.b, t.a));
    // Half a turn down to up when opening; a full turn backwards, back to the start, when
    // closing.
    double end = isOpening(state) ? turn + std::numbers::pi : turn - 2 * std::numbers::pi;
    arrow->setValues({turn, end});
    arrow->setTimingFunctions(menuTimingFunctionsForMenuState(state));
    arrow->setKeyTimes(menuKeyTimesForMenuState(state));
    titleViewImageView_->layer()->addAnimationForKey(arrow, kArrowAnimationKey);
}

std::vector<CAValue>
DMDropdownView::menuPositionValuesForMenuState(DMDropdownViewState state) const {
    CGPoint current = menuView_->center();
    double y = isOpening(state) ? desMenuCenter_.y : originMenuCenter_.y;
    return {current, CGPointMake(current.x, y)};
}

std::vector<double> DMDropdownView::menuKeyTimesForMenuState(DMDropdownViewState) {
    // Three key times for two values, as the menu has always had them.
    return {0.0, 0.5, 1.0};
}

std::vector<std::string> DMDropdownView::menuTimingFunctionsForMenuState(DMDropdownViewState) {
    return {kCAMediaTimingFunctionEaseInEaseOut};
}
