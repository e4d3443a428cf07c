// The last step of a finished picture, shared by the collage screens and the image editor:
// an action sheet offering Copy (to the general pasteboard), Save (to the photo album)
// and Share (a share sheet offered the picture's file). Each action runs its writing off
// the main thread under a progress overlay; only a write that succeeded is announced as a
// success and raises the flag that makes the picker show a full-screen ad.
#pragma once

#include "platform/base/NSObject.h"

#include <functional>
#include <memory>
#include <string>

class NSURL;
class OVProgressHUD;
class UIImage;
class UIView;
class UIViewController;

// Raised after a picture was copied, saved or shared; the photo picker reads and clears it
// and then shows a full-screen ad.
inline constexpr const char* kShouldShowFullScreenAdKey = "ShouldShowFullScreanAd";

class MixImageOutput : public NSObject {
    NS_OBJECT(MixImageOutput)
public:
    // The share file in the Library directory, one for every screen, replaced on each Share.
    static constexpr const char* kShareFileName = "MixdImage.png";

    // `view` and its subviews rendered in its own bounds into a bitmap of its frame's size;
    // scale 0 is the main screen's. Null when the view has no area.
    static std::shared_ptr<UIImage> imageByRenderingViewScaleOpaque(const UIView& view,
                                                                    double scale, bool opaque);
    // Writes `image` into the share file atomically (as PNG, or as JPEG at full quality
    // when PNG encoding fails), creating the Library directory when missing. The file's
    // URL, or null with a log line when nothing was written.
    static std::shared_ptr<NSURL> writeImageIntoBox(const std::shared_ptr<UIImage>& image);

    // Whether `image` holds no picture: null, without pixels, or every pixel of one colour,
    // as a collage renders before its photos are in.
    static bool isBlankImage(const std::shared_ptr<UIImage>& image);

    // Presents the sheet for `image` over `controller`, through its navigation controller
    // when it has one; the actions then work on this very image. Null, with a log line, for
    // a controller that cannot present, and for a blank image, which the user is also told
    // of on screen: there is nothing to copy, save or share.
    static std::shared_ptr<MixImageOutput>
    presentForImageFromViewController(const std::shared_ptr<UIImage>& image,
                                      const std::shared_ptr<UIViewController>& controller);
    // The image editor's form: the edited picture is offered as it is (a picture of one
    // colour is a picture too; only a missing one is refused, with a log line), and the
    // sheet and the overlays belong to the editor screen itself, inside a navigation
    // controller or not.
    static std::shared_ptr<MixImageOutput>
    presentForEditedImageFromViewController(const std::shared_ptr<UIImage>& image,
                                            const std::shared_ptr<UIViewController>& controller);

    std::shared_ptr<UIImage> image() const { return image_; }
    // The overlay of the action running or last run.
    std::shared_ptr<OVProgressHUD> loadingDataActivity() const { return loadingDataActivity_; }

    // What the sheet's buttons do, after the sheet has closed.
    void copyImage();
    void saveImage();
    void shareImage();

private:
    // Whose screen the sheet and the overlays go on: the controller's navigation
    // controller when it has one (the collage screens), or the controller itself.
    enum class Host { NavigationController, Controller };

    MixImageOutput(std::shared_ptr<UIImage> image, std::weak_ptr<UIViewController> controller,
                   Host host)
        : image_(std::move(image)), controller_(std::move(controller)), host_(host) {}

    static std::shared_ptr<MixImageOutput>
    present(const std::shared_ptr<UIImage>& image,
            const std::shared_ptr<UIViewController>& controller, Host host);

    // Covers the screen with a new overlay while an action runs.
    void showLoadingDataActivity();
    // The common end of every action: the overlay goes, then `result` tells whether the
    // action succeeded. A success raises the ad flag and shows the notice of `successKey`
    // (none when empty), a failure the notice of `failureKey`.
    void finish(const std::function<bool()>& result, const std::string& successKey,
                const std::string& failureKey);
    // Offers the share file; false when it was not written or the sheet was not shown.
    bool presentShareSheet(const std::shared_ptr<NSURL>& url);

    std::shared_ptr<UIImage> image_;
    std::weak_ptr<UIViewController> controller_;
    Host host_;
    std::shared_ptr<OVProgressHUD> loadingDataActivity_;
};
