// The free collage screen: the chosen photos lying freely on a background.
#pragma once

#include "platform/uikit/UIViewController.h"

#include <memory>
#include <vector>

class PHAsset;

class DavuVovEditViewController : public UIViewController {
    NS_OBJECT(DavuVovEditViewController)
public:
    static std::shared_ptr<DavuVovEditViewController> init() {
        return make<DavuVovEditViewController>();
    }
    static std::shared_ptr<DavuVovEditViewController> alloc() { return init(); }

    using AssetList = std::vector<std::shared_ptr<PHAsset>>;

    // The picker's own list of chosen photos, shared with it, not copied.
    std::shared_ptr<AssetList> selectedAssets() const { return selectedAssets_; }
    void setSelectedAssets(std::shared_ptr<AssetList> assets) {
        selectedAssets_ = std::move(assets);
    }

    void viewDidLoad() override;

protected:
    DavuVovEditViewController() = default;

private:
    std::shared_ptr<AssetList> selectedAssets_;
};
