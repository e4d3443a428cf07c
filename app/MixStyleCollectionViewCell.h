// One tile of the template collage's style strip: the style's thumbnail, with a check mark
// when it is the chosen style.
#pragma once

#include "platform/uikit/UICollectionViewCell.h"

class UIImageView;

class MixStyleCollectionViewCell : public UICollectionViewCell {
    NS_OBJECT(MixStyleCollectionViewCell)
public:
    static constexpr double kThumbnailSide = 90;

    static std::shared_ptr<MixStyleCollectionViewCell> initWithFrame(const CGRect& frame);
    static std::shared_ptr<MixStyleCollectionViewCell> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<UIImageView> imageView() const { return imageView_; }
    // Hidden until the strip marks the tile's row as the chosen one.
    std::shared_ptr<UIImageView> selectedImageView() const { return selectedImageView_; }

    // The thumbnail of style `index` + 1 for `imageCount` photos.
    void displayImageAtIndexTag(long index, long imageCount);
    void prepareForReuse() override;

    // "makecards_puzzle3_storyboard2_icon" for three photos and style 2.
    static std::string thumbnailNameForImageCountStyle(long imageCount, long style);

protected:
    MixStyleCollectionViewCell() = default;

private:
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UIImageView> selectedImageView_;
};
