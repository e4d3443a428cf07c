#include "app/output/MixImageOutput.h"

#include "app/categories/NSObject+x.h"
#include "app/widgets/OVProgressHUD+CZ.h"
#include "app/widgets/OVProgressHUD.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/graphics/CGImage.h"
#include "platform/photos/UIImageWriteToSavedPhotosAlbum.h"
#include "platform/uikit/UIActivityViewController.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIPasteboard.h"
#include "platform/uikit/ViewRenderer.h"

#include <filesystem>

std::shared_ptr<UIImage>
MixImageOutput::imageByRenderingViewScaleOpaque(const UIView& view, double scale, bool opaque) {
    UIGraphicsBeginImageContextWithOptions(view.frame().size, opaque, scale);
    std::shared_ptr<UIImage> image;
    if (const auto context = UIGraphicsGetCurrentContext()) {
        ViewRenderer::renderInContext(view, context);
        image = UIGraphicsGetImageFromCurrentImageContext();
    }
    UIGraphicsEndImageContext();
    return image;
}

std::shared_ptr<NSURL> MixImageOutput::writeImageIntoBox(const std::shared_ptr<UIImage>& image) {
    const auto folders =
        NSSearchPathForDirectoriesInDomains(NSLibraryDirectory, NSUserDomainMask, true);
    if (folders.empty() || !image) {
        NSLog("MixImageOutput: nothing to write into the share file");
        return nullptr;
    }
    std::error_code error;
    std::filesystem::create_directories(folders.front(), error);
    auto data = UIImagePNGRepresentation(image);
    if (!data || data->empty()) {
        data = UIImageJPEGRepresentation(image, 1.0);
    }
    const std::string path = stringByAppendingPathComponent(folders.front(), kShareFileName);
    if (!data || data->empty() || !NSData::writeToFileAtomically(*data, path)) {
        NSLog("MixImageOutput: cannot write %@", path);
        return nullptr;
    }
    return NSURL::fileURLWithPath(path);
}

bool MixImageOutput::isBlankImage(const std::shared_ptr<UIImage>& image) {
    const CGImageRef pixels = image ? image->cgImage() : nullptr;
    if (!pixels || pixels->width() == 0 || pixels->height() == 0) {
        return true;
    }
    const uint32_t first = pixels->pixelAt(0, 0);
    for (size_t y = 0; y < pixels->height(); ++y) {
        for (size_t x = 0; x < pixels->width(); ++x) {
            if (pixels->pixelAt(x, y) != first) {
                return false;
            }
        }
    }
    return true;
}

std::shared_ptr<MixImageOutput> MixImageOutput::presentForImageFromViewController(
    const std::shared_ptr<UIImage>& image, const std::shared_ptr<UIViewController>& controller) {
    if (isBlankImage(image)) {
        NSLog("MixImageOutput: no picture to offer");
        CZ::showError(NSLocalizedString("Picture not ready", ""));
        return nullptr;
    }
    return present(image, controller, Host::NavigationController);
}

std::shared_ptr<MixImageOutput> MixImageOutput::presentForEditedImageFromViewController(
    const std::shared_ptr<UIImage>& image, const std::shared_ptr<UIViewController>& controller) {
    if (!image || !image->cgImage()) {
        NSLog("MixImageOutput: no picture to offer");
        return nullptr;
    }
    return present(image, controller, Host::Controller);
}

std::shared_ptr<MixImageOutput>
MixImageOutput::present(const std::shared_ptr<UIImage>& image,
                        const std::shared_ptr<UIViewController>& controller, Host host) {
    if (!controller) {
        NSLog("MixImageOutput: no screen to offer the picture on");
        return nullptr;
    }
    auto output = make<MixImageOutput>(image, controller, host);
    auto sheet = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
        "", "", UIAlertControllerStyle::ActionSheet);
    // The actions keep the output alive until the sheet goes; the output never holds the
    // sheet, so nothing is kept longer.
    sheet->addAction(UIAlertAction::actionWithTitleStyleHandler(
        NSLocalizedString("cancel", ""), UIAlertActionStyle::Cancel, nullptr));
    sheet->addAction(UIAlertAction::actionWithTitleStyleHandler(
        NSLocalizedString("Copy", ""), UIAlertActionStyle::Default,
        [output](const auto&) { output->copyImage(); }));
    sheet->addAction(UIAlertAction::actionWithTitleStyleHandler(
        NSLocalizedString("common.Save", ""), UIAlertActionStyle::Default,
        [output](const auto&) { output->saveImage(); }));
    sheet->addAction(UIAlertAction::actionWithTitleStyleHandler(
        NSLocalizedString("Share", ""), UIAlertActionStyle::Default,
        [output](const auto&) { output->shareImage(); }));
    std::shared_ptr<UIViewController> presenter =
        host == Host::NavigationController ? controller->navigationController() : nullptr;
    if (!presenter) {
        presenter = controller;
    }
    presenter->presentViewControllerAnimatedCompletion(sheet, true, nullptr);
    if (!sheet->presentingViewController()) {
        return nullptr;
    }
    return output;
}

void MixImageOutput::showLoadingDataActivity() {
    const auto controller = controller_.lock();
    if (!controller) {
        return;
    }
    const auto navigation =
        host_ == Host::NavigationController ? controller->navigationController() : nullptr;
    loadingDataActivity_ =
        OVProgressHUD::initWithView(navigation ? navigation->view() : controller->view());
    controller->view()->addSubview(loadingDataActivity_);
    loadingDataActivity_->setRemoveFromSuperViewOnHide(true);
    loadingDataActivity_->show(true);
}

void MixImageOutput::finish(const std::function<bool()>& result, const std::string& successKey,
                            const std::string& failureKey) {
    if (loadingDataActivity_) {
        loadingDataActivity_->hide(false);
    }
    if (!result()) {
        CZ::showError(NSLocalizedString(failureKey, ""));
        return;
    }
    if (!successKey.empty()) {
        CZ::showSuccess(NSLocalizedString(successKey, ""));
    }
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setBoolForKey(true, kShouldShowFullScreenAdKey);
    defaults->synchronize();
}

void MixImageOutput::copyImage() {
    showLoadingDataActivity();
    auto self = this->self<MixImageOutput>();
    auto copied = std::make_shared<bool>(false);
    x::asyncTaskReturnOnMain(
        [self, copied] { *copied = UIPasteboard::generalPasteboard()->setImage(self->image_); },
        [self, copied] {
            self->finish([copied] { return *copied; }, "Operate Success", "Operate Failed");
        });
}

void MixImageOutput::saveImage() {
    showLoadingDataActivity();
    auto self = this->self<MixImageOutput>();
    // The album writes on a worker of its own and reports on the main queue; the notice
    // waits for that report, so a failed save is never announced as saved.
    UIImageWriteToSavedPhotosAlbum(
        image_, [self](const std::shared_ptr<UIImage>&, std::shared_ptr<NSError> error) {
            self->finish([&error] { return !error; }, "Save success", "Save failed");
        });
}

void MixImageOutput::shareImage() {
    showLoadingDataActivity();
    auto self = this->self<MixImageOutput>();
    auto url = std::make_shared<std::shared_ptr<NSURL>>();
    x::asyncTaskReturnOnMain([self, url] { *url = writeImageIntoBox(self->image_); },
                             [self, url] {
                                 self->finish([&] { return self->presentShareSheet(*url); }, "",
                                              "Operate Failed");
                             });
}

bool MixImageOutput::presentShareSheet(const std::shared_ptr<NSURL>& url) {
    const auto controller = controller_.lock();
    if (!url || !controller) {
        return false;
    }
    // Refused (null) when the file is not there after all.
    auto sheet = UIActivityViewController::initWithActivityItemsApplicationActivities({url}, {});
    if (!sheet) {
        return false;
    }
    controller->presentViewControllerAnimatedCompletion(sheet, true, nullptr);
    return sheet->presentingViewController() != nullptr;
}
