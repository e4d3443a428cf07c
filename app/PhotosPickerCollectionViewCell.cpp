#include "app/PhotosPickerCollectionViewCell.h"

#include "platform/photos/PHAsset.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/WeakAction.h"

std::shared_ptr<PhotosPickerCollectionViewCell>
PhotosPickerCollectionViewCell::initWithFrame(const CGRect& frame) {
    auto cell = makeWithFrame<PhotosPickerCollectionViewCell>(frame);
    auto content = cell->contentView();
    cell->imageView_ = UIImageView::initWithFrame(content->frame());
    content->addSubview(cell->imageView_);
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
                       PHImageContentMode::AspectFit, options,
                       weakCall(weak, [asset](PhotosPickerCollectionViewCell& cell,
                                              const std::shared_ptr<UIImage>& image,
                                              const PlistValue::Dictionary&) {
                           // A late picture for an asset the cell no longer shows must not appear
                           // in it.
                           if (cell.asset_ != asset || !image) {
                               return;
                           }
                           cell.imageView_->setImage(image);
                       }));
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
    selectedImageView_->setHidden(true);
}
