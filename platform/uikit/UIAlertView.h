// The older alert: shown over the key window by `show`, it reports the index of the
// pressed button to its delegate and goes away.
#pragma once

#include "platform/uikit/UIAlertViewDelegate.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <string>
#include <vector>

class AlertPanelView;

class UIAlertView : public UIView {
    NS_OBJECT(UIAlertView)
public:
    // An empty cancel title adds no cancel button.
    static std::shared_ptr<UIAlertView>
    initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles(
        std::string title, std::string message,
        const std::shared_ptr<UIAlertViewDelegate>& delegate, const std::string& cancelButtonTitle,
        const std::vector<std::string>& otherButtonTitles);
    static std::shared_ptr<UIAlertView> alloc() {
        return initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles("", "", nullptr, "",
                                                                              {});
    }

    const std::string& title() const { return title_; }
    const std::string& message() const { return message_; }
    // Not retained.
    void setDelegate(const std::shared_ptr<UIAlertViewDelegate>& delegate) { delegate_ = delegate; }
    long addButtonWithTitle(const std::string& title);
    long numberOfButtons() const { return static_cast<long>(buttonTitles_.size()); }
    std::string buttonTitleAtIndex(long index) const;
    long cancelButtonIndex() const { return cancelButtonIndex_; }
    void setCancelButtonIndex(long index) { cancelButtonIndex_ = index; }
    bool isVisible() const { return superview() != nullptr; }

    // Adds the alert over the key window (kept alive while shown) and logs it.
    void show();
    // The delegate hears clicked, will-dismiss and did-dismiss, in that order.
    void dismissWithClickedButtonIndexAnimated(long buttonIndex, bool animated);
    // A tap on the button of that title; false when there is none.
    bool tapButtonWithTitle(const std::string& title);

protected:
    UIAlertView() = default;

private:
    std::string title_;
    std::string message_;
    std::weak_ptr<UIAlertViewDelegate> delegate_;
    std::vector<std::string> buttonTitles_;
    long cancelButtonIndex_ = -1;
    std::shared_ptr<AlertPanelView> panel_;
};
