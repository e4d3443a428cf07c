#include "platform/uikit/UIAlertAction.h"

std::shared_ptr<UIAlertAction> UIAlertAction::actionWithTitleStyleHandler(std::string title,
                                                                          UIAlertActionStyle style,
                                                                          Handler handler) {
    auto action = std::make_shared<UIAlertAction>();
    action->title_ = std::move(title);
    action->style_ = style;
    action->handler_ = std::move(handler);
    return action;
}
