#include "platform/uikit/UIAlertAction.h"

#include "platform/runtime/ClassRegistry.h"

NS_REGISTER_CLASS(UIAlertAction, NSObject);

std::shared_ptr<UIAlertAction> UIAlertAction::actionWithTitleStyleHandler(std::string title,
                                                                          UIAlertActionStyle style,
                                                                          Handler handler) {
    auto action = std::make_shared<UIAlertAction>();
    action->title_ = std::move(title);
    action->style_ = style;
    action->handler_ = std::move(handler);
    return action;
}
