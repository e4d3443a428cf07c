// The free collage screen: the chosen photos as cards stacked down a canvas, which the
// user moves, scales, turns and brings to the front, on a background colour or picture
// from the background chooser; the canvas is shared, or opened in the image editor.
#pragma once

#include "app/PassValueDelegate.h"
#include "editor/PEImageEditorDelegate.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIViewController.h"

#include <memory>
#include <string>
#include <vector>

class FreeEditMixView;
class OVProgressHUD;
class PHAsset;
class UIImage;
class UIImageView;
class UIView;

// The image editor's delegate with neither of its optional methods: the editor closes
// itself on Cancel, and the edited picture leaves through its own finish menu.
class DavuVovEditViewController : public UIViewController,
                                  public PassValueDelegate,
                                  public PEImageEditorDelegate {
    NS_OBJECT(DavuVovEditViewController)
public:
    static std::shared_ptr<DavuVovEditViewController> init() {
        return make<DavuVovEditViewController>();
    }
    static std::shared_ptr<DavuVovEditViewController> alloc() { return init(); }

    using AssetList = std::vector<std::shared_ptr<PHAsset>>;

    // The bottom bar's height, and the canvas's margins from the screen's sides.
    static constexpr double kBottomBarHeight = 50;
    static constexpr double kCanvasInset = 10;
    // Cards start this far in from the canvas's left, right and top.
    static constexpr double kCardInset = 30;

    // The picker's own list of chosen photos, shared with it, not copied.
    std::shared_ptr<AssetList> selectedAssets() const { return selectedAssets_; }
    void setSelectedAssets(std::shared_ptr<AssetList> assets) {
        selectedAssets_ = std::move(assets);
    }

    // The loaded photos, in the order their assets were chosen, unreadable ones left out.
    const std::vector<std::shared_ptr<UIImage>>& selectedPhotos() const { return selectedPhotos_; }
    // The canvas: its background colour and stretched picture are the collage's
    // background, and it holds the cards. Null until the photos have loaded.
    std::shared_ptr<UIImageView> contentsView() const { return contentsView_; }
    std::shared_ptr<UIView> bottomEditView() const { return bottomEditView_; }
    // The cards, in the photos' order (the canvas's own order changes as cards come to
    // the front).
    const std::vector<std::shared_ptr<FreeEditMixView>>& editViewArr() const {
        return editViewArr_;
    }
    std::shared_ptr<OVProgressHUD> loadingDataActivity() const { return loadingDataActivity_; }

    // Where the cards of photos of these sizes start on a canvas of that size: stacked
    // down it at even steps, as wide as the canvas less the insets, each as high as its
    // photo's shape asks (so cards may overlap).
    static std::vector<CGRect> cardFramesForCanvasSizePhotoSizes(CGSize canvas,
                                                                 const std::vector<CGSize>& photos);

    void viewDidLoad() override;

    // The background chooser's choice: a colour replaces the picture; a picture lies over
    // the colour, which stays beneath it.
    void passSelectedColor(const std::string& color) override;
    void passSelectedImage(const std::shared_ptr<UIImage>& image) override;

    // The bottom bar's and the navigation bar's buttons.
    void chooseBackgrandImage();
    // Opens the canvas as it looks now in the image editor; nothing comes back to it.
    void editImage();
    void addOrDeleteImage();
    void goBack();
    // Offers the canvas to copy, save or share. Its bar button is enabled once the cards
    // are laid out.
    void shareMixPhoto();

    // The canvas as the output sheet keeps it: one pixel per point, with transparency.
    std::shared_ptr<UIImage> saveAndGetMixdImage() const;
    // The canvas as the image editor gets it: opaque, at the screen's scale. Null before
    // the canvas exists.
    std::shared_ptr<UIImage> getImageFromMixdView() const;
    // Presents the image editor on `image`, with this screen as its delegate.
    void presentImageEditorWithImage(const std::shared_ptr<UIImage>& image);
    // Builds the canvas and one card per loaded photo.
    void addDavuVovPhotos();

protected:
    DavuVovEditViewController() = default;

private:
    void addBottomEditView();
    void addBarButtonItems();
    void getHighQualityPhotoFromPhasset();
    // Every request has answered: lays out what arrived.
    void photosDidLoad(size_t requested);

    std::shared_ptr<AssetList> selectedAssets_;
    std::vector<std::shared_ptr<UIImage>> selectedPhotos_;
    std::shared_ptr<UIImageView> contentsView_;
    std::shared_ptr<UIView> bottomEditView_;
    std::vector<std::shared_ptr<FreeEditMixView>> editViewArr_;
    std::shared_ptr<OVProgressHUD> loadingDataActivity_;
};
