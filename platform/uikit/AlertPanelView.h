// What an alert looks like: the screen dimmed, a rounded panel with a bold title, a
// message and a row (two buttons) or a column of buttons; as an action sheet, the panel
// sits at the bottom, and its cancel button, in a rounded group of its own, below it.
// Taps on a button are reported by its title.
#pragma once

#include "platform/uikit/UIView.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class AlertPanelView : public UIView {
    NS_OBJECT(AlertPanelView)
public:
    static std::shared_ptr<AlertPanelView> initWithScreen(const CGRect& screen, std::string title,
                                                          std::string message,
                                                          std::vector<std::string> buttons,
                                                          bool actionSheet,
                                                          std::optional<size_t> cancelButton);
    static std::shared_ptr<AlertPanelView> alloc() {
        return initWithScreen(CGRectZero, "", "", {}, false, std::nullopt);
    }
    void setButtonHandler(std::function<void(const std::string&)> handler) {
        handler_ = std::move(handler);
    }
    // The panel and each button's rectangle (in the order the buttons were given), in the
    // view's coordinates. A sheet's cancel button lies below the panel, not in it.
    CGRect panelRect() const;
    std::vector<CGRect> buttonRects() const;
    // The rectangle of the first button of that title, if any.
    std::optional<CGRect> buttonRectForTitle(const std::string& title) const;
    // Reports the button under the point, if any; true when one was hit.
    bool tapAtPoint(const CGPoint& point);

    void drawRect(const CGRect& rect) override;
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;

    // One line for the event log: "Title: message [One | Two]".
    static std::string logText(const std::string& title, const std::string& message,
                               const std::vector<std::string>& buttons);

protected:
    AlertPanelView();

private:
    double textHeight() const;
    // The index of a sheet's cancel button, which is set apart; none for an alert.
    std::optional<size_t> separateCancel() const;

    std::string title_;
    std::string message_;
    std::vector<std::string> buttons_;
    bool actionSheet_ = false;
    std::optional<size_t> cancelButton_;
    std::function<void(const std::string&)> handler_;
};
