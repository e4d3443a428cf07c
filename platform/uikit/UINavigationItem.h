// What a screen shows in the navigation bar while it is on top: a title or title view,
// and the buttons on either side.
#pragma once

#include "platform/base/NSObject.h"

#include <functional>
#include <memory>
#include <string>

class UIBarButtonItem;
class UIView;

class UINavigationItem : public NSObject {
    NS_OBJECT(UINavigationItem)
public:
    const std::string& title() const { return title_; }
    void setTitle(std::string title) {
        title_ = std::move(title);
        changed();
    }
    std::shared_ptr<UIView> titleView() const { return titleView_; }
    void setTitleView(std::shared_ptr<UIView> view) {
        titleView_ = std::move(view);
        changed();
    }
    std::shared_ptr<UIBarButtonItem> leftBarButtonItem() const { return leftBarButtonItem_; }
    void setLeftBarButtonItem(std::shared_ptr<UIBarButtonItem> item) {
        leftBarButtonItem_ = std::move(item);
        changed();
    }
    std::shared_ptr<UIBarButtonItem> rightBarButtonItem() const { return rightBarButtonItem_; }
    void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item) {
        rightBarButtonItem_ = std::move(item);
        changed();
    }
    std::shared_ptr<UIBarButtonItem> backBarButtonItem() const { return backBarButtonItem_; }
    void setBackBarButtonItem(std::shared_ptr<UIBarButtonItem> item) {
        backBarButtonItem_ = std::move(item);
        changed();
    }
    bool hidesBackButton() const { return hidesBackButton_; }
    void setHidesBackButton(bool hides) {
        hidesBackButton_ = hides;
        changed();
    }
    // Told of every change, by the bar that shows the item.
    void setChangeHandler(std::function<void()> handler) { changeHandler_ = std::move(handler); }

private:
    void changed() {
        if (changeHandler_) {
            changeHandler_();
        }
    }

    std::string title_;
    std::shared_ptr<UIView> titleView_;
    std::shared_ptr<UIBarButtonItem> leftBarButtonItem_;
    std::shared_ptr<UIBarButtonItem> rightBarButtonItem_;
    std::shared_ptr<UIBarButtonItem> backBarButtonItem_;
    bool hidesBackButton_ = false;
    std::function<void()> changeHandler_;
};
