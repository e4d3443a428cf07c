// A cell of the photo picker's grid: the photo's thumbnail and, when chosen, a check mark;
// for a photo that cannot be read, a broken-photo sign instead of the thumbnail.
#pragma once

#include "platform/photos/PHImageManager.h"
#include "platform/uikit/UICollectionViewCell.h"
#include "platform/uikit/UILabel.h"

#include <cstdint>
#include <optional>

#include <string>

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
    // The sign shown over a photo that cannot be read.
    std::shared_ptr<UILabel> brokenLabel() const { return brokenLabel_; }
    // Whether the photo could not be read, and why.
    bool isBroken() const { return !brokenLabel_->isHidden(); }
    const std::string& brokenReason() const { return brokenReason_; }
    // Whether the picture shown is the quick one that comes before the thumbnail proper.
    bool isDegraded() const { return degraded_; }

    // Asks the library for the asset's thumbnail; each picture that arrives is shown (a
    // quick degraded one first, when the file has one), unless the cell has been given
    // another asset meanwhile. A failure shows the broken-photo sign.
    void displayCellForAsset(const std::shared_ptr<PHAsset>& asset);
    // Shows the broken-photo sign in place of the thumbnail.
    void showBroken(const std::string& reason);
    void prepareForReuse() override;

protected:
    PhotosPickerCollectionViewCell() = default;

private:
    void cancelRequest();

    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UIImageView> selectedImageView_;
    std::shared_ptr<UILabel> brokenLabel_;
    std::shared_ptr<PHAsset> asset_;
    std::optional<PHImageRequestID> request_;
    std::string brokenReason_;
    bool degraded_ = false;
};
