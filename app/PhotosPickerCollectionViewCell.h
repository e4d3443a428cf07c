// A cell of the photo picker's grid: the photo's thumbnail and, when chosen, a check mark.
#pragma once

#include "platform/photos/PHImageManager.h"
#include "platform/uikit/UICollectionViewCell.h"

#include <cstdint>
#include <optional>

class PHAsset;
class UIImageView;

class PhotosPickerCollectionViewCell : public UICollectionViewCell {
    NS_OBJECT(PhotosPickerCollectionViewCell)
public:
    static std::shared_ptr<PhotosPickerCollectionViewCell> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PhotosPickerCollectionViewCell> alloc() {
        return initWithFrame(CGRectZero);
    }

    std::shared_ptr<UIImageView> imageView() const { return imageView_; }
    std::shared_ptr<UIImageView> selectedImageView() const { return selectedImageView_; }
    // The asset the cell shows now.
    std::shared_ptr<PHAsset> asset() const { return asset_; }

    // Asks the library for the asset's thumbnail; each picture that arrives is shown,
    // unless the cell has been given another asset meanwhile.
    void displayCellForAsset(const std::shared_ptr<PHAsset>& asset);
    void prepareForReuse() override;

protected:
    PhotosPickerCollectionViewCell() = default;

private:
    void cancelRequest();

    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UIImageView> selectedImageView_;
    std::shared_ptr<PHAsset> asset_;
    std::optional<PHImageRequestID> request_;
};
