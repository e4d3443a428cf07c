// The template collage screen: the chosen photos laid out in the cells of a layout.
#pragma once

#include "platform/uikit/UIViewController.h"

#include <memory>
#include <vector>

class PHAsset;

class MixPhotosEditViewController : public UIViewController {
    NS_OBJECT(MixPhotosEditViewController)
public:
    using AssetList = std::vector<std::shared_ptr<PHAsset>>;

    // The picker's own list of chosen photos, shared with it, not copied.
    std::shared_ptr<AssetList> selectedAssets() const { return selectedAssets_; }
    void setSelectedAssets(std::shared_ptr<AssetList> assets) {
        selectedAssets_ = std::move(assets);
    }

    void viewDidLoad() override;

private:
    std::shared_ptr<AssetList> selectedAssets_;
};
