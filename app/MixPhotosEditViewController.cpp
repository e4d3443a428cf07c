#include "app/MixPhotosEditViewController.h"

#include "app/CollagePhotoLoader.h"
#include "app/ColorList.h"
#include "app/MixPhotosEditView.h"
#include "app/MixStyleCollectionViewCell.h"
#include "app/MixTemplateLayout.h"
#include "app/categories/UIColor+Hex.h"
#include "app/categories/UIViewController+CollageBarItems.h"
#include "app/categories/UIViewController+NavigationTitle.h"
#include "app/output/MixImageOutput.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/CGAffineTransform.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UICollectionViewFlowLayout.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UILongPressGestureRecognizer.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>

namespace {
constexpr const char* kStyleCellIdentifier = "MixStyleCell";
constexpr const char* kSliderTint = "#35c5d2";
constexpr const char* kScreenGrey = "4b4a4a";
constexpr double kFloatingCopySide = 100;

// Shared by every screen of this kind, as the strip's mark and a relayout need them.
long sharedSelectedStyleRow = 0;
long sharedCurrentStyleNumber = 1;

// The style strip or a panel (100) above the mode buttons and their labels (50).
constexpr double kBottomControlsHeight = 150;

CGSize screenSize() {
    return UIScreen::mainScreen()->bounds().size;
}

// The frame every bottom panel and the style strip share.
CGRect bottomPanelFrame() {
    CGSize screen = screenSize();
    return CGRectMake(0, screen.height - kBottomControlsHeight, screen.width, 100);
}

// The collage's place on a screen of `screen` points: the space between the navigation
// bar and the bottom controls. Upright the collage fills it; turned, that space is wide
// and low, and the collage keeps its upright shape, as large as fits, centred in it, so
// that the picture a user makes does not change shape with the screen.
CGRect collageFrame(CGSize screen) {
    const double top = UINavigationBar::kStatusBarHeight + UINavigationBar::kHeight;
    const CGRect space = CGRectMake(0, top, screen.width,
                                    std::max(0.0, screen.height - top - kBottomControlsHeight));
    const double uprightWidth = std::min(screen.width, screen.height);
    const double uprightHeight =
        std::max(0.0, std::max(screen.width, screen.height) - top - kBottomControlsHeight);
    if (uprightWidth <= 0 || uprightHeight <= 0) {
        return space;
    }
    const double fit = std::min(space.size.width / uprightWidth, space.size.height / uprightHeight);
    const double width = uprightWidth * fit, height = uprightHeight * fit;
    return CGRectMake(space.origin.x + (space.size.width - width) / 2,
                      space.origin.y + (space.size.height - height) / 2, width, height);
}

// What a photo is decoded at, in pixels: enough to cover the upright collage (the larger
// of its two shapes) at the screen's scale, and so any cell of any style, which all lie
// within it.
CGSize photoRequestSize() {
    const CGSize screen = screenSize();
    const CGSize upright = collageFrame(CGSizeMake(std::min(screen.width, screen.height),
                                                   std::max(screen.width, screen.height)))
                               .size;
    const double scale = UIScreen::mainScreen()->scale();
    return CGSizeMake(upright.width * scale, upright.height * scale);
}

// The mode buttons and their labels stretch with the screen, each keeping to its third.
unsigned modeResizing(long tag) {
    const unsigned sideMargins[] = {UIViewAutoresizingFlexibleRightMargin,
                                    UIViewAutoresizingFlexibleLeftMargin |
                                        UIViewAutoresizingFlexibleRightMargin,
                                    UIViewAutoresizingFlexibleLeftMargin};
    return UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin | sideMargins[tag];
}

constexpr unsigned kBottomPanelResizing =
    UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin;
} // namespace

long MixPhotosEditViewController::selectedStyleRow() {
    return sharedSelectedStyleRow;
}
long MixPhotosEditViewController::currentStyleNumber() {
    return sharedCurrentStyleNumber;
}
void MixPhotosEditViewController::resetForTesting() {
    sharedSelectedStyleRow = 0;
    sharedCurrentStyleNumber = 1;
}

void MixPhotosEditViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    sharedSelectedStyleRow = 0;
    view()->setBackgroundColor(Hex::colorWithHexString(kScreenGrey));
    setTitle(NSLocalizedString("ZevaraDer", ""));
    NavigationTitle::useWhiteTitle(*this);
    addStyleCollection();
    addModeButtons();
    addBackgroundView();
    addBarButtonItems();
    addModeLabels();
    editViewArr_.clear();
    getHighQualityPhotoFromPhasset();
}

void MixPhotosEditViewController::addStyleCollection() {
    auto layout = std::make_shared<UICollectionViewFlowLayout>();
    layout->setScrollDirection(UICollectionViewScrollDirection::Horizontal);
    layout->setItemSize(CGSizeMake(MixStyleCollectionViewCell::kThumbnailSide,
                                   MixStyleCollectionViewCell::kThumbnailSide));
    layout->setSectionInset(UIEdgeInsetsMake(5, 0, 5, 0));
    layout->setMinimumInteritemSpacing(3);
    layout->setMinimumLineSpacing(3);
    mixStyleCollection_ =
        UICollectionView::initWithFrameCollectionViewLayout(bottomPanelFrame(), layout);
    mixStyleCollection_->setAutoresizingMask(kBottomPanelResizing);
    mixStyleCollection_->registerClassForCellWithReuseIdentifier<MixStyleCollectionViewCell>(
        kStyleCellIdentifier);
    mixStyleCollection_->setDataSource(self<MixPhotosEditViewController>());
    mixStyleCollection_->setDelegate(self<MixPhotosEditViewController>());
    view()->addSubview(mixStyleCollection_);
}

void MixPhotosEditViewController::addModeButtons() {
    CGSize screen = screenSize();
    double third = screen.width / 3;
    const char* images[] = {"board_blue.png", "effect_white.png", "bg.png"};
    const auto editor = self<MixPhotosEditViewController>();
    std::shared_ptr<UIButton>* buttons[] = {&boardBtn_, &effectBtn_, &backImageBtn_};
    for (long tag = 0; tag < 3; ++tag) {
        auto button =
            UIButton::initWithFrame(CGRectMake(third * tag, screen.height - 50, third, 30));
        button->setAutoresizingMask(modeResizing(tag));
        button->setTag(tag);
        button->setImageForState(UIImage::imageNamed(images[tag]), UIControlStateNormal);
        button->addTargetActionForControlEvents(
            editor, &MixPhotosEditViewController::changeActionView, UIControlEventTouchUpInside);
        view()->addSubview(button);
        *buttons[tag] = button;
    }
}

void MixPhotosEditViewController::addModeLabels() {
    CGSize screen = screenSize();
    double third = screen.width / 3;
    const char* keys[] = {"Format", "title.effect", "background"};
    for (long i = 0; i < 3; ++i) {
        auto label = UILabel::initWithFrame(CGRectMake(third * i, screen.height - 20, third, 20));
        label->setAutoresizingMask(modeResizing(i));
        label->setText(NSLocalizedString(keys[i], ""));
        label->setTextColor(UIColor::whiteColor());
        label->setTextAlignment(NSTextAlignment::Center);
        view()->addSubview(label);
    }
}

void MixPhotosEditViewController::addBackgroundView() {
    // Placed anew on every turn (didRotateFromInterfaceOrientation), not by resizing.
    backgrandView_ = UIView::initWithFrame(collageFrame(screenSize()));
    backgrandView_->setBackgroundColor(UIColor::whiteColor());
    backgrandView_->setUserInteractionEnabled(true);
    contentView_ = UIScrollView::initWithFrame(backgrandView_->bounds());
    backgrandView_->addSubview(contentView_);
    view()->addSubview(backgrandView_);
}

void MixPhotosEditViewController::addBarButtonItems() {
    const auto editor = self<MixPhotosEditViewController>();
    CollageBarItems::addBackAndShareItems(
        *this, weakAction(editor, &MixPhotosEditViewController::back),
        weakAction(editor, &MixPhotosEditViewController::shareMixPhoto));
}

void MixPhotosEditViewController::getHighQualityPhotoFromPhasset() {
    selectedPhotos_.clear();
    AssetList assets = selectedAssets_ ? *selectedAssets_ : AssetList{};
    auto options = std::make_shared<PHImageRequestOptions>();
    // Fast keeps each photo's own shape: cut to the collage's, it would lose what a cell
    // of another shape shows.
    options->setResizeMode(PHImageRequestOptionsResizeMode::Fast);
    options->setDeliveryMode(PHImageRequestOptionsDeliveryMode::HighQualityFormat);
    options->setNetworkAccessAllowed(true);
    const size_t requested = assets.size();
    loadingDataActivity_ = CollagePhotoLoader::loadPhotosForScreen(
        *this, assets, photoRequestSize(), PHImageContentMode::AspectFill, options,
        weakCall(
            self<MixPhotosEditViewController>(),
            [requested](MixPhotosEditViewController& editor, CollagePhotoLoader::Photos photos) {
                editor.selectedPhotos_ = std::move(photos);
                editor.photosDidLoad(requested);
            }));
}

void MixPhotosEditViewController::photosDidLoad(size_t requested) {
    const auto editor = self<MixPhotosEditViewController>();
    if (!CollagePhotoLoader::reportUnreadablePhotos(
            editor, selectedPhotos_.size(), requested,
            static_cast<size_t>(MixTemplateLayout::kMinimumImageCount),
            weakAction(editor, &MixPhotosEditViewController::back))) {
        return;
    }
    // The strip is gone while another mode is on; it loads its tiles when it comes back.
    if (mixStyleCollection_) {
        mixStyleCollection_->reloadData();
    }
    resetViewByStyleIndexImageCount(1, static_cast<long>(selectedPhotos_.size()));
    sharedCurrentStyleNumber = 1;
    navigationItem()->rightBarButtonItem()->setEnabled(true);
}

void MixPhotosEditViewController::resetViewByStyleIndexImageCount(long style, long imageCount) {
    selectStoryBoardStyleIndex_ = style;
    auto layout = MixTemplateLayout::layoutWithStyleIndexImageCount(style, imageCount);
    // The area's own size: under a border scale its frame is the scaled one, and cells laid
    // out in that would shrink twice.
    CGSize area = contentView_->bounds().size;
    if (layout) {
        const auto editor = self<MixPhotosEditViewController>();
        auto cells = layout->cellsWithAreaSizePhotoCount(area, selectedPhotos_.size());
        for (size_t i = 0; i < cells.size(); ++i) {
            auto cell = MixPhotosEditView::initWithFrame(cells[i].frame());
            cell->setClipsToBounds(true);
            cell->setTag(static_cast<long>(i));
            cell->setRealCellArea(cells[i].realCellArea());
            cell->setTapDelegate(editor);
            cell->setImageViewData(selectedPhotos_[i]);
            editViewArr_.push_back(cell);
            contentView_->addSubview(cell);
            auto press = UILongPressGestureRecognizer::initWithTargetAction(
                editor, weakAction(editor, &MixPhotosEditViewController::longPress));
            press->setMinimumPressDuration(0.5);
            cell->imageview()->addGestureRecognizer(press);
        }
    }
    contentView_->setContentSize(area);
}

void MixPhotosEditViewController::removeCells() {
    for (const auto& subview : contentView_->subviews()) {
        subview->removeFromSuperview();
    }
    editViewArr_.clear();
    // A drag still going on has lost its cell: its end must not swap anything.
    tempImageView_.reset();
}

void MixPhotosEditViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation) {
    backgrandView_->setFrame(collageFrame(screenSize()));
    // Resizing would stretch a scaled view's scaled frame; the collage area is set to fill
    // the background again, under the border scale it keeps.
    CGSize background = backgrandView_->bounds().size;
    contentView_->setBounds(CGRectMake(0, 0, background.width, background.height));
    contentView_->setCenter(CGPointMake(background.width / 2, background.height / 2));
    if (!selectedPhotos_.empty()) {
        relayoutCurrentStyle();
    }
}

void MixPhotosEditViewController::relayoutCurrentStyle() {
    removeCells();
    resetViewByStyleIndexImageCount(sharedCurrentStyleNumber,
                                    static_cast<long>(selectedPhotos_.size()));
}

void MixPhotosEditViewController::changeActionView(const UIButton& sender) {
    long tag = sender.tag();
    if (tag < kStyleMode || tag > kBackgroundMode) {
        return;
    }
    boardBtn_->setImageForState(
        UIImage::imageNamed(tag == kStyleMode ? "board_blue.png" : "board.png"),
        UIControlStateNormal);
    effectBtn_->setImageForState(
        UIImage::imageNamed(tag == kSliderMode ? "effect.png" : "effect_white.png"),
        UIControlStateNormal);
    backImageBtn_->setImageForState(
        UIImage::imageNamed(tag == kBackgroundMode ? "bg_blue.png" : "bg.png"),
        UIControlStateNormal);
    // Only one bottom area shows at a time, and each is built anew with its controls at
    // their starting values.
    if (boottomEditView_) {
        boottomEditView_->removeFromSuperview();
        boottomEditView_.reset();
    }
    if (mixStyleCollection_) {
        mixStyleCollection_->removeFromSuperview();
        mixStyleCollection_.reset();
    }
    if (tag == kStyleMode) {
        addStyleCollection();
        mixStyleCollection_->reloadData();
    } else if (tag == kSliderMode) {
        addLableAndSliderInBoottomVIew();
    } else {
        addColorAndBackImageBoottomScrView();
    }
}

void MixPhotosEditViewController::addLableAndSliderInBoottomVIew() {
    double W = screenSize().width;
    boottomEditView_ = UIView::initWithFrame(bottomPanelFrame());
    boottomEditView_->setBackgroundColor(UIColor::whiteColor());
    boottomEditView_->setAutoresizingMask(kBottomPanelResizing);
    view()->addSubview(boottomEditView_);

    using Change = void (MixPhotosEditViewController::*)(const UISlider&);
    struct Row {
        double y;
        const char* icon;
        float minimum, maximum, initial;
        Change change;
    };
    const Row rows[] = {
        {10, "radius.png", 0, 100, 0, &MixPhotosEditViewController::changeCornerRadius},
        {40, "separation.png", 0.1f, 1.0f, 1.0f, &MixPhotosEditViewController::changeSeparation},
        {70, "border", 0.1f, 1.0f, 1.0f, &MixPhotosEditViewController::changeBorder},
    };
    const auto editor = self<MixPhotosEditViewController>();
    for (const Row& row : rows) {
        auto icon = UIImageView::initWithFrame(CGRectMake(W / 8, row.y, 20, 20));
        icon->setImage(UIImage::imageNamed(row.icon));
        boottomEditView_->addSubview(icon);
        auto slider = UISlider::initWithFrame(CGRectMake(W / 4, row.y, W / 1.5, 20));
        slider->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
        slider->setMinimumValue(row.minimum);
        slider->setMaximumValue(row.maximum);
        slider->setValue(row.initial);
        slider->setMinimumTrackTintColor(Hex::colorWithHexString(kSliderTint));
        slider->setThumbImageForState(UIImage::imageNamed("round.png"), UIControlStateNormal);
        slider->setThumbImageForState(UIImage::imageNamed("round.png"), UIControlStateHighlighted);
        slider->addTargetActionForControlEvents(editor, row.change, UIControlEventValueChanged);
        boottomEditView_->addSubview(slider);
        if (row.change == &MixPhotosEditViewController::changeBorder) {
            borderSlider_ = slider;
        }
    }
}

void MixPhotosEditViewController::addColorAndBackImageBoottomScrView() {
    double W = screenSize().width;
    boottomEditView_ = UIView::initWithFrame(bottomPanelFrame());
    boottomEditView_->setBackgroundColor(UIColor::blackColor());
    boottomEditView_->setAutoresizingMask(kBottomPanelResizing);
    view()->addSubview(boottomEditView_);
    const auto editor = self<MixPhotosEditViewController>();

    auto colorRow = UIScrollView::initWithFrame(CGRectMake(0, 5, W, 40));
    colorRow->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    // Where the tiles end before the row does (a short list, a wide screen), the row shows
    // the screen's own grey, not the panel's black.
    colorRow->setBackgroundColor(Hex::colorWithHexString(kScreenGrey));
    colorArr_ = loadBundleColorList("MixPhotosEditViewController");
    colorRow->setContentSize(CGSizeMake(30.0 * static_cast<double>(colorArr_.size()), 0));
    for (size_t i = 0; i < colorArr_.size(); ++i) {
        auto button = UIButton::initWithFrame(CGRectMake(30.0 * static_cast<double>(i), 0, 30, 40));
        button->setTag(static_cast<long>(i));
        button->setBackgroundColor(Hex::colorWithHexString(colorArr_[i]));
        button->addTargetActionForControlEvents(
            editor, &MixPhotosEditViewController::changeBackColor, UIControlEventTouchUpInside);
        colorRow->addSubview(button);
    }
    boottomEditView_->addSubview(colorRow);

    auto patternRow = UIScrollView::initWithFrame(CGRectMake(0, 55, W, 40));
    patternRow->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    patternRow->setContentSize(CGSizeMake(30.0 * kPatternCount, 0));
    for (int n = 1; n <= kPatternCount; ++n) {
        auto button = UIButton::initWithFrame(CGRectMake(30.0 * (n - 1), 0, 30, 40));
        button->setTag(n);
        button->setImageForState(
            UIImage::imageNamed(NSString::stringWithFormat("pt_%d_thumb.jpg", n)),
            UIControlStateNormal);
        button->addTargetActionForControlEvents(
            editor, &MixPhotosEditViewController::changeBackImage, UIControlEventTouchUpInside);
        patternRow->addSubview(button);
    }
    boottomEditView_->addSubview(patternRow);
}

void MixPhotosEditViewController::changeCornerRadius(const UISlider& slider) {
    for (const auto& cell : editViewArr_) {
        cell->layer()->setCornerRadius(slider.value());
    }
}

void MixPhotosEditViewController::changeSeparation(const UISlider& slider) {
    for (const auto& cell : editViewArr_) {
        cell->setTransform(CGAffineTransformMakeScale(slider.value(), slider.value()));
    }
}

void MixPhotosEditViewController::changeBorder(const UISlider& slider) {
    contentView_->setTransform(CGAffineTransformMakeScale(slider.value(), slider.value()));
}

void MixPhotosEditViewController::changeBackColor(const UIButton& sender) {
    long tag = sender.tag();
    if (tag < 0 || static_cast<size_t>(tag) >= colorArr_.size()) {
        return;
    }
    backgrandView_->setBackgroundColor(
        Hex::colorWithHexString(colorArr_[static_cast<size_t>(tag)]));
}

void MixPhotosEditViewController::changeBackImage(const UIButton& sender) {
    auto pattern = UIImage::imageNamed(NSString::stringWithFormat("pt_%ld.jpg", sender.tag()));
    if (!pattern) {
        NSLog("MixPhotosEditViewController: the pattern pt_%ld.jpg is missing", sender.tag());
    }
    backgrandView_->setBackgroundColor(UIColor::colorWithPatternImage(pattern));
}

void MixPhotosEditViewController::longPress(UILongPressGestureRecognizer& recognizer) {
    auto pressed = std::dynamic_pointer_cast<UIImageView>(recognizer.view());
    if (!pressed) {
        return;
    }
    pressed->setAlpha(0.4);
    auto state = recognizer.state();
    if (state == UIGestureRecognizerState::Began) {
        if (tempImageView_) {
            tempImageView_->removeFromSuperview();
        }
        tempImageView_ =
            UIImageView::initWithFrame(CGRectMake(0, 0, kFloatingCopySide, kFloatingCopySide));
        tempImageView_->setUserInteractionEnabled(true);
        tempImageView_->setImage(pressed->image());
        contentView_->addSubview(tempImageView_);
    }
    if (!tempImageView_) {
        return;
    }
    CGPoint location = recognizer.locationInView(contentView_.get());
    if (state != UIGestureRecognizerState::Failed) {
        tempImageView_->setCenter(location);
    }
    if (state == UIGestureRecognizerState::Ended) {
        // Only the topmost cell under the finger takes the photo: where outlines meet, a
        // second swap would put one photo in two cells and lose the other.
        for (auto cell = editViewArr_.rbegin(); cell != editViewArr_.rend(); ++cell) {
            CGPoint inCell = (*cell)->convertPointFromView(location, contentView_.get());
            auto area = (*cell)->realCellArea();
            if (area && area->containsPoint(inCell)) {
                // Dropped on the pressed cell itself, this writes each image back in place.
                pressed->setImage((*cell)->imageview()->image());
                (*cell)->imageview()->setImage(tempImageView_->image());
                break;
            }
        }
    }
    if (state == UIGestureRecognizerState::Ended || state == UIGestureRecognizerState::Cancelled ||
        state == UIGestureRecognizerState::Failed) {
        endDrag(*pressed);
    }
}

void MixPhotosEditViewController::endDrag(UIView& pressed) {
    if (tempImageView_) {
        tempImageView_->removeFromSuperview();
        tempImageView_.reset();
    }
    pressed.setAlpha(1.0);
}

std::shared_ptr<UIImage> MixPhotosEditViewController::saveAndGetMixdImage() const {
    return MixImageOutput::imageByRenderingViewScaleOpaque(*backgrandView_, 0, true);
}

void MixPhotosEditViewController::shareMixPhoto() {
    MixImageOutput::presentForImageFromViewController(saveAndGetMixdImage(),
                                                      self<UIViewController>());
}

void MixPhotosEditViewController::back() {
    if (auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

void MixPhotosEditViewController::tapWithEditView(const MixPhotosEditView&) {
    // The cells report every hit test; nothing on this screen hides in answer to it.
}

long MixPhotosEditViewController::collectionViewNumberOfItemsInSection(UICollectionView&, long) {
    return MixTemplateLayout::kStyleCount;
}

std::shared_ptr<UICollectionViewCell>
MixPhotosEditViewController::collectionViewCellForItemAtIndexPath(UICollectionView& collectionView,
                                                                  const NSIndexPath& indexPath) {
    auto cell = std::static_pointer_cast<MixStyleCollectionViewCell>(
        collectionView.dequeueReusableCellWithReuseIdentifierForIndexPath(kStyleCellIdentifier,
                                                                          indexPath));
    cell->displayImageAtIndexTag(indexPath.row(), static_cast<long>(selectedPhotos_.size()));
    cell->selectedImageView()->setHidden(indexPath.row() != sharedSelectedStyleRow);
    return cell;
}

void MixPhotosEditViewController::collectionViewDidSelectItemAtIndexPath(
    UICollectionView& collectionView, const NSIndexPath& indexPath) {
    long row = indexPath.row();
    removeCells();
    sharedCurrentStyleNumber = row + 1;
    contentView_->setTransform(CGAffineTransformIdentity);
    resetViewByStyleIndexImageCount(row + 1, static_cast<long>(selectedPhotos_.size()));
    sharedSelectedStyleRow = row;
    collectionView.reloadData();
}
