// An alert or action sheet, presented over the screen that shows it. Tapping an action
// dismisses it and then runs the action's handler. The first cancel-style action is the
// cancel button: an action sheet shows it apart, at the bottom, wherever it was added.
#pragma once

#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIViewController.h"

#include <vector>

enum class UIAlertControllerStyle { ActionSheet = 0, Alert = 1 };

class UIAlertController : public UIViewController {
    NS_OBJECT(UIAlertController)
public:
    static std::shared_ptr<UIAlertController>
    alertControllerWithTitleMessagePreferredStyle(std::string title, std::string message,
                                                  UIAlertControllerStyle style);
    static std::shared_ptr<UIAlertController> alloc() {
        return alertControllerWithTitleMessagePreferredStyle("", "", UIAlertControllerStyle::Alert);
    }

    const std::string& message() const { return message_; }
    UIAlertControllerStyle preferredStyle() const { return style_; }
    void addAction(const std::shared_ptr<UIAlertAction>& action);
    const std::vector<std::shared_ptr<UIAlertAction>>& actions() const { return actions_; }

    // What a tap on the button of that title does; false when there is no such enabled
    // button.
    bool tapActionWithTitle(const std::string& title);

    void loadView() override;
    void viewDidAppear(bool animated) override;

protected:
    UIAlertController();

    bool logsAsScreen() const override { return false; }

private:
    std::string message_;
    UIAlertControllerStyle style_ = UIAlertControllerStyle::Alert;
    std::vector<std::shared_ptr<UIAlertAction>> actions_;
    bool answered_ = false;
};
