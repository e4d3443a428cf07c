#include "platform/uikit/UIEvent.h"

#include "platform/uikit/UITouch.h"
#include "platform/uikit/UIView.h"

std::shared_ptr<UIEvent> UIEvent::initWithTouchesTimestamp(UITouchSet touches, double timestamp) {
    auto event = std::make_shared<UIEvent>();
    touches.erase(nullptr);
    event->touches_ = std::move(touches);
    event->timestamp_ = timestamp;
    return event;
}

UITouchSet UIEvent::touchesForView(const UIView* view) const {
    UITouchSet touches;
    for (const auto& touch : touches_) {
        if (view && touch->view().get() == view) {
            touches.insert(touch);
        }
    }
    return touches;
}
