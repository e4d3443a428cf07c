// One-call tip and message boxes on top of the progress overlay.
#pragma once

#include <memory>
#include <string>

class OVProgressHUD;
class UIView;

namespace CZ {
// An icon (from the overlay's resource folder) and a text, gone after a second. A null
// view means the application's last window.
void showIconView(const std::string& text, const std::string& icon,
                  const std::shared_ptr<UIView>& view);
void showSuccessToView(const std::string& text, const std::shared_ptr<UIView>& view);
void showErrorToView(const std::string& text, const std::shared_ptr<UIView>& view);
void showSuccess(const std::string& text);
void showError(const std::string& text);
// A spinner with a text on a dimmed screen, until hidden. A null view means the
// application's first window.
std::shared_ptr<OVProgressHUD> showMessageToView(const std::string& text,
                                                 const std::shared_ptr<UIView>& view);
std::shared_ptr<OVProgressHUD> showMessage(const std::string& text);
void hideHUDForView(const std::shared_ptr<UIView>& view);
void hideHUD();
} // namespace CZ
