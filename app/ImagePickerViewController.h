// The photo picker, presented by the main menu in its own navigation controller for one
// kind of collage (0: template, 1: free): an album dropdown in the bar, a four-column
// grid of the album's photos, a counter line with the "Make" button, and a strip of the
// chosen photos (two to five) with delete buttons.
#pragma once

#include "app/BaseViewController.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UICollectionViewDataSource.h"
#include "platform/uikit/UICollectionViewDelegate.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UITableViewDelegate.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CCDropdownTitleView;
class DMDropdownView;
class OVProgressHUD;
class PHAsset;
class PHAssetCollection;
class UIButton;
class UICollectionView;
class UIImage;
class UILabel;
class UIScrollView;
class UITableView;

class ImagePickerViewController : public BaseViewController,
                                  public UICollectionViewDataSource,
                                  public UICollectionViewDelegate,
                                  public UITableViewDataSource,
                                  public UITableViewDelegate {
    NS_OBJECT(ImagePickerViewController)
public:
    static std::shared_ptr<ImagePickerViewController> init() {
        return make<ImagePickerViewController>();
    }
    static std::shared_ptr<ImagePickerViewController> alloc() { return init(); }

    using AssetList = std::vector<std::shared_ptr<PHAsset>>;
    static constexpr size_t kMaximumPhotos = 5;

    int32_t mixStyle() const { return mixStyle_; }
    void setMixStyle(int32_t style) { mixStyle_ = style; }

    // State, for the screens it opens and for checks.
    const std::vector<std::shared_ptr<PHAssetCollection>>& photoList() const { return photoList_; }
    std::shared_ptr<PHAssetCollection> currentAlbumCollection() const {
        return currentAlbumCollection_;
    }
    const AssetList& assetArray() const { return assetArray_; }
    // Shared with the collage screen that "Make" opens.
    std::shared_ptr<AssetList> selectedAssets() const { return selectedAssets_; }
    const std::vector<std::shared_ptr<UIImage>>& selectedPhotos() const { return selectedPhotos_; }
    const std::vector<NSIndexPath>& indexPathArr() const { return indexPathArr_; }
    bool haveChangedList() const { return haveChangedList_; }
    std::shared_ptr<UICollectionView> photosCollection() const { return photosCollection_; }
    std::shared_ptr<UIScrollView> selectedScrView() const { return selectedScrView_; }
    std::shared_ptr<UILabel> countLabel() const { return countLabel_; }
    std::shared_ptr<UIButton> mixEnterBtn() const { return mixEnterBtn_; }
    std::shared_ptr<CCDropdownTitleView> switchTitleView() const { return switchTitleView_; }
    std::shared_ptr<UITableView> menuTableView() const { return menuTableView_; }
    std::shared_ptr<DMDropdownView> dropdownView() const { return dropdownView_; }
    // Over the grid: why it is empty (no photos in the album, no library), hidden while
    // there are photos.
    std::shared_ptr<UILabel> emptyLabel() const { return emptyLabel_; }

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    float adViewBottomOffsetFromSuperViewBottom() const override { return 150.0f; }

    void goBack();
    void EnterMixPhotosEditViewController();
    // Fetches the album list in the background, then shows the first album.
    void loadPhotosList();
    static std::vector<std::shared_ptr<PHAssetCollection>> fetchPhotosList();
    static AssetList
    getAssetFromPhotoCollectionAscending(const std::shared_ptr<PHAssetCollection>& collection,
                                         bool ascending);
    void loadPhotosForCurrentAlbumCollection();
    void onTitleMenuButtonTouched();
    void loadSelectedViewData();
    void deleteSelectedImage(const UIButton& button);
    // The counter line's text for a number of chosen photos.
    static std::string counterText(size_t count);

    // The grid.
    long collectionViewNumberOfItemsInSection(UICollectionView& collectionView,
                                              long section) override;
    std::shared_ptr<UICollectionViewCell>
    collectionViewCellForItemAtIndexPath(UICollectionView& collectionView,
                                         const NSIndexPath& indexPath) override;
    void collectionViewDidSelectItemAtIndexPath(UICollectionView& collectionView,
                                                const NSIndexPath& indexPath) override;
    // The album list.
    long tableViewNumberOfRowsInSection(UITableView& tableView, long section) override;
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(UITableView& tableView, const NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(UITableView& tableView,
                                          const NSIndexPath& indexPath) override;

protected:
    ImagePickerViewController() = default;

private:
    void addScrollView();
    void addPhotosCollectionView();
    void addBarButtonItem();
    void addEmptyLabel();
    void setMakeEnabled(bool enabled, double disabledAlpha);
    // Says on screen why the grid is empty, or hides the saying when it is not.
    void showEmptyReason();
    // Tells the user that the photo cannot be chosen, and why.
    void showUnreadablePhotoAlert(const std::string& reason);

    int32_t mixStyle_ = 0;
    std::vector<std::shared_ptr<PHAssetCollection>> photoList_;
    std::shared_ptr<PHAssetCollection> currentAlbumCollection_;
    AssetList assetArray_;
    std::shared_ptr<AssetList> selectedAssets_ = std::make_shared<AssetList>();
    std::vector<std::shared_ptr<UIImage>> selectedPhotos_;
    std::vector<NSIndexPath> indexPathArr_;
    bool haveChangedList_ = false;
    std::shared_ptr<UICollectionView> photosCollection_;
    std::shared_ptr<UIScrollView> selectedScrView_;
    std::shared_ptr<UILabel> countLabel_;
    std::shared_ptr<UIButton> mixEnterBtn_;
    std::shared_ptr<CCDropdownTitleView> switchTitleView_;
    std::shared_ptr<UITableView> menuTableView_;
    std::shared_ptr<DMDropdownView> dropdownView_;
    std::shared_ptr<OVProgressHUD> loadingDataActivity_;
    std::shared_ptr<UILabel> emptyLabel_;
    // Why the library cannot be shown, as the last load found it; empty when it can.
    std::string libraryProblem_;
};
