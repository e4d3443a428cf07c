// Loads the photos a collage screen was handed, under a progress overlay: one request per
// asset, the answers kept in the assets' order whatever order they arrive in, unreadable
// photos left out; and tells the user when some could not be read, rather than waiting
// for them for good.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/photos/PHImageManager.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class OVProgressHUD;
class PHAsset;
class PHImageRequestOptions;
class UIImage;
class UIViewController;

class CollagePhotoLoader {
public:
    using AssetList = std::vector<std::shared_ptr<PHAsset>>;
    using Photos = std::vector<std::shared_ptr<UIImage>>;

    // Covers `screen` (its navigation controller's view, when it has one) with a progress
    // overlay and asks the default image manager for every asset's picture. Once each
    // request has given its final answer (degraded ones are passed over), the overlay goes
    // and `completion` gets the pictures that could be read, in the assets' order; without
    // assets that happens at once. The overlay, which removes itself when hidden.
    static std::shared_ptr<OVProgressHUD>
    loadPhotosForScreen(UIViewController& screen, const AssetList& assets, CGSize targetSize,
                        PHImageContentMode contentMode,
                        const std::shared_ptr<PHImageRequestOptions>& options,
                        std::function<void(Photos photos)> completion);

    // Whether the screen can go on with the `loaded` of `requested` photos that could be
    // read: yes when all were read (and nothing is shown), or at least `minimum` were, and
    // the user is told some are missing; no when fewer than `minimum` were, and the user
    // is told so over `controller`, whose OK then runs `giveUp`.
    static bool reportUnreadablePhotos(const std::shared_ptr<UIViewController>& controller,
                                       size_t loaded, size_t requested, size_t minimum,
                                       std::function<void()> giveUp);
};
