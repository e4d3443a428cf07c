#include "app/CollagePhotoLoader.h"

#include "app/widgets/OVProgressHUD.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLog.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIViewController.h"

std::shared_ptr<OVProgressHUD>
CollagePhotoLoader::loadPhotosForScreen(UIViewController& screen, const AssetList& assets,
                                        CGSize targetSize, PHImageContentMode contentMode,
                                        const std::shared_ptr<PHImageRequestOptions>& options,
                                        std::function<void(Photos photos)> completion) {
    const auto navigation = screen.navigationController();
    auto overlay = OVProgressHUD::initWithView(navigation ? navigation->view() : screen.view());
    screen.view()->addSubview(overlay);
    overlay->setRemoveFromSuperViewOnHide(true);
    overlay->show(true);
    if (assets.empty()) {
        overlay->hide(true);
        completion({});
        return overlay;
    }
    // Answers come back on the main queue, in whatever order the loads finish; each photo
    // waits in its asset's slot so the collage keeps the order the photos were chosen in.
    // A request that fails answers too (without a picture), so the wait always ends. A
    // quick, degraded picture is no answer: the final one follows it.
    struct Loading {
        Photos slots;
        size_t answered = 0;
        std::shared_ptr<OVProgressHUD> overlay;
        std::function<void(Photos)> completion;
    };
    auto loading = std::make_shared<Loading>();
    loading->slots.resize(assets.size());
    loading->overlay = overlay;
    loading->completion = std::move(completion);
    for (size_t index = 0; index < assets.size(); ++index) {
        PHImageManager::defaultManager()
            ->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
                assets[index], targetSize, contentMode, options,
                [loading, index](const std::shared_ptr<UIImage>& image,
                                 const PlistValue::Dictionary& info) {
                    const auto degraded = info.find(PHImageResultIsDegradedKey);
                    if (degraded != info.end() && degraded->second.boolValue()) {
                        return;
                    }
                    loading->slots[index] = image;
                    if (++loading->answered < loading->slots.size()) {
                        return;
                    }
                    Photos photos;
                    for (const auto& photo : loading->slots) {
                        if (photo) {
                            photos.push_back(photo);
                        }
                    }
                    loading->overlay->hide(true);
                    loading->completion(std::move(photos));
                });
    }
    return overlay;
}

bool CollagePhotoLoader::reportUnreadablePhotos(const std::shared_ptr<UIViewController>& controller,
                                                size_t loaded, size_t requested, size_t minimum,
                                                std::function<void()> giveUp) {
    const bool tooFew = loaded < minimum;
    if (loaded >= requested && !tooFew) {
        return true;
    }
    // An unreadable photo is left out, and the user told; with fewer than the screen needs
    // there is nothing to make, and the screen goes back once the user has read why.
    NSLog("%s: %lu of %lu photos could be read", controller->className().c_str(),
          static_cast<unsigned long>(loaded), static_cast<unsigned long>(requested));
    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
        NSLocalizedString("Remind info", ""),
        NSLocalizedString(tooFew ? "Too few photos could be read for a collage"
                                 : "Some photos could not be read",
                          ""),
        UIAlertControllerStyle::Alert);
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
        NSLocalizedString("OK", ""), UIAlertActionStyle::Cancel,
        [tooFew, giveUp = std::move(giveUp)](const std::shared_ptr<UIAlertAction>&) {
            if (tooFew && giveUp) {
                giveUp();
            }
        }));
    controller->presentViewControllerAnimatedCompletion(alert, true, nullptr);
    return !tooFew;
}
