// The background chooser of the free collage: a row of colour tiles (with an ad tile
// among them) and a grid of 16 pictures. The choice goes to the value delegate and the
// chooser pops itself; the two user-defaults keys remember it so the next visit marks it.
#pragma once

#include "app/BaseViewController.h"
#include "platform/uikit/UICollectionViewDataSource.h"
#include "platform/uikit/UICollectionViewDelegate.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class PassValueDelegate;
class UIButton;
class UICollectionView;
class UIImage;
class UIScrollView;

class BackImageChooseViewController : public BaseViewController,
                                      public UICollectionViewDataSource,
                                      public UICollectionViewDelegate {
    NS_OBJECT(BackImageChooseViewController)
public:
    static std::shared_ptr<BackImageChooseViewController> init() {
        return make<BackImageChooseViewController>();
    }
    static std::shared_ptr<BackImageChooseViewController> alloc() { return init(); }

    static constexpr long kAdTile = 4;
    static constexpr int kPictureCount = 16;

    std::weak_ptr<PassValueDelegate> valueDelegate() const { return valueDelegate_; }
    void setValueDelegate(std::weak_ptr<PassValueDelegate> delegate) {
        valueDelegate_ = std::move(delegate);
    }
    std::shared_ptr<UIScrollView> colorScrView() const { return colorScrView_; }
    const std::vector<std::string>& colorArr() const { return colorArr_; }
    std::shared_ptr<UICollectionView> backImageCollection() const { return backImageCollection_; }
    // One slot per picture, null where the thumbnail is missing.
    const std::vector<std::shared_ptr<UIImage>>& imageArr() const { return imageArr_; }

    // The index into colorArr of tile `tag`: none for the ad tile and for a tile past the
    // end of a short colour list.
    std::optional<size_t> colorIndexForTile(long tag) const;

    void viewDidLoad() override;

    void chooseBackColor(const UIButton& button);
    void showFullAds();
    void goBack();

    long collectionViewNumberOfItemsInSection(UICollectionView& collectionView,
                                              long section) override;
    std::shared_ptr<UICollectionViewCell>
    collectionViewCellForItemAtIndexPath(UICollectionView& collectionView,
                                         const NSIndexPath& indexPath) override;
    void collectionViewDidSelectItemAtIndexPath(UICollectionView& collectionView,
                                                const NSIndexPath& indexPath) override;

protected:
    BackImageChooseViewController() = default;

private:
    void loadBackImageData();
    void addColorScrollView();
    void addBackImageCollectionView();
    void addBarButtonItem();

    std::weak_ptr<PassValueDelegate> valueDelegate_;
    std::shared_ptr<UIScrollView> colorScrView_;
    std::vector<std::string> colorArr_;
    std::shared_ptr<UICollectionView> backImageCollection_;
    std::vector<std::shared_ptr<UIImage>> imageArr_;
};
