// The image editor's screen: the picture in a zooming scroll view between the screen's own
// navigation bar (Cancel, Done) and a strip of every tool discovery found, by docked
// number. A tapped tool is made by name, set up, and the bars swap into editing (the
// menu slides away, the bar shows the tool's title with Back and OK); OK runs the tool and
// takes its picture, Back throws its work away. Done opens the finish menu (copy, save,
// share the current picture); Cancel closes the screen, or its delegate decides. Embedded
// in another screen, it flies that screen's picture in and, on Cancel, back out.
//
// Made sound where tools misbehave: while OK runs, a shield over the screen (under its own
// bar) takes the touches and OK is disabled, so Back still works when a tool never
// answers; an answer for a run that Back ended, or a second answer, is dropped; an answer
// from another thread is taken on the main queue.
#pragma once

#include "editor/PEImageEditor.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEImageToolProtocol.h"
#include "platform/uikit/UINavigationBarDelegate.h"
#include "platform/uikit/UIScrollViewDelegate.h"

#include <memory>
#include <string>

class MixImageOutput;
class NSError;
class OVProgressHUD;
class PEImageEditorTransitionDelegate;
class PEImageToolBase;
class UIGestureRecognizer;
class UINavigationBar;
class UIWindow;

class _PEImageEditorViewController : public PEImageEditor,
                                     public PEImageToolHost,
                                     public UINavigationBarDelegate,
                                     public UIScrollViewDelegate {
    NS_OBJECT(_PEImageEditorViewController)
public:
    // The screen as the root of the tool tree: every available tool class is its child.
    class ClassMethods : public NSObject, public PEImageToolProtocol {
    public:
        std::optional<std::string> defaultIconImagePath(const Class& self) const override;
        double defaultDockedNumber(const Class& self) const override;
        std::string defaultTitle(const Class& self) const override;
        bool isAvailable(const Class& self) const override;
        std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
        subtools(const Class& self) const override;
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    // Each builds the whole tool tree.
    static std::shared_ptr<_PEImageEditorViewController> init();
    static std::shared_ptr<_PEImageEditorViewController> alloc() { return init(); }
    // The screen works on a deep copy of `image`.
    static std::shared_ptr<_PEImageEditorViewController>
    initWithImageDelegate(const std::shared_ptr<UIImage>& image,
                          std::weak_ptr<PEImageEditorDelegate> delegate);
    static std::shared_ptr<_PEImageEditorViewController>
    initWithDelegate(std::weak_ptr<PEImageEditorDelegate> delegate);
    // Takes its own bar out of whatever view holds it (a navigation controller's, maybe).
    ~_PEImageEditorViewController() override;

    // What tools use of the screen.
    std::shared_ptr<UIImage> originalImage() override { return originalImage_; }
    std::shared_ptr<UIImageView> imageView() override { return imageView_; }
    std::shared_ptr<UIScrollView> menuView() override { return menuView_.lock(); }
    std::shared_ptr<UIScrollView> scrollView() override { return scrollView_.lock(); }
    std::shared_ptr<UIView> view() override { return UIViewController::view(); }
    void fixZoomScaleWithAnimated(bool animated) override;
    void resetZoomScaleWithAnimated(bool animated) override;

    // The active tool, or null while browsing.
    std::shared_ptr<PEImageToolBase> currentTool() const { return currentTool_; }
    // Embedded mode only: the other screen's image view.
    std::shared_ptr<UIImageView> targetImageView() const { return targetImageView_; }
    // The overlay of the finish menu's action running or last run.
    std::shared_ptr<OVProgressHUD> loadingDataActivity() const;
    // The delegate, when it also adopts the transition protocol.
    std::shared_ptr<PEImageEditorTransitionDelegate> transitionDelegate() const;

    // Also the title of the screen's tool entry.
    void setTitle(std::string title) override;
    // Portrait only: the geometry is computed once, for a portrait screen.
    bool shouldAutorotate() const override { return false; }
    unsigned supportedInterfaceOrientations() const override {
        return UIInterfaceOrientationMaskPortrait;
    }
    void viewDidLoad() override;
    // Every appearance fits the picture again, or, embedded, flies it in.
    void viewWillAppear(bool animated) override;

    // The screen's own bar is attached to the top of the screen.
    UIBarPosition positionForBar(const UIView& bar) override { return UIBarPosition::TopAttached; }
    std::shared_ptr<UIView> viewForZoomingInScrollView(UIScrollView& scrollView) override;
    // Keeps the picture centred while it is smaller than the scroll view.
    void scrollViewDidZoom(UIScrollView& scrollView) override;

    // Embedded mode: takes over `imageView` of `parent`'s screen, as a child of `parent`
    // covering its view; the appearance that follows flies the picture in.
    void showInViewControllerWithImageView(const std::shared_ptr<UIViewController>& parent,
                                           const std::shared_ptr<UIImageView>& imageView) override;
    // Makes `to` look like `from` at the same place on screen: frame (converted between
    // their superviews, transforms aside), transform, picture, content mode and clipping.
    static void copyImageViewInfoToView(const std::shared_ptr<UIImageView>& from,
                                        const std::shared_ptr<UIImageView>& to);

protected:
    _PEImageEditorViewController() = default;

private:
    void initNavigationBar();
    void initMenuScrollView();
    void initImageScrollView();
    // Fills the menu strip with an item per available tool.
    void setMenuView();
    void refreshImageView();
    // Fits the picture into the scroll view at the current zoom, centred.
    void resetImageViewFrame();

    void tappedMenuView(UIGestureRecognizer& recognizer);
    void setupToolWithToolInfo(const std::shared_ptr<PEImageToolInfo>& toolInfo);
    void setCurrentTool(std::shared_ptr<PEImageToolBase> tool);
    void swapToolBarWithEditting(bool editing);
    void swapMenuViewWithEditting(bool editing);
    void swapNavigationBarWithEditting(bool editing);

    // Cancel of the main bar.
    void pushedCloseBtn();
    // Done of the main bar: the finish menu.
    void pushedFinishBtn();
    // Back of a tool.
    void pushedCancelBtn();
    // OK of a tool.
    void pushedDoneBtn();
    // A tool's answer to the run numbered `run`, on the main thread.
    void toolDidExecute(unsigned long run, const std::shared_ptr<UIImage>& image,
                        const std::shared_ptr<NSError>& error);
    // While OK runs: touches stop at a shield under the own bar, and OK is disabled.
    void setExecuting(bool executing);

    // The window the flights fly in: the target image view's.
    std::shared_ptr<UIWindow> flightWindow() const;
    // The opening flight into the picture area.
    void expropriateImageView();
    // The closing flight back to the target; the editor then leaves its parent.
    void restoreImageView(bool canceled);
    // How far the menu slides to leave the screen below.
    double menuSlideDistance() const;

    std::weak_ptr<UINavigationBar> navigationBar_;
    std::weak_ptr<UIScrollView> scrollView_;
    std::shared_ptr<UIImage> originalImage_;
    std::shared_ptr<UIView> bgView_;
    std::shared_ptr<UIImageView> imageView_;
    std::weak_ptr<UIScrollView> menuView_;
    std::shared_ptr<PEImageToolBase> currentTool_;
    std::shared_ptr<UIImageView> targetImageView_;
    std::shared_ptr<MixImageOutput> output_;
    // Numbers OK's runs: an answer counts only for the run still under way.
    unsigned long executionRun_ = 0;
    bool executing_ = false;
    std::shared_ptr<UIView> touchShield_;
};
