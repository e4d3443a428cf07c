#include "app/DavuVovEditViewController.h"

#include "app/BackImageChooseViewController.h"
#include "app/CollagePhotoLoader.h"
#include "app/FreeEditMixView.h"
#include "app/RZCommonConfig.h"
#include "app/categories/UIColor+Hex.h"
#include "app/categories/UIViewController+CollageBarItems.h"
#include "app/categories/UIViewController+NavigationTitle.h"
#include "app/output/MixImageOutput.h"
#include "editor/PEImageEditor.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/WeakAction.h"

namespace {
constexpr const char* kScreenGrey = "b5b5b5";
constexpr const char* kBarGrey = "4b4a4a";

CGSize screenSize() {
    return UIScreen::mainScreen()->bounds().size;
}
} // namespace

std::vector<CGRect>
DavuVovEditViewController::cardFramesForCanvasSizePhotoSizes(CGSize canvas,
                                                             const std::vector<CGSize>& photos) {
    std::vector<CGRect> frames;
    if (photos.empty()) {
        return frames;
    }
    const double count = static_cast<double>(photos.size());
    const double step = (canvas.height - (10 * count + 10)) / count + 10;
    const double width = canvas.width - 2 * kCardInset;
    for (size_t i = 0; i < photos.size(); ++i) {
        const CGSize photo = photos[i];
        // A photo without width has no shape to keep: its card is square.
        const double height = photo.width > 0 ? width * photo.height / photo.width : width;
        frames.push_back(
            CGRectMake(kCardInset, kCardInset + step * static_cast<double>(i), width, height));
    }
    return frames;
}

void DavuVovEditViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    setTitle(NSLocalizedString("DavuVov", ""));
    NavigationTitle::useWhiteTitle(*this);
    view()->setBackgroundColor(Hex::colorWithHexString(kScreenGrey));
    editViewArr_.clear();
    addBottomEditView();
    addBarButtonItems();
    getHighQualityPhotoFromPhasset();
    // Each visit starts with the chooser marking the first colour and no picture.
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObjectForKey("0", kBackGrandSelectedKey);
    defaults->setObjectForKey("nothing", kBackImageSelectedKey);
    defaults->synchronize();
}

void DavuVovEditViewController::addBottomEditView() {
    const CGSize screen = screenSize();
    bottomEditView_ = UIView::initWithFrame(
        CGRectMake(0, screen.height - kBottomBarHeight, screen.width, kBottomBarHeight));
    bottomEditView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                         UIViewAutoresizingFlexibleTopMargin);
    bottomEditView_->setBackgroundColor(Hex::colorWithHexString(kBarGrey));
    view()->addSubview(bottomEditView_);

    // Three buttons of a third each (less their gaps), each keeping to its third as the
    // bar stretches.
    const double third = (screen.width - 20) / 3;
    using Action = void (DavuVovEditViewController::*)();
    struct Button {
        const char* image;
        const char* label;
        Action action;
        unsigned margins;
    };
    const Button buttons[] = {
        {"bg.png", "Background", &DavuVovEditViewController::chooseBackgrandImage,
         UIViewAutoresizingFlexibleRightMargin},
        {"edit.png", "Edit", &DavuVovEditViewController::editImage,
         UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin},
        {"addOrDelete.png", "Add or Delete", &DavuVovEditViewController::addOrDeleteImage,
         UIViewAutoresizingFlexibleLeftMargin},
    };
    const auto editor = self<DavuVovEditViewController>();
    for (size_t i = 0; i < 3; ++i) {
        const Button& entry = buttons[i];
        auto button = UIButton::initWithFrame(
            CGRectMake(5 + (third + 5) * static_cast<double>(i), 0, third, kBottomBarHeight));
        button->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                    UIViewAutoresizingFlexibleTopMargin | entry.margins);
        button->setImageForState(UIImage::imageNamed(entry.image), UIControlStateNormal);
        button->setAccessibilityLabel(entry.label);
        button->addTargetActionForControlEvents(editor, entry.action, UIControlEventTouchUpInside);
        bottomEditView_->addSubview(button);
    }
}

void DavuVovEditViewController::addBarButtonItems() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTintColor(UIColor::whiteColor());
    }
    const auto editor = self<DavuVovEditViewController>();
    CollageBarItems::addBackAndShareItems(
        *this, weakAction(editor, &DavuVovEditViewController::goBack),
        weakAction(editor, &DavuVovEditViewController::shareMixPhoto));
}

void DavuVovEditViewController::getHighQualityPhotoFromPhasset() {
    selectedPhotos_.clear();
    const AssetList assets = selectedAssets_ ? *selectedAssets_ : AssetList{};
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setResizeMode(PHImageRequestOptionsResizeMode::Exact);
    options->setDeliveryMode(PHImageRequestOptionsDeliveryMode::HighQualityFormat);
    // The size is asked for in pixels: a screenful of points would leave a card's photo
    // blurred on a screen of more than one pixel per point.
    const double scale = UIScreen::mainScreen()->scale();
    const CGSize screen = screenSize();
    const size_t requested = assets.size();
    loadingDataActivity_ = CollagePhotoLoader::loadPhotosForScreen(
        *this, assets, CGSizeMake(screen.width * scale, screen.height * scale),
        PHImageContentMode::AspectFit, options,
        weakCall(self<DavuVovEditViewController>(),
                 [requested](DavuVovEditViewController& editor, CollagePhotoLoader::Photos photos) {
                     editor.selectedPhotos_ = std::move(photos);
                     editor.photosDidLoad(requested);
                 }));
}

void DavuVovEditViewController::photosDidLoad(size_t requested) {
    // One readable photo is enough to arrange on a background.
    const auto editor = self<DavuVovEditViewController>();
    if (!CollagePhotoLoader::reportUnreadablePhotos(
            editor, selectedPhotos_.size(), requested, 1,
            weakAction(editor, &DavuVovEditViewController::goBack))) {
        return;
    }
    addDavuVovPhotos();
    navigationItem()->rightBarButtonItem()->setEnabled(true);
}

void DavuVovEditViewController::addDavuVovPhotos() {
    const CGSize screen = screenSize();
    const bool portrait = screen.width < screen.height;
    // Below the navigation bar (with the status bar above it in portrait) and above the
    // bottom bar.
    const double top = portrait ? 74 : 42;
    contentsView_ =
        UIImageView::initWithFrame(CGRectMake(kCanvasInset, top, screen.width - 2 * kCanvasInset,
                                              screen.height - top - kBottomBarHeight));
    contentsView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                       UIViewAutoresizingFlexibleHeight |
                                       UIViewAutoresizingFlexibleTopMargin);
    contentsView_->setBackgroundColor(UIColor::whiteColor());
    contentsView_->setClipsToBounds(true);
    contentsView_->setUserInteractionEnabled(true);
    view()->addSubview(contentsView_);

    std::vector<CGSize> sizes;
    for (const auto& photo : selectedPhotos_) {
        sizes.push_back(photo->size());
    }
    const auto frames = cardFramesForCanvasSizePhotoSizes(contentsView_->bounds().size, sizes);
    for (size_t i = 0; i < frames.size(); ++i) {
        auto card = FreeEditMixView::initWithFrame(frames[i]);
        card->setAutoresizingMask(
            UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin |
            UIViewAutoresizingFlexibleHeight | UIViewAutoresizingFlexibleBottomMargin);
        card->showImageView()->setImage(selectedPhotos_[i]);
        // Later cards lie above earlier ones.
        contentsView_->addSubview(card);
        editViewArr_.push_back(card);
    }
}

void DavuVovEditViewController::passSelectedColor(const std::string& color) {
    if (!contentsView_) {
        return;
    }
    contentsView_->setImage(nullptr);
    contentsView_->setBackgroundColor(Hex::colorWithHexString(color));
}

void DavuVovEditViewController::passSelectedImage(const std::shared_ptr<UIImage>& image) {
    if (!contentsView_) {
        return;
    }
    contentsView_->setImage(image);
}

void DavuVovEditViewController::chooseBackgrandImage() {
    auto chooser = BackImageChooseViewController::init();
    chooser->setValueDelegate(self<DavuVovEditViewController>());
    if (auto navigation = navigationController()) {
        navigation->pushViewControllerAnimated(chooser, true);
    }
}

void DavuVovEditViewController::editImage() {
    // Before the photos arrive there is no canvas to edit.
    if (auto image = getImageFromMixdView()) {
        presentImageEditorWithImage(image);
    }
}

std::shared_ptr<UIImage> DavuVovEditViewController::getImageFromMixdView() const {
    return contentsView_ ? MixImageOutput::imageByRenderingViewScaleOpaque(*contentsView_, 0, true)
                         : nullptr;
}

void DavuVovEditViewController::presentImageEditorWithImage(const std::shared_ptr<UIImage>& image) {
    auto editor = PEImageEditor::initWithImage(image);
    editor->setDelegate(self<DavuVovEditViewController>());
    presentViewControllerAnimatedCompletion(editor, true, nullptr);
}

void DavuVovEditViewController::addOrDeleteImage() {
    goBack();
}

void DavuVovEditViewController::goBack() {
    if (auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

std::shared_ptr<UIImage> DavuVovEditViewController::saveAndGetMixdImage() const {
    return contentsView_
               ? MixImageOutput::imageByRenderingViewScaleOpaque(*contentsView_, 1.0, false)
               : nullptr;
}

void DavuVovEditViewController::shareMixPhoto() {
    MixImageOutput::presentForImageFromViewController(saveAndGetMixdImage(),
                                                      self<UIViewController>());
}
