// The template collage screen: the chosen photos laid out in the cells of one of six
// styles, with a strip of the styles, a panel of sliders (corner radius, separation,
// border) and a panel of background colours and patterns. A long press on a photo drags
// a copy of it; dropping the copy on another cell swaps the two photos.
#pragma once

#include "app/MixPhotosEditViewDelegate.h"
#include "platform/uikit/UICollectionViewDataSource.h"
#include "platform/uikit/UICollectionViewDelegate.h"
#include "platform/uikit/UIViewController.h"

#include <memory>
#include <string>
#include <vector>

class MixPhotosEditView;
class OVProgressHUD;
class PHAsset;
class UIButton;
class UICollectionView;
class UIImage;
class UIImageView;
class UILongPressGestureRecognizer;
class UIScrollView;
class UISlider;
class UIView;

class MixPhotosEditViewController : public UIViewController,
                                    public UICollectionViewDataSource,
                                    public UICollectionViewDelegate,
                                    public MixPhotosEditViewDelegate {
    NS_OBJECT(MixPhotosEditViewController)
public:
    static std::shared_ptr<MixPhotosEditViewController> init() {
        return make<MixPhotosEditViewController>();
    }
    static std::shared_ptr<MixPhotosEditViewController> alloc() { return init(); }

    using AssetList = std::vector<std::shared_ptr<PHAsset>>;

    // The modes of the bottom area, which are also the mode buttons' tags.
    static constexpr long kStyleMode = 0;
    static constexpr long kSliderMode = 1;
    static constexpr long kBackgroundMode = 2;
    static constexpr int kPatternCount = 45;

    // The picker's own list of chosen photos, shared with it, not copied.
    std::shared_ptr<AssetList> selectedAssets() const { return selectedAssets_; }
    void setSelectedAssets(std::shared_ptr<AssetList> assets) {
        selectedAssets_ = std::move(assets);
    }

    // The loaded photos, in the order their assets were chosen, unreadable ones left out.
    const std::vector<std::shared_ptr<UIImage>>& selectedPhotos() const { return selectedPhotos_; }
    // The collage's background, which is also what is rendered as the finished picture.
    std::shared_ptr<UIView> backgrandView() const { return backgrandView_; }
    // The collage area inside the background, holding the cells.
    std::shared_ptr<UIScrollView> contentView() const { return contentView_; }
    const std::vector<std::shared_ptr<MixPhotosEditView>>& editViewArr() const {
        return editViewArr_;
    }
    // The style strip while the style mode is on, else null.
    std::shared_ptr<UICollectionView> mixStyleCollection() const { return mixStyleCollection_; }
    // The slider or background panel while its mode is on, else null.
    std::shared_ptr<UIView> boottomEditView() const { return boottomEditView_; }
    const std::vector<std::string>& colorArr() const { return colorArr_; }
    std::shared_ptr<UIButton> boardBtn() const { return boardBtn_; }
    std::shared_ptr<UIButton> effectBtn() const { return effectBtn_; }
    std::shared_ptr<UIButton> backImageBtn() const { return backImageBtn_; }
    std::shared_ptr<UISlider> borderSlider() const { return borderSlider_; }
    // The floating copy of a photo being dragged.
    std::shared_ptr<UIImageView> tempImageView() const { return tempImageView_; }
    std::shared_ptr<OVProgressHUD> loadingDataActivity() const { return loadingDataActivity_; }
    long selectStoryBoardStyleIndex() const { return selectStoryBoardStyleIndex_; }

    // Shared by every screen of this kind: the strip's chosen row (0-5) and the style
    // (1-6) a relayout uses.
    static long selectedStyleRow();
    static long currentStyleNumber();
    // Back to the first row and style (between tests).
    static void resetForTesting();

    void viewDidLoad() override;
    // The collage is placed anew below the bar, keeping its upright shape, and the cells
    // are laid out in it again; the border scale stays.
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;

    // Builds the cells of `style` for `imageCount` photos into the collage area; the
    // caller removes the old cells first.
    void resetViewByStyleIndexImageCount(long style, long imageCount);
    // Removes every cell and lays out the current style again in the area's present frame.
    void relayoutCurrentStyle();

    void changeActionView(const UIButton& sender);
    void changeCornerRadius(const UISlider& slider);
    void changeSeparation(const UISlider& slider);
    void changeBorder(const UISlider& slider);
    void changeBackColor(const UIButton& sender);
    void changeBackImage(const UIButton& sender);
    void longPress(UILongPressGestureRecognizer& recognizer);

    // The collage as an opaque picture at the screen's scale.
    std::shared_ptr<UIImage> saveAndGetMixdImage() const;
    // Offers the collage to copy, save or share. Its bar button is enabled once the photos
    // are laid out: before that there is only the bare background.
    void shareMixPhoto();
    void back();

    void tapWithEditView(const MixPhotosEditView& editView) override;

    long collectionViewNumberOfItemsInSection(UICollectionView& collectionView,
                                              long section) override;
    std::shared_ptr<UICollectionViewCell>
    collectionViewCellForItemAtIndexPath(UICollectionView& collectionView,
                                         const NSIndexPath& indexPath) override;
    void collectionViewDidSelectItemAtIndexPath(UICollectionView& collectionView,
                                                const NSIndexPath& indexPath) override;

protected:
    MixPhotosEditViewController() = default;

private:
    void addStyleCollection();
    void addModeButtons();
    void addBackgroundView();
    void addBarButtonItems();
    void addModeLabels();
    void addLableAndSliderInBoottomVIew();
    void addColorAndBackImageBoottomScrView();
    void removeCells();
    void getHighQualityPhotoFromPhasset();
    // Every request has answered: lays out what arrived.
    void photosDidLoad(size_t requested);
    // Ends a swap drag: the floating copy goes and the pressed photo is opaque again.
    void endDrag(UIView& pressed);

    std::shared_ptr<AssetList> selectedAssets_;
    std::vector<std::shared_ptr<UIImage>> selectedPhotos_;
    std::shared_ptr<UIView> backgrandView_;
    std::shared_ptr<UIScrollView> contentView_;
    std::vector<std::shared_ptr<MixPhotosEditView>> editViewArr_;
    std::shared_ptr<UICollectionView> mixStyleCollection_;
    std::shared_ptr<UIView> boottomEditView_;
    std::vector<std::string> colorArr_;
    std::shared_ptr<UIButton> boardBtn_;
    std::shared_ptr<UIButton> effectBtn_;
    std::shared_ptr<UIButton> backImageBtn_;
    std::shared_ptr<UISlider> borderSlider_;
    std::shared_ptr<UIImageView> tempImageView_;
    std::shared_ptr<OVProgressHUD> loadingDataActivity_;
    long selectStoryBoardStyleIndex_ = 0;
};
