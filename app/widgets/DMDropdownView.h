// A menu panel that slides down from the top edge of an area over a dimmed background,
// turning a title's arrow as it opens and closes; a tap on the dimming closes it. Not a
// view itself: it places its views in the view it is shown in, and keeps them for the next
// opening. Each opening and closing takes animationDuration, during which showing and
// hiding are ignored. Main thread only.
#pragma once

#include "app/widgets/DMDropdownViewDelegate.h"
#include "platform/base/NSObject.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/quartzcore/CAValue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class UIButton;
class UIColor;
class UIImageView;
class UIScrollView;
class UIView;

enum DMDropdownViewState : uint64_t {
    DMDropdownViewStateOpening = 0,
    DMDropdownViewStateOpen = 1,
    DMDropdownViewStateClosing = 2,
    DMDropdownViewStateClosed = 3,
};

class DMDropdownView : public NSObject {
    NS_OBJECT(DMDropdownView)
public:
    // Closed; 0.35-second animations, dimming at alpha 0.5.
    static std::shared_ptr<DMDropdownView> init();
    static std::shared_ptr<DMDropdownView> alloc() { return init(); }

    // Opening and closing do not count as open.
    bool isOpen() const { return currentState_ == DMDropdownViewStateOpen; }
    // When closed (and given a view): covers `frame` of `view` with the dimming at once and
    // slides the panel, holding menuContentView, down from above the frame's top edge; open
    // after animationDuration.
    void showInViewWithFrame(const std::shared_ptr<UIView>& view, const CGRect& frame);
    // When open: slides the panel back up; after animationDuration the menu's views leave
    // the view and it is closed.
    void hide();
    // The dimming's action: hides, and animationDuration later tells the delegate.
    void backgroundButtonTapped();

    double animationDuration() const { return animationDuration_; }
    void setAnimationDuration(double seconds) { animationDuration_ = seconds; }
    // Read when the dimming is first made.
    double blackMaskAlpha() const { return blackMaskAlpha_; }
    void setBlackMaskAlpha(double alpha) { blackMaskAlpha_ = alpha; }
    // The caller's content, placed 1 point below the panel's top at each opening; its
    // size is the caller's and sets the panel's height (at most the area's).
    std::shared_ptr<UIView> menuContentView() const { return menuContentView_; }
    void setMenuContentView(std::shared_ptr<UIView> view) { menuContentView_ = std::move(view); }
    std::shared_ptr<UIColor> menuBackgroundColor() const { return menuBackgroundColor_; }
    void setMenuBackgroundColor(std::shared_ptr<UIColor> color) {
        menuBackgroundColor_ = std::move(color);
    }
    // The arrow turned half a turn while opening and a full turn back while closing.
    std::shared_ptr<UIImageView> titleViewImageView() const { return titleViewImageView_; }
    void setTitleViewImageView(std::shared_ptr<UIImageView> view) {
        titleViewImageView_ = std::move(view);
    }
    DMDropdownViewState currentState() const { return currentState_; }
    std::shared_ptr<DMDropdownViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<DMDropdownViewDelegate>& delegate) {
        delegate_ = delegate;
    }

    // Made on the first opening. The area, a scroll view clipping what lies outside it (the
    // closed panel above its top edge), holds the dimming button under the panel.
    std::shared_ptr<UIScrollView> mainView() const { return mainView_; }
    std::shared_ptr<UIButton> backgroundButton() const { return backgroundButton_; }
    std::shared_ptr<UIView> menuView() const { return menuView_; }

protected:
    DMDropdownView() = default;

private:
    void setupMenuInViewWithFrame(const std::shared_ptr<UIView>& view, const CGRect& frame);
    // The panel's slide and the arrow's turn towards `state`'s end.
    void addMenuAnimationForMenuState(DMDropdownViewState state);
    std::vector<CAValue> menuPositionValuesForMenuState(DMDropdownViewState state) const;
    static std::vector<double> menuKeyTimesForMenuState(DMDropdownViewState state);
    static std::vector<std::string> menuTimingFunctionsForMenuState(DMDropdownViewState state);

    double animationDuration_ = 0.35;
    double blackMaskAlpha_ = 0.5;
    std::shared_ptr<UIView> menuContentView_;
    std::shared_ptr<UIColor> menuBackgroundColor_;
    std::shared_ptr<UIImageView> titleViewImageView_;
    DMDropdownViewState currentState_ = DMDropdownViewStateClosed;
    std::weak_ptr<DMDropdownViewDelegate> delegate_;
    std::shared_ptr<UIScrollView> mainView_;
    std::shared_ptr<UIButton> backgroundButton_;
    std::shared_ptr<UIView> menuView_;
    // The panel's centre when closed (above the area) and when open.
    CGPoint originMenuCenter_{};
    CGPoint desMenuCenter_{};
};
