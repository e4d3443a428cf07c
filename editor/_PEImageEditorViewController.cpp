#include "editor/_PEImageEditorViewController.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "app/output/MixImageOutput.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageEditorTransitionDelegate.h"
#include "editor/PEImageToolBase.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolPanel.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/categories/UIView+PEImageToolInfo.h"
#include "platform/base/ClassRegistry.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSError.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>

namespace {
constexpr double kMenuHeight = 80;
// Below this system version the status bar lies outside the screen's views.
constexpr double kStatusBarInsideVersion = 7;

bool statusBarInsideViews() {
    return SystemVersion::iosVersion() >= kStatusBarInsideVersion;
}

double statusBarHeight() {
    const CGRect frame = UIApplication::sharedApplication()->statusBarFrame();
    return std::min(frame.size.height, frame.size.width);
}

// Where a picture of that size lands fitted into a box of that size, centred; none when
// it would have no area.
std::optional<CGRect> fittedRect(CGSize picture, CGSize box) {
    const CGRect fitted =
        UIImageView::imageRectForContentMode(UIViewContentMode::ScaleAspectFit, picture, box);
    if (CGRectIsEmpty(fitted)) {
        return std::nullopt;
    }
    return fitted;
}

// The picture's size, or the view's own when it shows none.
CGSize shownSize(const UIImageView& imageView) {
    auto image = imageView.image();
    return image ? image->size() : imageView.frame().size;
}
} // namespace

// The tool tree's root.

std::optional<std::string>
_PEImageEditorViewController::ClassMethods::defaultIconImagePath(const Class&) const {
    return std::nullopt;
}

double _PEImageEditorViewController::ClassMethods::defaultDockedNumber(const Class&) const {
    return 0;
}

std::string _PEImageEditorViewController::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEImageEditor_DefaultTitle", "Edit");
}

bool _PEImageEditorViewController::ClassMethods::isAvailable(const Class&) const {
    return true;
}

std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
_PEImageEditorViewController::ClassMethods::subtools(const Class&) const {
    return PEImageToolInfo::toolsWithToolClass(PEImageToolBase::staticClassName());
}

std::optional<PlistValue::Dictionary>
_PEImageEditorViewController::ClassMethods::optionalInfo(const Class&) const {
    return std::nullopt;
}

// Creation.

std::shared_ptr<_PEImageEditorViewController> _PEImageEditorViewController::init() {
    auto editor = make<_PEImageEditorViewController>();
    editor->setToolInfo(PEImageToolInfo::toolInfoForToolClass(editor->className()));
    return editor;
}

std::shared_ptr<_PEImageEditorViewController>
_PEImageEditorViewController::initWithImageDelegate(const std::shared_ptr<UIImage>& image,
                                                    std::weak_ptr<PEImageEditorDelegate> delegate) {
    auto editor = init();
    editor->originalImage_ = Utility::deepCopy(image);
    editor->setDelegate(std::move(delegate));
    return editor;
}

std::shared_ptr<_PEImageEditorViewController>
_PEImageEditorViewController::initWithDelegate(std::weak_ptr<PEImageEditorDelegate> delegate) {
    auto editor = init();
    editor->setDelegate(std::move(delegate));
    return editor;
}

_PEImageEditorViewController::~_PEImageEditorViewController() {
    if (auto bar = navigationBar_.lock()) {
        bar->removeFromSuperview();
    }
}

void _PEImageEditorViewController::setTitle(std::string title) {
    if (auto info = toolInfo()) {
        info->setTitle(title);
    }
    PEImageEditor::setTitle(std::move(title));
}

std::shared_ptr<OVProgressHUD> _PEImageEditorViewController::loadingDataActivity() const {
    return output_ ? output_->loadingDataActivity() : nullptr;
}

std::shared_ptr<PEImageEditorTransitionDelegate>
_PEImageEditorViewController::transitionDelegate() const {
    return std::dynamic_pointer_cast<PEImageEditorTransitionDelegate>(delegate());
}

// Building the screen.

void _PEImageEditorViewController::viewDidLoad() {
    PEImageEditor::viewDidLoad();
    if (auto info = toolInfo()) {
        setTitle(info->title());
    }
    auto view = this->view();
    view->setClipsToBounds(true);
    const auto background = theme()->backgroundColor();
    view->setBackgroundColor(background);
    if (auto navigation = navigationController()) {
        navigation->view()->setBackgroundColor(background);
    }
    // The menu comes before the picture's scroll view, whose height depends on it.
    initNavigationBar();
    initMenuScrollView();
    initImageScrollView();
    setMenuView();
    if (!imageView_) {
        imageView_ = UIImageView::initWithFrame(CGRectZero);
        scrollView()->addSubview(imageView_);
        refreshImageView();
    }
}

void _PEImageEditorViewController::viewWillAppear(bool animated) {
    PEImageEditor::viewWillAppear(animated);
    if (targetImageView_) {
        expropriateImageView();
    } else {
        refreshImageView();
    }
}

void _PEImageEditorViewController::initNavigationBar() {
    auto self = this->self<_PEImageEditorViewController>();
    auto target = weakSelf<NSObject>();
    const std::string doneKey = "PEImageEditor_DoneBtnTitle";
    const std::string doneTitle = PEImageEditorTheme::localizedStringWithDefault(doneKey, "");
    auto finish = weakAction(self, &_PEImageEditorViewController::pushedFinishBtn);
    // Untranslated anywhere, the platform's own Done item says it.
    auto done = doneTitle == doneKey ? UIBarButtonItem::initWithBarButtonSystemItemTargetAction(
                                           UIBarButtonSystemItem::Done, target, finish)
                                     : UIBarButtonItem::initWithTitleStyleTargetAction(
                                           doneTitle, UIBarButtonItemStyle::Done, target, finish);
    navigationItem()->setRightBarButtonItem(done);

    auto navigation = navigationController();
    if (navigation) {
        navigation->setNavigationBarHiddenAnimated(false, false);
    }
    auto bar = navigationBar_.lock();
    if (!bar) {
        auto item = std::make_shared<UINavigationItem>();
        item->setLeftBarButtonItem(UIBarButtonItem::initWithBarButtonSystemItemTargetAction(
            UIBarButtonSystemItem::Cancel, target,
            weakAction(self, &_PEImageEditorViewController::pushedCloseBtn)));
        item->setRightBarButtonItem(done);
        const double y = statusBarInsideViews() ? statusBarHeight() : 0;
        bar = UINavigationBar::initWithFrame(
            CGRectMake(0, y, view()->frame().size.width, UINavigationBar::kHeight));
        bar->pushNavigationItemAnimated(item, false);
        bar->setDelegate(self);
        (navigation ? navigation->view() : view())->addSubview(bar);
        navigationBar_ = bar;
    }
    if (navigation) {
        // The navigation controller's bar shows the screen's own item; the screen's bar
        // waits, hidden on top of it, for a tool's item.
        bar->setFrame(navigation->navigationBar()->frame());
        bar->setHidden(true);
        bar->popNavigationItemAnimated(false);
    } else if (auto top = bar->topItem()) {
        top->setTitle(title());
    }
    if (!statusBarInsideViews()) {
        bar->setBarStyle(UIBarStyle::BlackTranslucent);
    }
}

void _PEImageEditorViewController::initMenuScrollView() {
    auto menu = menuView();
    if (!menu) {
        const CGSize size = view()->frame().size;
        menu = UIScrollView::initWithFrame(
            CGRectMake(0, size.height - kMenuHeight, size.width, kMenuHeight));
        menu->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                  UIViewAutoresizingFlexibleTopMargin);
        menu->setShowsHorizontalScrollIndicator(false);
        menu->setShowsVerticalScrollIndicator(false);
        view()->addSubview(menu);
        menuView_ = menu;
    }
    menu->setBackgroundColor(theme()->toolbarColor());
}

void _PEImageEditorViewController::initImageScrollView() {
    if (scrollView()) {
        return;
    }
    auto view = this->view();
    auto scroll = UIScrollView::initWithFrame(view->bounds());
    scroll->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    scroll->setShowsHorizontalScrollIndicator(false);
    scroll->setShowsVerticalScrollIndicator(false);
    scroll->setDelegate(self<_PEImageEditorViewController>());
    scroll->setClipsToBounds(false);

    double top = 0;
    if (auto navigation = navigationController()) {
        auto navigationBar = navigation->navigationBar();
        top = navigationBar->isTranslucent() ? CGRectGetMaxY(navigationBar->frame()) : 0;
        if (!statusBarInsideViews()) {
            top -= statusBarHeight();
        }
    } else if (auto bar = navigationBar_.lock()) {
        top = CGRectGetMaxY(bar->frame());
    }
    CGRect frame = scroll->frame();
    frame.origin.y = top;
    frame.size.height = view->frame().size.height - top - menuView()->frame().size.height;
    scroll->setFrame(frame);
    view->insertSubviewAtIndex(scroll, 0);
    scrollView_ = scroll;
}

void _PEImageEditorViewController::setMenuView() {
    auto menu = menuView();
    auto info = toolInfo();
    const PEImageToolInfo::ToolList tools =
        info ? info->sortedSubtools() : PEImageToolInfo::ToolList{};
    const auto shown = std::count_if(tools.begin(), tools.end(),
                                     [](const auto& tool) { return tool->available(); });
    // Less than two items' width left over is shared out as equal gaps around the items;
    // more (or none) leaves the items packed from the left.
    const double spare = menu->frame().size.width - double(shown) * PEToolPanel::kItemWidth;
    const double gap =
        spare > 0 && spare < 2 * PEToolPanel::kItemWidth ? spare / double(shown + 1) : 0;
    auto self = this->self<_PEImageEditorViewController>();
    PEToolPanel::fillWithEntries(*menu, tools, weakSelf<NSObject>(),
                                 weakAction(self, &_PEImageEditorViewController::tappedMenuView),
                                 {}, gap);
}

// Picture geometry.

void _PEImageEditorViewController::refreshImageView() {
    imageView_->setImage(originalImage_);
    resetImageViewFrame();
    resetZoomScaleWithAnimated(false);
}

void _PEImageEditorViewController::resetImageViewFrame() {
    auto scroll = scrollView();
    if (!scroll || !imageView_) {
        return;
    }
    const CGSize box = scroll->frame().size;
    if (auto fitted = fittedRect(shownSize(*imageView_), box)) {
        const double zoom = scroll->zoomScale();
        const double w = fitted->size.width * zoom, h = fitted->size.height * zoom;
        imageView_->setFrame(CGRectMake(std::max((box.width - w) / 2, 0.0),
                                        std::max((box.height - h) / 2, 0.0), w, h));
    }
}

void _PEImageEditorViewController::resetZoomScaleWithAnimated(bool animated) {
    auto scroll = scrollView();
    if (!scroll || !imageView_) {
        return;
    }
    const CGSize box = scroll->frame().size;
    const CGSize shown = imageView_->frame().size;
    // Zooming goes on until one point of the picture meets one point of the screen, and at
    // least until the picture fills the scroll view.
    double maximum = 1;
    if (shown.width > 0 && shown.height > 0 && box.width > 0 && box.height > 0) {
        const CGSize picture = originalImage_ ? originalImage_->size() : CGSizeZero;
        const double rw = std::max(box.width / shown.width, picture.width / box.width);
        const double rh = std::max(box.height / shown.height, picture.height / box.height);
        maximum = std::max({1.0, rw, rh});
    }
    scroll->setContentSize(shown);
    scroll->setMinimumZoomScale(1);
    scroll->setMaximumZoomScale(maximum);
    scroll->setZoomScaleAnimated(1, animated);
}

void _PEImageEditorViewController::fixZoomScaleWithAnimated(bool animated) {
    auto scroll = scrollView();
    if (!scroll) {
        return;
    }
    const double frozen = 0.95 * scroll->minimumZoomScale();
    scroll->setMaximumZoomScale(frozen);
    scroll->setMinimumZoomScale(frozen);
    scroll->setZoomScaleAnimated(frozen, animated);
}

std::shared_ptr<UIView> _PEImageEditorViewController::viewForZoomingInScrollView(UIScrollView&) {
    return imageView_;
}

void _PEImageEditorViewController::scrollViewDidZoom(UIScrollView& scroll) {
    const UIEdgeInsets insets = scroll.contentInset();
    const double width = scroll.bounds().size.width - insets.left - insets.right;
    const double height = scroll.bounds().size.height - insets.top - insets.bottom;
    CGRect frame = imageView_->frame();
    frame.origin = CGPointMake(std::max((width - frame.size.width) / 2, 0.0),
                               std::max((height - frame.size.height) / 2, 0.0));
    imageView_->setFrame(frame);
}

// Tools.

void _PEImageEditorViewController::tappedMenuView(UIGestureRecognizer& recognizer) {
    auto item = recognizer.view();
    if (!item) {
        return;
    }
    PEToolPanel::flash(item);
    setupToolWithToolInfo(PEViewToolInfo::toolInfo(*item));
}

void _PEImageEditorViewController::setupToolWithToolInfo(
    const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    if (currentTool_ || !toolInfo) {
        return;
    }
    const Class* cls = NSClassFromString(toolInfo->toolName());
    auto tool = cls ? std::dynamic_pointer_cast<PEImageToolBase>(cls->alloc()) : nullptr;
    if (!tool) {
        return;
    }
    tool->initWithImageEditorWithToolInfo(self<_PEImageEditorViewController>(), toolInfo);
    setCurrentTool(std::move(tool));
}

void _PEImageEditorViewController::setCurrentTool(std::shared_ptr<PEImageToolBase> tool) {
    if (tool == currentTool_) {
        return;
    }
    // The old tool lives through its cleanup.
    auto old = std::move(currentTool_);
    if (old) {
        old->cleanup();
    }
    currentTool_ = std::move(tool);
    if (currentTool_) {
        currentTool_->setup();
    }
    swapToolBarWithEditting(currentTool_ != nullptr);
}

void _PEImageEditorViewController::swapToolBarWithEditting(bool editing) {
    swapMenuViewWithEditting(editing);
    swapNavigationBarWithEditting(editing);
    auto bar = navigationBar_.lock();
    if (!bar) {
        return;
    }
    const bool animated = navigationController() == nullptr;
    if (!currentTool_) {
        bar->popNavigationItemAnimated(animated);
        return;
    }
    auto self = this->self<_PEImageEditorViewController>();
    auto target = weakSelf<NSObject>();
    auto item = std::make_shared<UINavigationItem>();
    auto info = currentTool_->toolInfo();
    item->setTitle(info ? info->title() : std::string());
    item->setRightBarButtonItem(UIBarButtonItem::initWithTitleStyleTargetAction(
        PEImageEditorTheme::localizedStringWithDefault("PEImageEditor_OKBtnTitle", "OK"),
        UIBarButtonItemStyle::Done, target,
        weakAction(self, &_PEImageEditorViewController::pushedDoneBtn)));
    item->setLeftBarButtonItem(UIBarButtonItem::initWithTitleStyleTargetAction(
        PEImageEditorTheme::localizedStringWithDefault("PEImageEditor_BackBtnTitle", "Back"),
        UIBarButtonItemStyle::Plain, target,
        weakAction(self, &_PEImageEditorViewController::pushedCancelBtn)));
    bar->pushNavigationItemAnimated(item, animated);
}

double _PEImageEditorViewController::menuSlideDistance() {
    auto menu = menuView();
    if (!menu) {
        return 0;
    }
    // The menu's top without its transform.
    const double top = menu->center().y - menu->bounds().size.height / 2;
    return view()->frame().size.height - top;
}

void _PEImageEditorViewController::swapMenuViewWithEditting(bool editing) {
    auto menu = menuView();
    if (!menu) {
        return;
    }
    const CGAffineTransform transform =
        editing ? CGAffineTransformMakeTranslation(0, menuSlideDistance())
                : CGAffineTransformIdentity;
    PEToolPanel::animate([menu, transform] { menu->setTransform(transform); });
}

void _PEImageEditorViewController::swapNavigationBarWithEditting(bool editing) {
    auto navigation = navigationController();
    auto bar = navigationBar_.lock();
    if (!navigation || !bar) {
        return;
    }
    auto navigationBar = navigation->navigationBar();
    const double height = bar->frame().size.height;
    if (editing) {
        bar->setHidden(false);
        bar->setTransform(CGAffineTransformMakeTranslation(0, -height));
        const double rise = UINavigationBar::kStatusBarHeight + navigationBar->frame().size.height;
        PEToolPanel::animate([navigationBar, bar, rise] {
            navigationBar->setTransform(CGAffineTransformMakeTranslation(0, -rise));
            bar->setTransform(CGAffineTransformIdentity);
        });
    } else {
        PEToolPanel::animate(
            [navigationBar, bar, height] {
                navigationBar->setTransform(CGAffineTransformIdentity);
                bar->setTransform(CGAffineTransformMakeTranslation(0, -height));
            },
            weakCall(self<_PEImageEditorViewController>(),
                     [bar](_PEImageEditorViewController& editor, bool) {
                         // A tool chosen while the bar was leaving keeps it.
                         if (!editor.currentTool_) {
                             bar->setHidden(true);
                             bar->setTransform(CGAffineTransformIdentity);
                         }
                     }));
    }
}

// The bars' buttons.

void _PEImageEditorViewController::pushedCancelBtn() {
    setExecuting(false);
    imageView_->setImage(originalImage_);
    resetImageViewFrame();
    setCurrentTool(nullptr);
}

void _PEImageEditorViewController::pushedDoneBtn() {
    if (!currentTool_ || executing_) {
        return;
    }
    setExecuting(true);
    const unsigned long run = executionRun_;
    std::weak_ptr<_PEImageEditorViewController> weak = self<_PEImageEditorViewController>();
    currentTool_->executeWithCompletionBlock([weak, run](std::shared_ptr<UIImage> image,
                                                         std::shared_ptr<NSError> error,
                                                         std::shared_ptr<NSObject>) {
        auto deliver = weakCall(weak, [run, image, error](_PEImageEditorViewController& editor) {
            editor.toolDidExecute(run, image, error);
        });
        if (NSThread::isMainThread()) {
            deliver();
        } else {
            dispatch_async(dispatch_get_main_queue(), deliver);
        }
    });
}

void _PEImageEditorViewController::toolDidExecute(unsigned long run,
                                                  const std::shared_ptr<UIImage>& image,
                                                  const std::shared_ptr<NSError>& error) {
    // Late (the run was ended by Back) or repeated answers change nothing.
    if (!executing_ || run != executionRun_) {
        return;
    }
    setExecuting(false);
    if (error) {
        UIAlertView::initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles(
            "Error", error->localizedDescription(), nullptr, "OK", {})
            ->show();
        return;
    }
    if (!image) {
        return;
    }
    originalImage_ = image;
    imageView_->setImage(image);
    resetImageViewFrame();
    setCurrentTool(nullptr);
}

void _PEImageEditorViewController::setExecuting(bool executing) {
    if (executing) {
        ++executionRun_;
    }
    executing_ = executing;
    auto bar = navigationBar_.lock();
    auto top = bar ? bar->topItem() : nullptr;
    if (auto ok = top && currentTool_ ? top->rightBarButtonItem() : nullptr) {
        ok->setEnabled(!executing);
    }
    if (!executing) {
        if (touchShield_) {
            touchShield_->removeFromSuperview();
            touchShield_.reset();
        }
        return;
    }
    auto view = this->view();
    touchShield_ = UIView::initWithFrame(view->bounds());
    touchShield_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                      UIViewAutoresizingFlexibleHeight);
    if (bar && bar->superview() == view) {
        view->insertSubviewBelowSubview(touchShield_, bar);
    } else {
        view->addSubview(touchShield_);
    }
}

void _PEImageEditorViewController::pushedCloseBtn() {
    if (targetImageView_) {
        imageView_->setImage(targetImageView_->image());
        restoreImageView(true);
    } else if (auto delegate = this->delegate()) {
        delegate->imageEditorDidCancel(*this);
    } else {
        dismissViewControllerAnimatedCompletion(true, nullptr);
    }
}

void _PEImageEditorViewController::pushedFinishBtn() {
    output_ = MixImageOutput::presentForEditedImageFromViewController(
        originalImage_, self<_PEImageEditorViewController>());
}

// Embedded mode.

void _PEImageEditorViewController::showInViewControllerWithImageView(
    const std::shared_ptr<UIViewController>& parent,
    const std::shared_ptr<UIImageView>& imageView) {
    if (!parent || !imageView) {
        return;
    }
    originalImage_ = imageView->image();
    targetImageView_ = imageView;
    auto self = this->self<_PEImageEditorViewController>();
    parent->addChildViewController(self);
    didMoveToParentViewController(parent);
    auto view = this->view();
    view->setFrame(parent->view()->bounds());
    parent->view()->addSubview(view);
    refreshImageView();
}

void _PEImageEditorViewController::copyImageViewInfoToView(const std::shared_ptr<UIImageView>& from,
                                                           const std::shared_ptr<UIImageView>& to) {
    const CGAffineTransform kept = from->transform();
    from->setTransform(CGAffineTransformIdentity);
    to->setTransform(CGAffineTransformIdentity);
    auto fromParent = from->superview();
    auto toParent = to->superview();
    const CGRect frame =
        fromParent ? fromParent->convertRectToView(from->frame(), toParent.get()) : from->frame();
    to->setFrame(frame);
    to->setTransform(kept);
    to->setImage(from->image());
    to->setContentMode(from->contentMode());
    to->setClipsToBounds(from->clipsToBounds());
    from->setTransform(kept);
}

std::shared_ptr<UIWindow> _PEImageEditorViewController::flightWindow() const {
    if (auto window = targetImageView_ ? targetImageView_->window() : nullptr) {
        return window;
    }
    if (auto delegate = UIApplication::sharedApplication()->delegate()) {
        if (auto window = delegate->window()) {
            return window;
        }
    }
    return UIApplication::sharedApplication()->keyWindow();
}

void _PEImageEditorViewController::expropriateImageView() {
    auto window = flightWindow();
    auto view = this->view();
    auto scroll = scrollView();
    if (!window || !scroll) {
        return;
    }
    // An editor embedded again after its closing flight (which left its view deaf to
    // touches and took its bar and menu out of it) takes touches and builds both anew.
    view->setUserInteractionEnabled(true);
    if (auto old = navigationBar_.lock(); !old || !old->superview()) {
        navigationBar_.reset();
        initNavigationBar();
    }
    if (auto old = menuView(); !old || !old->superview()) {
        menuView_.reset();
        initMenuScrollView();
        setMenuView();
    }
    auto bar = navigationBar_.lock();
    auto menu = menuView();
    auto copy = UIImageView::initWithFrame(CGRectZero);
    window->addSubview(copy);
    copyImageViewInfoToView(targetImageView_, copy);

    // Each appearance flies anew: the backdrop of an earlier flight goes, and its colour
    // (the view's own colour then) comes to the new one.
    auto background = bgView_ ? bgView_->backgroundColor() : view->backgroundColor();
    if (bgView_) {
        bgView_->removeFromSuperview();
    }
    bgView_ = UIView::initWithFrame(view->bounds());
    view->insertSubviewAtIndex(bgView_, 0);
    bgView_->setBackgroundColor(background);
    view->setBackgroundColor(background ? background->colorWithAlphaComponent(0) : nullptr);

    targetImageView_->setHidden(true);
    imageView_->setHidden(true);
    bgView_->setAlpha(0);
    if (bar) {
        bar->setTransform(CGAffineTransformMakeTranslation(0, -bar->frame().size.height));
    }
    menu->setTransform(CGAffineTransformMakeTranslation(0, menuSlideDistance()));

    // The picture's place in the scroll view, in the window's coordinates (the editor's
    // view need not start at the window's origin).
    std::optional<CGRect> landing;
    if (auto fitted = fittedRect(shownSize(*imageView_), scroll->frame().size)) {
        const double shift = statusBarInsideViews() ? 0 : statusBarHeight();
        landing = view->convertRectToView(
            CGRectOffset(*fitted, scroll->frame().origin.x, scroll->frame().origin.y + shift),
            nullptr);
    }
    auto bgView = bgView_;
    PEToolPanel::animate(
        [copy, landing, bgView, bar, menu] {
            copy->setTransform(CGAffineTransformIdentity);
            if (landing) {
                copy->setFrame(*landing);
            }
            bgView->setAlpha(1);
            if (bar) {
                bar->setTransform(CGAffineTransformIdentity);
            }
            menu->setTransform(CGAffineTransformIdentity);
        },
        [target = targetImageView_, imageView = imageView_, copy](bool) {
            target->setHidden(false);
            imageView->setHidden(false);
            copy->removeFromSuperview();
        });
}

void _PEImageEditorViewController::restoreImageView(bool canceled) {
    auto self = this->self<_PEImageEditorViewController>();
    auto target = targetImageView_;
    if (!canceled) {
        target->setImage(imageView_->image());
    }
    target->setHidden(true);
    if (auto delegate = transitionDelegate()) {
        delegate->imageEditorWillDismissWithImageViewCanceled(*this, target, canceled);
    }
    auto window = flightWindow();
    auto view = this->view();
    auto bar = navigationBar_.lock();
    auto menu = menuView();
    const double slide = menuSlideDistance();

    auto copy = UIImageView::initWithFrame(CGRectZero);
    // The bars fly in the window too, where they are on screen now.
    auto moveIntoWindow = [&window](const std::shared_ptr<UIView>& part) {
        if (part && window) {
            const CGRect frame = part->superview()
                                     ? part->superview()->convertRectToView(part->frame(), nullptr)
                                     : part->frame();
            window->addSubview(part);
            part->setFrame(frame);
        }
    };
    if (window) {
        window->addSubview(copy);
    }
    moveIntoWindow(menu);
    moveIntoWindow(bar);
    copyImageViewInfoToView(imageView_, copy);
    view->setUserInteractionEnabled(false);
    if (menu) {
        menu->setUserInteractionEnabled(false);
    }
    if (bar) {
        bar->setUserInteractionEnabled(false);
    }
    imageView_->setHidden(true);

    auto bgView = bgView_;
    PEToolPanel::animate(
        [bgView, menu, bar, copy, target, slide] {
            if (bgView) {
                bgView->setAlpha(0);
            }
            if (menu) {
                menu->setAlpha(0);
                menu->setTransform(CGAffineTransformMakeTranslation(0, slide));
            }
            if (bar) {
                bar->setAlpha(0);
                bar->setTransform(CGAffineTransformMakeTranslation(0, -bar->bounds().size.height));
            }
            copyImageViewInfoToView(target, copy);
        },
        [self, copy, menu, bar, target, canceled](bool) {
            copy->removeFromSuperview();
            if (menu) {
                menu->removeFromSuperview();
            }
            if (bar) {
                bar->removeFromSuperview();
            }
            self->willMoveToParentViewController(nullptr);
            self->view()->removeFromSuperview();
            self->removeFromParentViewController();
            self->imageView_->setHidden(false);
            target->setHidden(false);
            if (auto delegate = self->transitionDelegate()) {
                delegate->imageEditorDidDismissWithImageViewCanceled(*self, target, canceled);
            }
        });
}
