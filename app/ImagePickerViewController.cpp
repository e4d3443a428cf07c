#include "app/ImagePickerViewController.h"

#include "app/DavuVovEditViewController.h"
#include "app/MixPhotosEditViewController.h"
#include "app/PhotosPickerCollectionViewCell.h"
#include "app/PhotosSelectedView.h"
#include "app/RZCommonConfig.h"
#include "app/output/MixImageOutput.h"
#include "app/categories/NSObject+x.h"
#include "app/categories/UIColor+Hex.h"
#include "app/categories/UIView+UIViewx.h"
#include "app/widgets/CCDropdownTitleView.h"
#include "app/widgets/DMDropdownView.h"
#include "app/widgets/OVProgressHUD.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHAssetCollection.h"
#include "platform/photos/PHCollectionList.h"
#include "platform/photos/PHFetchOptions.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UICollectionViewFlowLayout.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>
#include <numbers>

namespace {
constexpr const char* kCellIdentifier = "imagePickerCell";
constexpr const char* kAlbumCellIdentifier = "MyReuseIdentifier";
constexpr const char* kCounterKey = "gallery.select.%d Photos Selected";
constexpr double kStripStep = 103;

} // namespace

std::string ImagePickerViewController::counterText(size_t count) {
    std::string argument = NSString::stringWithFormat("  %ld ", static_cast<long>(count));
    std::string format = NSLocalizedString(kCounterKey, "");
    // Only a format with one text directive and no other fits the argument; the key
    // itself (no translation) or a translation made for a number is not used as one.
    size_t directive = format.find('%');
    bool fits = directive != std::string::npos && format.compare(directive, 2, "%@") == 0 &&
                format.find('%', directive + 2) == std::string::npos;
    if (!fits) {
        return NSString::stringWithFormat("%@Photos Selected", argument);
    }
    return NSString::stringWithFormat(format, argument);
}

// ---------------------------------------------------------------------------------------
// Building the screen

void ImagePickerViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    view()->setBackgroundColor(Hex::colorWithHexString("4b4a4a"));
    if (auto navigation = navigationController()) {
        auto bar = navigation->navigationBar();
        bar->setBarTintColor(Hex::colorWithHexString("#35c5d2"));
        bar->setTintColor(UIColor::whiteColor());
    }
    switchTitleView_ = CCDropdownTitleView::titleView();
    switchTitleView_->setAutoresizingMask(
        UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight |
        UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin);
    navigationItem()->setTitleView(switchTitleView_);
    switchTitleView_->titleButton()->addTargetActionForControlEvents(
        self<ImagePickerViewController>(), &ImagePickerViewController::onTitleMenuButtonTouched,
        UIControlEventTouchUpInside);

    addScrollView();
    addPhotosCollectionView();
    addEmptyLabel();
    addBarButtonItem();

    RZCommonConfig::shareInstance()->initAdvertise();
    selectedAssets_->clear();
    selectedPhotos_.clear();
    indexPathArr_.clear();
    haveChangedList_ = false;
    loadPhotosList();
}

void ImagePickerViewController::loadPhotosList() {
    // Listing the library touches every folder: never on the main thread.
    struct Found {
        std::vector<std::shared_ptr<PHAssetCollection>> albums;
        std::string problem;
    };
    auto found = std::make_shared<Found>();
    std::weak_ptr<ImagePickerViewController> weak = self<ImagePickerViewController>();
    x::asyncTaskReturnOnMain(
        [found] {
            found->albums = fetchPhotosList();
            if (auto error = PHPhotoLibrary::libraryFolderError()) {
                found->problem = error->localizedDescription();
            }
        },
        [weak, found] {
            auto picker = weak.lock();
            if (!picker) {
                return;
            }
            picker->photoList_ = std::move(found->albums);
            picker->libraryProblem_ = std::move(found->problem);
            if (picker->photoList_.empty()) {
                picker->showEmptyReason();
                return;
            }
            picker->currentAlbumCollection_ = picker->photoList_.front();
            picker->switchTitleView_->setTitle(picker->currentAlbumCollection_->localizedTitle());
            picker->loadPhotosForCurrentAlbumCollection();
        });
}

void ImagePickerViewController::addScrollView() {
    CGRect screen = UIScreen::mainScreen()->bounds();
    double W = screen.size.width, H = screen.size.height;

    countLabel_ = UILabel::initWithFrame(CGRectMake(0, H - 145, W - 150, 30));
    countLabel_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                     UIViewAutoresizingFlexibleRightMargin |
                                     UIViewAutoresizingFlexibleTopMargin);
    countLabel_->layer()->setCornerRadius(8);
    countLabel_->setTextColor(UIColor::whiteColor());
    countLabel_->setFont(UIFont::systemFontOfSizeWeight(15, 0.2));
    countLabel_->setText(counterText(0));
    view()->addSubview(countLabel_);

    mixEnterBtn_ = UIButton::initWithFrame(CGRectMake(W - 100, H - 148, 90, 38));
    mixEnterBtn_->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                      UIViewAutoresizingFlexibleWidth |
                                      UIViewAutoresizingFlexibleTopMargin);
    mixEnterBtn_->setBackgroundImageForState(UIImage::imageNamed("make.png"), UIControlStateNormal);
    mixEnterBtn_->setTitleForState(NSLocalizedString("Make", ""), UIControlStateNormal);
    mixEnterBtn_->setClipsToBounds(true);
    mixEnterBtn_->addTargetActionForControlEvents(
        self<ImagePickerViewController>(),
        &ImagePickerViewController::EnterMixPhotosEditViewController, UIControlEventTouchUpInside);
    setMakeEnabled(false, 0.5);
    view()->addSubview(mixEnterBtn_);

    selectedScrView_ = UIScrollView::initWithFrame(CGRectMake(0, H - 110, W, 100));
    selectedScrView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                          UIViewAutoresizingFlexibleTopMargin);
    selectedScrView_->setScrollEnabled(true);
    selectedScrView_->setBackgroundColor(Hex::colorWithHexString("4b4a4a"));
    view()->addSubview(selectedScrView_);
}

void ImagePickerViewController::addPhotosCollectionView() {
    CGRect screen = UIScreen::mainScreen()->bounds();
    double W = screen.size.width, H = screen.size.height;
    auto layout = std::make_shared<UICollectionViewFlowLayout>();
    layout->setSectionInset(UIEdgeInsetsMake(2, 0, 0, 0));
    layout->setMinimumInteritemSpacing(2);
    layout->setMinimumLineSpacing(2);
    CGRect frame;
    if (W < H) {
        double side = (W - 6) * 0.25;
        layout->setItemSize(CGSizeMake(side, side));
        frame = CGRectMake(0, 64, W, H - 150 - 64);
    } else {
        double side = (H - 6) * 0.25;
        layout->setItemSize(CGSizeMake(side, side));
        frame = CGRectMake(0, 32, W, H - 150 - 32);
    }
    photosCollection_ = UICollectionView::initWithFrameCollectionViewLayout(frame, layout);
    photosCollection_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                           UIViewAutoresizingFlexibleHeight |
                                           UIViewAutoresizingFlexibleTopMargin);
    photosCollection_->setContentInset(UIEdgeInsetsMake(0, 0, 50, 0));
    photosCollection_->setBackgroundColor(UIColor::whiteColor());
    photosCollection_->setTag(1);
    photosCollection_->registerClassForCellWithReuseIdentifier<PhotosPickerCollectionViewCell>(
        kCellIdentifier);
    photosCollection_->setDataSource(self<ImagePickerViewController>());
    photosCollection_->setDelegate(self<ImagePickerViewController>());
    view()->addSubview(photosCollection_);
}

void ImagePickerViewController::addEmptyLabel() {
    CGRect grid = photosCollection_->frame();
    emptyLabel_ = UILabel::initWithFrame(CGRectInset(grid, 20, 0));
    emptyLabel_->setAutoresizingMask(photosCollection_->autoresizingMask());
    emptyLabel_->setNumberOfLines(0);
    emptyLabel_->setTextAlignment(NSTextAlignment::Center);
    emptyLabel_->setTextColor(Hex::colorWithHexString("4b4a4a"));
    emptyLabel_->setFont(UIFont::systemFontOfSize(17));
    emptyLabel_->setUserInteractionEnabled(false);
    emptyLabel_->setHidden(true);
    view()->addSubview(emptyLabel_);
}

void ImagePickerViewController::showEmptyReason() {
    if (!assetArray_.empty()) {
        emptyLabel_->setHidden(true);
        return;
    }
    if (!libraryProblem_.empty()) {
        emptyLabel_->setText(libraryProblem_);
    } else if (photoList_.empty()) {
        emptyLabel_->setText(NSLocalizedString("The photo library cannot be shown.", ""));
    } else {
        emptyLabel_->setText(NSLocalizedString("No photos in this album.", ""));
    }
    emptyLabel_->setHidden(false);
}

void ImagePickerViewController::showUnreadablePhotoAlert(const std::string& reason) {
    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
        NSLocalizedString("This photo cannot be opened", ""), reason,
        UIAlertControllerStyle::Alert);
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
        NSLocalizedString("OK", ""), UIAlertActionStyle::Cancel, nullptr));
    presentViewControllerAnimatedCompletion(alert, true, nullptr);
}

void ImagePickerViewController::addBarButtonItem() {
    auto back = UIBarButtonItem::initWithImageStyleTargetAction(
        UIImage::imageNamed("back.png"), UIBarButtonItemStyle::Plain, self<NSObject>(),
        weakAction(self<ImagePickerViewController>(), &ImagePickerViewController::goBack));
    back->setAccessibilityLabel("Back");
    navigationItem()->setLeftBarButtonItem(back);
}

void ImagePickerViewController::viewDidAppear(bool animated) {
    BaseViewController::viewDidAppear(animated);
    auto defaults = NSUserDefaults::standardUserDefaults();
    if (defaults->boolForKey(kShouldShowFullScreenAdKey)) {
        RZCommonConfig::shareInstance()->showInterstitialAdInViewController(
            self<UIViewController>());
        defaults->setBoolForKey(false, kShouldShowFullScreenAdKey);
        defaults->synchronize();
    }
}

void ImagePickerViewController::goBack() {
    dismissViewControllerAnimatedCompletion(true, [] {});
}

void ImagePickerViewController::EnterMixPhotosEditViewController() {
    std::shared_ptr<UIViewController> editor;
    if (mixStyle_ == 0) {
        auto templateEditor = MixPhotosEditViewController::init();
        templateEditor->setSelectedAssets(selectedAssets_);
        editor = templateEditor;
    } else if (mixStyle_ == 1) {
        auto freeEditor = DavuVovEditViewController::init();
        freeEditor->setSelectedAssets(selectedAssets_);
        editor = freeEditor;
    }
    if (editor && navigationController()) {
        navigationController()->pushViewControllerAnimated(editor, true);
    }
}

// ---------------------------------------------------------------------------------------
// Albums

std::vector<std::shared_ptr<PHAssetCollection>> ImagePickerViewController::fetchPhotosList() {
    std::vector<std::shared_ptr<PHAssetCollection>> list;
    auto recent = PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
        PHAssetCollectionType::SmartAlbum, PHAssetCollectionSubtype::SmartAlbumRecentlyAdded,
        nullptr);
    if (auto first = recent.firstObject()) {
        list.push_back(first);
    }
    auto library = PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
        PHAssetCollectionType::SmartAlbum, PHAssetCollectionSubtype::SmartAlbumUserLibrary,
        nullptr);
    if (auto last = library.lastObject()) {
        list.push_back(last);
    }
    for (const auto& collection :
         PHCollectionList::fetchTopLevelUserCollectionsWithOptions(nullptr)) {
        if (auto album = std::dynamic_pointer_cast<PHAssetCollection>(collection)) {
            list.push_back(album);
        }
    }
    return list;
}

ImagePickerViewController::AssetList
ImagePickerViewController::getAssetFromPhotoCollectionAscending(
    const std::shared_ptr<PHAssetCollection>& collection, bool ascending) {
    auto options = std::make_shared<PHFetchOptions>();
    options->setSortDescriptors(
        {NSSortDescriptor::sortDescriptorWithKeyAscending("creationDate", ascending)});
    AssetList assets;
    for (const auto& asset : PHAsset::fetchAssetsInAssetCollectionOptions(collection, options)) {
        if (asset->mediaType() != PHAssetMediaType::Video) {
            assets.push_back(asset);
        }
    }
    return assets;
}

void ImagePickerViewController::loadPhotosForCurrentAlbumCollection() {
    if (!currentAlbumCollection_) {
        return;
    }
    auto host = navigationController() ? navigationController()->view() : view();
    loadingDataActivity_ = OVProgressHUD::initWithView(host);
    view()->addSubview(loadingDataActivity_);
    loadingDataActivity_->setRemoveFromSuperViewOnHide(true);
    loadingDataActivity_->show(true);
    auto collection = currentAlbumCollection_;
    auto loaded = std::make_shared<AssetList>();
    std::weak_ptr<ImagePickerViewController> weak = self<ImagePickerViewController>();
    x::asyncTaskReturnOnMain(
        [collection, loaded] { *loaded = getAssetFromPhotoCollectionAscending(collection, true); },
        [weak, loaded, collection, hud = loadingDataActivity_] {
            hud->hide(true);
            auto picker = weak.lock();
            // A slower load of an album switched away from must not fill the grid.
            if (picker && picker->currentAlbumCollection_ == collection) {
                picker->assetArray_ = std::move(*loaded);
                picker->photosCollection_->reloadData();
                picker->showEmptyReason();
            }
        });
}

void ImagePickerViewController::onTitleMenuButtonTouched() {
    CGRect bounds = view()->bounds();
    double menuHeight =
        std::min(static_cast<double>(photoList_.size()) * 44, bounds.size.height * 0.7);
    auto navigation = navigationController();
    double top = navigation && navigation->navigationBar()->isTranslucent() ? 64 : 0;
    if (menuTableView_) {
        menuTableView_->setFrame(CGRectMake(0, 0, bounds.size.width, menuHeight));
    } else {
        menuTableView_ = UITableView::initWithFrameStyle(
            CGRectMake(0, 0, bounds.size.width, menuHeight), UITableViewStyle::Plain);
        menuTableView_->setDelegate(self<ImagePickerViewController>());
        menuTableView_->setDataSource(self<ImagePickerViewController>());
        menuTableView_->setRowHeight(44);
        menuTableView_->setBackgroundColor(UIColor::whiteColor());
    }
    menuTableView_->reloadData();
    if (!dropdownView_) {
        dropdownView_ = DMDropdownView::init();
        dropdownView_->setMenuContentView(menuTableView_);
        dropdownView_->setMenuBackgroundColor(UIColor::whiteColor());
        dropdownView_->setTitleViewImageView(switchTitleView_->imageView());
    }
    if (dropdownView_->isOpen()) {
        dropdownView_->hide();
    } else {
        dropdownView_->showInViewWithFrame(
            view(), CGRectMake(0, top, bounds.size.width, bounds.size.height + top));
    }
}

long ImagePickerViewController::tableViewNumberOfRowsInSection(UITableView&, long) {
    return static_cast<long>(photoList_.size());
}

std::shared_ptr<UITableViewCell>
ImagePickerViewController::tableViewCellForRowAtIndexPath(UITableView& tableView,
                                                          const NSIndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kAlbumCellIdentifier);
    if (!cell) {
        cell = UITableViewCell::initWithStyleReuseIdentifier(UITableViewCellStyle::Default,
                                                             kAlbumCellIdentifier);
    }
    auto index = static_cast<size_t>(indexPath.row());
    cell->textLabel()->setText(index < photoList_.size() ? photoList_[index]->localizedTitle()
                                                         : "");
    cell->setAccessoryType(UITableViewCellAccessoryType::None);
    cell->setBackgroundColor(UIColor::whiteColor());
    return cell;
}

void ImagePickerViewController::tableViewDidSelectRowAtIndexPath(UITableView& tableView,
                                                                 const NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPathAnimated(indexPath, false);
    if (dropdownView_) {
        dropdownView_->hide();
    }
    auto index = static_cast<size_t>(indexPath.row());
    if (index >= photoList_.size()) {
        return;
    }
    currentAlbumCollection_ = photoList_[index];
    switchTitleView_->setTitle(currentAlbumCollection_->localizedTitle());
    if (!selectedAssets_->empty()) {
        haveChangedList_ = true;
    }
    double delay = dropdownView_ ? dropdownView_->animationDuration() : 0;
    dispatch_after(delay, dispatch_get_main_queue(),
                   weakAction(self<ImagePickerViewController>(),
                              &ImagePickerViewController::loadPhotosForCurrentAlbumCollection));
}

// ---------------------------------------------------------------------------------------
// The grid and the choice

long ImagePickerViewController::collectionViewNumberOfItemsInSection(UICollectionView&, long) {
    return static_cast<long>(assetArray_.size());
}

std::shared_ptr<UICollectionViewCell>
ImagePickerViewController::collectionViewCellForItemAtIndexPath(UICollectionView& collectionView,
                                                                const NSIndexPath& indexPath) {
    auto cell = std::static_pointer_cast<PhotosPickerCollectionViewCell>(
        collectionView.dequeueReusableCellWithReuseIdentifierForIndexPath(kCellIdentifier,
                                                                          indexPath));
    if (haveChangedList_) {
        cell->selectedImageView()->setHidden(true);
    } else if (std::any_of(indexPathArr_.begin(), indexPathArr_.end(),
                           [&](const NSIndexPath& p) { return p.row() == indexPath.row(); })) {
        cell->selectedImageView()->setHidden(false);
    }
    auto index = static_cast<size_t>(indexPath.row());
    cell->displayCellForAsset(index < assetArray_.size() ? assetArray_[index] : nullptr);
    return cell;
}

void ImagePickerViewController::collectionViewDidSelectItemAtIndexPath(
    UICollectionView& collectionView, const NSIndexPath& indexPath) {
    if (selectedAssets_->size() >= kMaximumPhotos) {
        auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
            NSLocalizedString("Remind info", ""),
            NSString::stringWithFormat(NSLocalizedString("You can choose %@ photos at most", ""),
                                       "5"),
            UIAlertControllerStyle::Alert);
        alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
            NSLocalizedString("cancel", ""), UIAlertActionStyle::Cancel, nullptr));
        presentViewControllerAnimatedCompletion(alert, true, nullptr);
        return;
    }
    auto index = static_cast<size_t>(indexPath.row());
    if (index >= assetArray_.size()) {
        return;
    }
    auto cell = std::dynamic_pointer_cast<PhotosPickerCollectionViewCell>(
        collectionView.cellForItemAtIndexPath(indexPath));
    if (cell && cell->isBroken()) {
        showUnreadablePhotoAlert(cell->brokenReason());
        return;
    }
    auto thumbnail = cell ? cell->imageView()->image() : nullptr;
    if (!thumbnail || (cell && cell->isDegraded())) {
        // The thumbnail has not arrived yet: fetch it now rather than keep a missing picture.
        auto options = std::make_shared<PHImageRequestOptions>();
        options->setSynchronous(true);
        options->setResizeMode(PHImageRequestOptionsResizeMode::Exact);
        double scale = UIScreen::mainScreen()->scale();
        CGSize size = cell ? cell->frame().size : CGSizeMake(100, 100);
        std::string failure;
        PHImageManager::defaultManager()
            ->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
                assetArray_[index], CGSizeMake(size.width * scale, size.height * scale),
                PHImageContentMode::AspectFill, options,
                [&thumbnail, &failure](const std::shared_ptr<UIImage>& image,
                                       const PlistValue::Dictionary& info) {
                    thumbnail = image;
                    if (auto error = info.find(PHImageErrorKey); error != info.end()) {
                        failure = error->second.stringValue();
                    }
                });
        if (!thumbnail) {
            NSLog("The photo %@ cannot be read; it is not chosen",
                  assetArray_[index]->localIdentifier());
            if (cell) {
                cell->showBroken(failure);
            }
            showUnreadablePhotoAlert(failure);
            return;
        }
        if (cell) {
            cell->imageView()->setImage(thumbnail);
        }
    }
    if (!haveChangedList_ && cell) {
        cell->selectedImageView()->setHidden(false);
    }
    selectedAssets_->push_back(assetArray_[index]);
    selectedPhotos_.push_back(thumbnail);
    indexPathArr_.push_back(indexPath);
    if (selectedAssets_->size() >= 2) {
        setMakeEnabled(true, 1.0);
    }
    loadSelectedViewData();
}

void ImagePickerViewController::setMakeEnabled(bool enabled, double disabledAlpha) {
    mixEnterBtn_->setAlpha(enabled ? 1.0 : disabledAlpha);
    mixEnterBtn_->setUserInteractionEnabled(enabled);
}

void ImagePickerViewController::loadSelectedViewData() {
    size_t count = selectedAssets_->size();
    countLabel_->setText(counterText(count));
    UIViewx::clearSubviews(*selectedScrView_);
    const auto picker = self<ImagePickerViewController>();
    for (size_t i = 0; i < selectedPhotos_.size(); ++i) {
        auto thumbnail = PhotosSelectedView::initWithFrame(
            CGRectMake(3 + kStripStep * static_cast<double>(i), 3, 100, 100));
        thumbnail->imageView()->setImage(selectedPhotos_[i]);
        thumbnail->deleteBtn()->setTag(static_cast<long>(i));
        thumbnail->deleteBtn()->addTargetActionForControlEvents(
            picker, &ImagePickerViewController::deleteSelectedImage, UIControlEventTouchUpInside);
        selectedScrView_->addSubview(thumbnail);
    }
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        0.5, 0, 0,
        [&] {
            if (count >= kMaximumPhotos) {
                selectedScrView_->setContentOffset(
                    CGPointMake(static_cast<double>(count) * kStripStep - 412, 0));
            }
        },
        nullptr);
    selectedScrView_->setContentSize(CGSizeMake(static_cast<double>(count) * kStripStep, 0));
}

void ImagePickerViewController::deleteSelectedImage(const UIButton& button) {
    auto pressed = std::const_pointer_cast<UIButton>(button.self<UIButton>());
    // One removal per button: a second tap during the half turn must not remove another.
    if (!pressed->isUserInteractionEnabled()) {
        return;
    }
    pressed->setUserInteractionEnabled(false);
    std::weak_ptr<ImagePickerViewController> weak = self<ImagePickerViewController>();
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        0.3, 0, 0, [&] { pressed->setTransform(CGAffineTransformMakeRotation(std::numbers::pi)); },
        weakCall(weak, [pressed](ImagePickerViewController& picker, bool) {
            UIViewx::clearSubviews(*picker.selectedScrView_);
            auto index = static_cast<size_t>(pressed->tag());
            if (index < picker.selectedPhotos_.size()) {
                picker.selectedPhotos_.erase(picker.selectedPhotos_.begin() +
                                             static_cast<long>(index));
                picker.selectedAssets_->erase(picker.selectedAssets_->begin() +
                                              static_cast<long>(index));
                picker.indexPathArr_.erase(picker.indexPathArr_.begin() + static_cast<long>(index));
            }
            if (picker.selectedAssets_->size() < 2) {
                picker.setMakeEnabled(false, 0.4);
            }
            picker.loadSelectedViewData();
            picker.countLabel_->setText(counterText(picker.selectedAssets_->size()));
            picker.photosCollection_->reloadData();
        }));
}
