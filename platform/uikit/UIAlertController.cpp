#include "platform/uikit/UIAlertController.h"

#include "platform/foundation/EventLog.h"
#include "platform/uikit/AlertPanelView.h"
#include "platform/uikit/UIScreen.h"

UIAlertController::UIAlertController() {
    setModalPresentationStyle(UIModalPresentationStyle::OverFullScreen);
}

std::shared_ptr<UIAlertController> UIAlertController::alertControllerWithTitleMessagePreferredStyle(
    std::string title, std::string message, UIAlertControllerStyle style) {
    auto alert = make<UIAlertController>();
    alert->setTitle(std::move(title));
    alert->message_ = std::move(message);
    alert->style_ = style;
    return alert;
}

void UIAlertController::addAction(const std::shared_ptr<UIAlertAction>& action) {
    if (action) {
        actions_.push_back(action);
    }
}

void UIAlertController::loadView() {
    std::vector<std::string> buttons;
    std::optional<size_t> cancel;
    for (const auto& action : actions_) {
        if (!cancel && action->style() == UIAlertActionStyle::Cancel) {
            cancel = buttons.size();
        }
        buttons.push_back(action->title());
    }
    auto panel =
        AlertPanelView::initWithScreen(UIScreen::mainScreen()->bounds(), title(), message_, buttons,
                                       style_ == UIAlertControllerStyle::ActionSheet, cancel);
    std::weak_ptr<UIAlertController> weak = self<UIAlertController>();
    panel->setButtonHandler([weak](const std::string& title) {
        if (auto alert = weak.lock()) {
            alert->tapActionWithTitle(title);
        }
    });
    setView(panel);
}

void UIAlertController::viewDidAppear(bool) {
    EventLog::record("alert", AlertPanelView::logText(title(), message_, [this] {
                         std::vector<std::string> titles;
                         for (const auto& action : actions_) {
                             titles.push_back(action->title());
                         }
                         return titles;
                     }()));
}

bool UIAlertController::tapActionWithTitle(const std::string& title) {
    if (answered_) {
        return false;
    }
    for (const auto& action : actions_) {
        if (action->title() == title && action->isEnabled()) {
            answered_ = true;
            EventLog::record("alert-button", title);
            dismissViewControllerAnimatedCompletion(true, [action] {
                if (action->handler()) {
                    action->handler()(action);
                }
            });
            return true;
        }
    }
    return false;
}
