#include "app/PhotosPickerCollectionViewCell.h"

#include "platform/foundation/NSBundle.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/WeakAction.h"

std::shared_ptr<PhotosPickerCollectionViewCell>
PhotosPickerCollectionViewCell::initWithFrame(const CGRect& frame) {
    auto cell = makeWithFrame<PhotosPickerCollectionViewCell>(frame);
    auto content = cell->contentView();
    cell->imageView_ = UIImageView::initWithFrame(content->frame());
    // Photos of any shape fill the square cell, cut rather than stretched.
    cell->imageView_->setContentMode(UIViewContentMode::ScaleAspectFill);
    cell->imageView_->setClipsToBounds(true);
    content->addSubview(cell->imageView_);
    // A grey square with a warning sign: a photo that cannot be read still has a cell
    // one can see and tap.
    cell->brokenLabel_ = UILabel::initWithFrame(content->frame());
    cell->brokenLabel_->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.8, 1));
    cell->brokenLabel_->setTextColor(UIColor::colorWithWhiteAlpha(0.3, 1));
    cell->brokenLabel_->setTextAlignment(NSTextAlignment::Center);
    cell->brokenLabel_->setNumberOfLines(0);
    cell->brokenLabel_->setFont(UIFont::systemFontOfSize(13));
    cell->brokenLabel_->setText("\u26a0\n" + NSLocalizedString("Cannot open", ""));
    cell->brokenLabel_->setHidden(true);
    content->addSubview(cell->brokenLabel_);
    CGSize size = frame.size;
    cell->selectedImageView_ =
        UIImageView::initWithFrame(CGRectMake(size.width - 25, size.height - 25, 20, 20));
    cell->selectedImageView_->setImage(UIImage::imageNamed("selected.png"));
    cell->selectedImageView_->setHidden(true);
    content->addSubview(cell->selectedImageView_);
    return cell;
}

void PhotosPickerCollectionViewCell::displayCellForAsset(const std::shared_ptr<PHAsset>& asset) {
    cancelRequest();
    asset_ = asset;
    brokenLabel_->setHidden(true);
    brokenReason_.clear();
    degraded_ = false;
    if (!asset) {
        return;
    }
    double scale = UIScreen::mainScreen()->scale();
    CGSize size = frame().size;
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setResizeMode(PHImageRequestOptionsResizeMode::Exact);
    options->setNetworkAccessAllowed(true);
    std::weak_ptr<PhotosPickerCollectionViewCell> weak = self<PhotosPickerCollectionViewCell>();
    request_ = PHImageManager::defaultManager()
                   ->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
                       asset, CGSizeMake(size.width * scale, size.height * scale),
                       PHImageContentMode::AspectFill, options,
                       weakCall(weak, [asset](PhotosPickerCollectionViewCell& cell,
                                              const std::shared_ptr<UIImage>& image,
                                              const PlistValue::Dictionary& info) {
                           // A late picture for an asset the cell no longer shows must not appear
                           // in it.
                           if (cell.asset_ != asset) {
                               return;
                           }
                           if (!image) {
                               auto error = info.find(PHImageErrorKey);
                               cell.showBroken(error != info.end() ? error->second.stringValue()
                                                                   : std::string());
                               return;
                           }
                           auto degraded = info.find(PHImageResultIsDegradedKey);
                           cell.degraded_ = degraded != info.end() && degraded->second.boolValue();
                           cell.imageView_->setImage(image);
                       }));
}

void PhotosPickerCollectionViewCell::showBroken(const std::string& reason) {
    brokenReason_ = reason;
    degraded_ = false;
    imageView_->setImage(nullptr);
    brokenLabel_->setHidden(false);
}

void PhotosPickerCollectionViewCell::cancelRequest() {
    if (request_) {
        PHImageManager::defaultManager()->cancelImageRequest(*request_);
        request_.reset();
    }
}

void PhotosPickerCollectionViewCell::prepareForReuse() {
    UICollectionViewCell::prepareForReuse();
    cancelRequest();
    asset_.reset();
    imageView_->setImage(nullptr);
    brokenLabel_->setHidden(true);
    brokenReason_.clear();
    degraded_ = false;
    selectedImageView_->setHidden(true);
}
