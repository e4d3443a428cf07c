#include "app/widgets/OVProgressHUD+CZ.h"

#include "app/widgets/OVProgressHUD.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIWindow.h"

namespace CZ {

namespace {
std::shared_ptr<UIView> firstWindow() {
    const auto& windows = UIApplication::sharedApplication()->windows();
    return windows.empty() ? nullptr : windows.front();
}

std::shared_ptr<UIView> lastWindow() {
    const auto& windows = UIApplication::sharedApplication()->windows();
    return windows.empty() ? nullptr : windows.back();
}
} // namespace

void showIconView(const std::string& text, const std::string& icon,
                  const std::shared_ptr<UIView>& view) {
    auto host = view ? view : lastWindow();
    if (!host) {
        return;
    }
    auto hud = OVProgressHUD::showHUDAddedToAnimated(host, true);
    hud->setLabelText(text);
    hud->setCustomView(UIImageView::initWithImage(
        UIImage::imageNamed(NSString::stringWithFormat("OVProgressHUD.bundle/%@", icon))));
    hud->setMode(OVProgressHUDModeCustomView);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hideAfterDelay(true, 1.0);
    EventLog::record("tip", text);
}

void showSuccessToView(const std::string& text, const std::shared_ptr<UIView>& view) {
    showIconView(text, "success.png", view);
}

void showErrorToView(const std::string& text, const std::shared_ptr<UIView>& view) {
    showIconView(text, "error.png", view);
}

void showSuccess(const std::string& text) {
    showSuccessToView(text, nullptr);
}

void showError(const std::string& text) {
    showErrorToView(text, nullptr);
}

std::shared_ptr<OVProgressHUD> showMessageToView(const std::string& text,
                                                 const std::shared_ptr<UIView>& view) {
    auto host = view ? view : firstWindow();
    if (!host) {
        return nullptr;
    }
    auto hud = OVProgressHUD::showHUDAddedToAnimated(host, true);
    hud->setLabelText(text);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->setDimBackground(true);
    return hud;
}

std::shared_ptr<OVProgressHUD> showMessage(const std::string& text) {
    return showMessageToView(text, nullptr);
}

void hideHUDForView(const std::shared_ptr<UIView>& view) {
    auto host = view ? view : firstWindow();
    if (host) {
        OVProgressHUD::hideHUDForViewAnimated(host, true);
    }
}

void hideHUD() {
    hideHUDForView(nullptr);
}

} // namespace CZ
