#include "app/BackImageChooseViewController.h"

#include "app/ColorList.h"
#include "app/PassValueDelegate.h"
#include "app/PhotosPickerCollectionViewCell.h"
#include "app/RZCommonConfig.h"
#include "app/categories/UIColor+Hex.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UICollectionViewFlowLayout.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/WeakAction.h"

namespace {
constexpr const char* kCellIdentifier = "imageCell";
constexpr const char* kNothing = "nothing";
constexpr const char* kAdTileColor = "f8cbbc";
constexpr double kTileStep = 103;

std::shared_ptr<UIColor> lightGrey() {
    return UIColor::colorWithRedGreenBlueAlpha(240 / 255.0, 240 / 255.0, 240 / 255.0, 1);
}

std::string stored(const char* key) {
    return NSUserDefaults::standardUserDefaults()->stringForKey(key);
}

void storeChoice(const std::string& color, const std::string& picture) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObjectForKey(color, kBackGrandSelectedKey);
    defaults->setObjectForKey(picture, kBackImageSelectedKey);
    defaults->synchronize();
}

std::shared_ptr<UILabel> sectionLabel(const CGRect& frame, const std::string& key) {
    auto label = UILabel::initWithFrame(frame);
    label->setText(NSLocalizedString(key, ""));
    label->setFont(UIFont::systemFontOfSizeWeight(16, 0.2));
    label->setTextAlignment(NSTextAlignment::Center);
    label->setBackgroundColor(UIColor::whiteColor());
    label->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                               UIViewAutoresizingFlexibleTopMargin |
                               UIViewAutoresizingFlexibleBottomMargin);
    return label;
}
} // namespace

std::optional<size_t> BackImageChooseViewController::colorIndexForTile(long tag) const {
    if (tag < 0 || tag == kAdTile) {
        return std::nullopt;
    }
    auto index = static_cast<size_t>(tag < kAdTile ? tag : tag - 1);
    if (index >= colorArr_.size()) {
        return std::nullopt;
    }
    return index;
}

void BackImageChooseViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    setTitle(NSLocalizedString("background", ""));
    view()->setBackgroundColor(lightGrey());
    imageArr_.clear();
    loadBackImageData();
    addColorScrollView();
    addBackImageCollectionView();
    addBarButtonItem();
    RZCommonConfig::shareInstance()->initAdvertise();
}

void BackImageChooseViewController::loadBackImageData() {
    // A missing thumbnail keeps its slot, so that row r still stands for picture r + 1.
    for (int n = 1; n <= kPictureCount; ++n) {
        imageArr_.push_back(
            UIImage::imageNamed(NSString::stringWithFormat("PzlImageBackground%d.jpg", n)));
    }
}

void BackImageChooseViewController::addColorScrollView() {
    CGSize screen = UIScreen::mainScreen()->bounds().size;
    double W = screen.width;
    bool portrait = W < screen.height;
    view()->addSubview(sectionLabel(CGRectMake(0, portrait ? 74 : 42, W, 30), "Color"));
    view()->addSubview(sectionLabel(CGRectMake(0, portrait ? 235 : 208, W, 30), "Picture"));

    colorScrView_ = UIScrollView::initWithFrame(CGRectMake(0, portrait ? 120 : 88, W, 105));
    colorScrView_->setBackgroundColor(lightGrey());
    colorScrView_->setAutoresizingMask(
        UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight |
        UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin);
    view()->addSubview(colorScrView_);

    colorArr_ = loadBundleColorList("BackImageChooseViewController");
    auto count = static_cast<long>(colorArr_.size());
    colorScrView_->setContentSize(CGSizeMake(kTileStep * count + 106, 0));
    std::string markedTile = stored(kBackGrandSelectedKey);
    const auto chooser = self<BackImageChooseViewController>();
    for (long k = 0; k <= count; ++k) {
        auto tile = UIButton::initWithFrame(CGRectMake(3 + kTileStep * k, 3, 100, 100));
        tile->setAutoresizingMask(
            UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin |
            UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin |
            UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        tile->setTag(k);
        if (k == kAdTile) {
            tile->setTitleForState("Ads", UIControlStateNormal);
            tile->setBackgroundColor(Hex::colorWithHexString(kAdTileColor));
        } else if (auto index = colorIndexForTile(k)) {
            tile->setBackgroundColor(Hex::colorWithHexString(colorArr_[*index]));
        }
        tile->addTargetActionForControlEvents(
            chooser, &BackImageChooseViewController::chooseBackColor, UIControlEventTouchUpInside);
        if (std::to_string(k) == markedTile) {
            auto mark = UIImageView::initWithFrame(CGRectMake(80, 80, 20, 20));
            mark->setImage(UIImage::imageNamed("selected.png"));
            mark->setAutoresizingMask(
                UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin |
                UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin);
            tile->addSubview(mark);
        }
        colorScrView_->addSubview(tile);
    }
}

void BackImageChooseViewController::addBackImageCollectionView() {
    CGSize screen = UIScreen::mainScreen()->bounds().size;
    double W = screen.width, H = screen.height;
    bool portrait = W < H;
    auto layout = std::make_shared<UICollectionViewFlowLayout>();
    layout->setScrollDirection(UICollectionViewScrollDirection::Vertical);
    layout->setSectionInset(UIEdgeInsetsMake(3, 0, 0, 0));
    layout->setMinimumInteritemSpacing(3);
    layout->setMinimumLineSpacing(3);
    double side = ((portrait ? W : H) - 9) / 4;
    layout->setItemSize(CGSizeMake(side, side));
    CGRect frame = portrait ? CGRectMake(0, 280, W, H - 214) : CGRectMake(0, 238, W, H - 182);
    backImageCollection_ = UICollectionView::initWithFrameCollectionViewLayout(frame, layout);
    backImageCollection_->setAutoresizingMask(
        UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight |
        UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin);
    backImageCollection_->setTag(1);
    backImageCollection_->setBackgroundColor(lightGrey());
    // Room below the last row for the banner.
    backImageCollection_->setContentInset(UIEdgeInsetsMake(0, 0, (H - 9) / 8 + 50, 0));
    backImageCollection_->registerClassForCellWithReuseIdentifier<PhotosPickerCollectionViewCell>(
        kCellIdentifier);
    backImageCollection_->setDataSource(self<BackImageChooseViewController>());
    backImageCollection_->setDelegate(self<BackImageChooseViewController>());
    view()->addSubview(backImageCollection_);
}

void BackImageChooseViewController::addBarButtonItem() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTintColor(UIColor::whiteColor());
    }
    const auto chooser = self<BackImageChooseViewController>();
    auto back = UIBarButtonItem::initWithImageStyleTargetAction(
        UIImage::imageNamed("back.png"), UIBarButtonItemStyle::Plain, chooser,
        weakAction(chooser, &BackImageChooseViewController::goBack));
    back->setAccessibilityLabel("Back");
    navigationItem()->setLeftBarButtonItem(back);
    auto ad = UIBarButtonItem::initWithImageStyleTargetAction(
        UIImage::imageNamed("AD.png"), UIBarButtonItemStyle::Plain, chooser,
        weakAction(chooser, &BackImageChooseViewController::showFullAds));
    ad->setAccessibilityLabel("AD");
    navigationItem()->setRightBarButtonItem(ad);
}

void BackImageChooseViewController::chooseBackColor(const UIButton& button) {
    long tag = button.tag();
    if (tag == kAdTile) {
        showFullAds();
        // The colour mark stays where it was; the picture mark is cleared all the same.
        storeChoice(stored(kBackGrandSelectedKey), kNothing);
        return;
    }
    storeChoice(std::to_string(tag), kNothing);
    auto index = colorIndexForTile(tag);
    std::string color = index ? colorArr_[*index] : "";
    if (auto delegate = valueDelegate_.lock()) {
        delegate->passSelectedColor(color);
    }
    goBack();
}

void BackImageChooseViewController::showFullAds() {
    RZCommonConfig::shareInstance()->showInterstitialAdInViewController(self<UIViewController>());
}

void BackImageChooseViewController::goBack() {
    if (auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

long BackImageChooseViewController::collectionViewNumberOfItemsInSection(UICollectionView&, long) {
    return static_cast<long>(imageArr_.size());
}

std::shared_ptr<UICollectionViewCell>
BackImageChooseViewController::collectionViewCellForItemAtIndexPath(
    UICollectionView& collectionView, const NSIndexPath& indexPath) {
    auto cell = std::static_pointer_cast<PhotosPickerCollectionViewCell>(
        collectionView.dequeueReusableCellWithReuseIdentifierForIndexPath(kCellIdentifier,
                                                                          indexPath));
    auto row = static_cast<size_t>(indexPath.row());
    cell->imageView()->setImage(row < imageArr_.size() ? imageArr_[row] : nullptr);
    CGSize image = cell->imageView()->frame().size;
    auto mark = cell->selectedImageView();
    mark->setFrame(CGRectMake(image.width - 20, image.height - 20, 20, 20));
    mark->setAutoresizingMask(UIViewAutoresizingFlexibleTopMargin |
                              UIViewAutoresizingFlexibleBottomMargin);
    mark->setHidden(std::to_string(indexPath.row()) != stored(kBackImageSelectedKey));
    return cell;
}

void BackImageChooseViewController::collectionViewDidSelectItemAtIndexPath(
    UICollectionView&, const NSIndexPath& indexPath) {
    long row = indexPath.row();
    storeChoice(kNothing, std::to_string(row));
    std::string name = NSString::stringWithFormat("FreeImageBackground%ld.jpg", row + 1);
    // A missing file gives null, which the delegate takes as "no picture".
    auto picture = UIImage::imageNamed(name);
    if (auto delegate = valueDelegate_.lock()) {
        delegate->passSelectedImage(picture);
    }
    goBack();
}
