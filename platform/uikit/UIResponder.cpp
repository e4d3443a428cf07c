#include "platform/uikit/UIResponder.h"

#include "platform/uikit/UIKeyboard.h"

bool UIResponder::becomeFirstResponder() {
    if (isFirstResponder()) {
        return true;
    }
    return canBecomeFirstResponder() && UIKeyboard::shared().handOverTo(self<UIResponder>());
}

bool UIResponder::resignFirstResponder() {
    if (!isFirstResponder()) {
        return true;
    }
    return canResignFirstResponder() && UIKeyboard::shared().forceResign(*this);
}

bool UIResponder::isFirstResponder() const {
    return UIKeyboard::shared().firstResponder().get() == this;
}
