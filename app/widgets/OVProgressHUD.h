// The translucent overlay shown over a screen while work runs, and the short tip boxes:
// a rounded dark box in the middle holding an indicator (spinner, pie, ring, bar, a
// custom view or nothing), a one-line label and a multi-line details label. It can wait
// a grace time before appearing, stay a minimum time, run a task while shown, fade or
// zoom, remove itself when hidden and report the hiding.
#pragma once

#include "app/widgets/OVProgressHUDDelegate.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSDate.h"
#include "platform/uikit/UIView.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class NSObject;
class NSTimer;
class UIFont;
class UILabel;
class UIWindow;

enum OVProgressHUDMode : int64_t {
    OVProgressHUDModeIndeterminate = 0,
    OVProgressHUDModeDeterminate = 1,
    OVProgressHUDModeDeterminateHorizontalBar = 2,
    OVProgressHUDModeAnnularDeterminate = 3,
    OVProgressHUDModeCustomView = 4,
    OVProgressHUDModeText = 5,
};

enum OVProgressHUDAnimation : int64_t {
    OVProgressHUDAnimationFade = 0,
    OVProgressHUDAnimationZoomOut = 1, // from 1.5 down on show, to 0.5 on hide
    OVProgressHUDAnimationZoomIn = 2,  // from 0.5 up on show, to 1.5 on hide
};

class OVProgressHUD : public UIView {
    NS_OBJECT(OVProgressHUD)
public:
    using Block = std::function<void()>;

    static std::shared_ptr<OVProgressHUD> initWithFrame(const CGRect& frame);
    static std::shared_ptr<OVProgressHUD> alloc() { return initWithFrame(CGRectZero); }
    // Covers the view's bounds; does not add itself to the view.
    static std::shared_ptr<OVProgressHUD> initWithView(const std::shared_ptr<UIView>& view);
    static std::shared_ptr<OVProgressHUD> initWithWindow(const std::shared_ptr<UIWindow>& window);

    // A new overlay on the view (its last subview), removed when hidden, shown.
    static std::shared_ptr<OVProgressHUD>
    showHUDAddedToAnimated(const std::shared_ptr<UIView>& view, bool animated);
    // Hides the view's top-most overlay; false when it has none.
    static bool hideHUDForViewAnimated(const std::shared_ptr<UIView>& view, bool animated);
    static size_t hideAllHUDsForViewAnimated(const std::shared_ptr<UIView>& view, bool animated);
    static std::shared_ptr<OVProgressHUD> HUDForView(const std::shared_ptr<UIView>& view);
    static std::vector<std::shared_ptr<OVProgressHUD>>
    allHUDsForView(const std::shared_ptr<UIView>& view);

    void show(bool animated);
    void hide(bool animated);
    // May be asked from any thread; each request stands until it runs or the overlay
    // shows again or finishes hiding.
    void hideAfterDelay(bool animated, double delay);
    // Runs `method` (standing for a selector sent to `target` with `object`, both kept
    // until the task ends) on a background thread while shown: a worker of the global
    // queue, so that tests can step it like every other background task.
    void showWhileExecutingOnTargetWithObjectAnimated(Block method,
                                                      std::shared_ptr<NSObject> target,
                                                      std::shared_ptr<NSObject> object,
                                                      bool animated);
    void showAnimatedWhileExecutingBlock(bool animated, Block block);
    void showAnimatedWhileExecutingBlockCompletionBlock(bool animated, Block block,
                                                        Block completion);
    void showAnimatedWhileExecutingBlockOnQueue(bool animated, Block block,
                                                const dispatch_queue_t& queue);
    void showAnimatedWhileExecutingBlockOnQueueCompletionBlock(bool animated, Block block,
                                                               const dispatch_queue_t& queue,
                                                               Block completion);

    // Properties. Every one may be set from any thread: a change made off the main thread
    // reaches the views on the main thread.
    int64_t mode() const;
    void setMode(int64_t mode);
    int64_t animationType() const;
    void setAnimationType(int64_t type);
    std::shared_ptr<UIView> customView() const;
    void setCustomView(std::shared_ptr<UIView> view);
    std::shared_ptr<OVProgressHUDDelegate> delegate() const;
    void setDelegate(const std::shared_ptr<OVProgressHUDDelegate>& delegate);
    std::string labelText() const;
    void setLabelText(std::string text);
    std::string detailsLabelText() const;
    void setDetailsLabelText(std::string text);
    float opacity() const;
    void setOpacity(float opacity);
    std::shared_ptr<UIColor> color() const;
    void setColor(std::shared_ptr<UIColor> color);
    float xOffset() const;
    void setXOffset(float offset);
    float yOffset() const;
    void setYOffset(float offset);
    float margin() const;
    void setMargin(float margin);
    float cornerRadius() const;
    void setCornerRadius(float radius);
    bool dimBackground() const;
    void setDimBackground(bool dim);
    float graceTime() const;
    void setGraceTime(float seconds);
    float minShowTime() const;
    void setMinShowTime(float seconds);
    bool taskInProgress() const;
    void setTaskInProgress(bool running);
    bool removeFromSuperViewOnHide() const;
    void setRemoveFromSuperViewOnHide(bool remove);
    std::shared_ptr<UIFont> labelFont() const;
    void setLabelFont(std::shared_ptr<UIFont> font);
    std::shared_ptr<UIColor> labelColor() const;
    void setLabelColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIFont> detailsLabelFont() const;
    void setDetailsLabelFont(std::shared_ptr<UIFont> font);
    std::shared_ptr<UIColor> detailsLabelColor() const;
    void setDetailsLabelColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIColor> activityIndicatorColor() const;
    void setActivityIndicatorColor(std::shared_ptr<UIColor> color);
    float progress() const;
    void setProgress(float progress);
    CGSize minSize() const;
    void setMinSize(CGSize size);
    // The box size found by the last layout.
    CGSize size() const;
    bool isSquare() const;
    void setSquare(bool square);
    Block completionBlock() const;
    void setCompletionBlock(Block block);

    // The current indicator view, and the moment the box became visible.
    std::shared_ptr<UIView> indicator() const { return indicator_; }
    std::optional<NSDate> showStarted() const { return showStarted_; }

    void layoutSubviews() override;
    void drawRect(const CGRect& rect) override;

protected:
    OVProgressHUD() = default;

    void didMoveToSuperview() override;

private:
    enum class Key { Mode, CustomView, Label, Details, Progress, IndicatorColor };
    // Applies a property change to the views, on the main thread.
    void propertyChanged(Key key);
    void applyChange(Key key);
    void setupLabels();
    void updateIndicators();
    void showUsingAnimation(bool animated);
    void hideUsingAnimation(bool animated);
    void handleGraceTimer();
    void handleMinShowTimer();
    void cancelDelayedRequests();
    void done();
    void cleanUp();
    void fitToSuperview();

    mutable std::recursive_mutex mutex_;
    int64_t mode_ = OVProgressHUDModeIndeterminate;
    int64_t animationType_ = OVProgressHUDAnimationFade;
    std::shared_ptr<UIView> customView_;
    std::weak_ptr<OVProgressHUDDelegate> delegate_;
    std::string labelText_;
    std::string detailsLabelText_;
    float opacity_ = 0.8f;
    std::shared_ptr<UIColor> color_;
    float xOffset_ = 0;
    float yOffset_ = 0;
    float margin_ = 20;
    float cornerRadius_ = 10;
    bool dimBackground_ = false;
    float graceTime_ = 0;
    float minShowTime_ = 0;
    bool taskInProgress_ = false;
    bool removeFromSuperViewOnHide_ = false;
    std::shared_ptr<UIFont> labelFont_;
    std::shared_ptr<UIColor> labelColor_;
    std::shared_ptr<UIFont> detailsLabelFont_;
    std::shared_ptr<UIColor> detailsLabelColor_;
    std::shared_ptr<UIColor> activityIndicatorColor_;
    float progress_ = 0;
    CGSize minSize_{};
    CGSize size_{};
    bool square_ = false;
    Block completionBlock_;

    // Main thread only.
    std::shared_ptr<UIView> indicator_;
    std::shared_ptr<UILabel> label_;
    std::shared_ptr<UILabel> detailsLabel_;
    std::shared_ptr<NSTimer> graceTimer_;
    std::shared_ptr<NSTimer> minShowTimer_;
    std::vector<uint64_t> delayedHides_;
    std::optional<NSDate> showStarted_;
    bool useAnimation_ = false;
    std::shared_ptr<NSObject> targetForExecution_;
    std::shared_ptr<NSObject> objectForExecution_;
};
