// One button of an alert controller: a title, a style and what happens when tapped.
#pragma once

#include "platform/base/NSObject.h"

#include <functional>
#include <string>

enum class UIAlertActionStyle { Default = 0, Cancel = 1, Destructive = 2 };

class UIAlertAction : public NSObject {
    NS_OBJECT(UIAlertAction)
public:
    using Handler = std::function<void(const std::shared_ptr<UIAlertAction>&)>;
    static std::shared_ptr<UIAlertAction>
    actionWithTitleStyleHandler(std::string title, UIAlertActionStyle style, Handler handler);
    const std::string& title() const { return title_; }
    UIAlertActionStyle style() const { return style_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    const Handler& handler() const { return handler_; }

private:
    std::string title_;
    UIAlertActionStyle style_ = UIAlertActionStyle::Default;
    bool enabled_ = true;
    Handler handler_;
};
