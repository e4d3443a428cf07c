#include "app/MixStyleCollectionViewCell.h"

#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"

std::shared_ptr<MixStyleCollectionViewCell>
MixStyleCollectionViewCell::initWithFrame(const CGRect& frame) {
    auto cell = makeWithFrame<MixStyleCollectionViewCell>(frame);
    auto content = cell->contentView();
    cell->imageView_ = UIImageView::initWithFrame(CGRectMake(0, 0, kThumbnailSide, kThumbnailSide));
    content->addSubview(cell->imageView_);
    const CGSize size = frame.size;
    cell->selectedImageView_ =
        UIImageView::initWithFrame(CGRectMake(size.width - 25, size.height - 25, 20, 20));
    cell->selectedImageView_->setImage(UIImage::imageNamed("selected.png"));
    cell->selectedImageView_->setHidden(true);
    content->addSubview(cell->selectedImageView_);
    return cell;
}

std::string MixStyleCollectionViewCell::thumbnailNameForImageCountStyle(long imageCount,
                                                                        long style) {
    return "makecards_puzzle" + std::to_string(imageCount) + "_storyboard" + std::to_string(style) +
           "_icon";
}

void MixStyleCollectionViewCell::displayImageAtIndexTag(long index, long imageCount) {
    imageView_->setImage(
        UIImage::imageNamed(thumbnailNameForImageCountStyle(imageCount, index + 1)));
}

void MixStyleCollectionViewCell::prepareForReuse() {
    UICollectionViewCell::prepareForReuse();
    imageView_->setImage(nullptr);
    selectedImageView_->setHidden(true);
}
