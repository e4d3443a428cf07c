#include "platform/uikit/UIAlertView.h"

#include "platform/foundation/EventLog.h"
#include "platform/uikit/AlertPanelView.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIWindow.h"

std::shared_ptr<UIAlertView>
UIAlertView::initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles(
    std::string title, std::string message, const std::shared_ptr<UIAlertViewDelegate>& delegate,
    const std::string& cancelButtonTitle, const std::vector<std::string>& otherButtonTitles) {
    auto alert = make<UIAlertView>();
    alert->title_ = std::move(title);
    alert->message_ = std::move(message);
    alert->delegate_ = delegate;
    if (!cancelButtonTitle.empty()) {
        alert->cancelButtonIndex_ = alert->addButtonWithTitle(cancelButtonTitle);
    }
    for (const auto& other : otherButtonTitles) {
        alert->addButtonWithTitle(other);
    }
    return alert;
}

long UIAlertView::addButtonWithTitle(const std::string& title) {
    buttonTitles_.push_back(title);
    return numberOfButtons() - 1;
}

std::string UIAlertView::buttonTitleAtIndex(long index) const {
    if (index < 0 || index >= numberOfButtons()) {
        return "";
    }
    return buttonTitles_[static_cast<size_t>(index)];
}

void UIAlertView::show() {
    auto window = UIApplication::sharedApplication()->keyWindow();
    if (!window || isVisible()) {
        return;
    }
    setFrame(window->bounds());
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    panel_ = AlertPanelView::initWithScreen(bounds(), title_, message_, buttonTitles_, false,
                                            std::nullopt);
    std::weak_ptr<UIAlertView> weak = self<UIAlertView>();
    panel_->setButtonHandler([weak](const std::string& title) {
        if (auto alert = weak.lock()) {
            alert->tapButtonWithTitle(title);
        }
    });
    addSubview(panel_);
    window->addSubview(self<UIView>());
    EventLog::record("alert", AlertPanelView::logText(title_, message_, buttonTitles_));
}

void UIAlertView::dismissWithClickedButtonIndexAnimated(long buttonIndex, bool) {
    // The window holds the alert; keep it alive until the delegate has heard everything.
    auto self = this->self<UIAlertView>();
    auto delegate = delegate_.lock();
    if (delegate) {
        delegate->alertViewClickedButtonAtIndex(*this, buttonIndex);
        delegate->alertViewWillDismissWithButtonIndex(*this, buttonIndex);
    }
    removeFromSuperview();
    if (delegate) {
        delegate->alertViewDidDismissWithButtonIndex(*this, buttonIndex);
    }
}

bool UIAlertView::tapButtonWithTitle(const std::string& title) {
    if (!isVisible()) {
        return false;
    }
    for (long i = 0; i < numberOfButtons(); ++i) {
        if (buttonTitles_[static_cast<size_t>(i)] == title) {
            EventLog::record("alert-button", title);
            dismissWithClickedButtonIndexAnimated(i, true);
            return true;
        }
    }
    return false;
}
