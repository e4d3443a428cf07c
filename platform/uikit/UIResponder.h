// Base of everything that takes part in the responder chain (views, controllers, the
// application): the chain itself and the touch hooks that travel along it.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <set>

class UIEvent;
class UITouch;

using UITouchSet = std::set<std::shared_ptr<UITouch>>;

class UIResponder : public NSObject {
    NS_OBJECT(UIResponder)
public:
    // The next object up the chain: a view's controller or superview, a controller's
    // view's superview, ...; null at the end.
    virtual std::shared_ptr<UIResponder> nextResponder() const { return nullptr; }

    // Touches in one phase of an event. A responder that does not handle them passes
    // them up the chain, which is what these defaults do.
    virtual void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) {
        if (const auto next = nextResponder()) {
            next->touchesBeganWithEvent(touches, event);
        }
    }
    virtual void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) {
        if (const auto next = nextResponder()) {
            next->touchesMovedWithEvent(touches, event);
        }
    }
    virtual void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) {
        if (const auto next = nextResponder()) {
            next->touchesEndedWithEvent(touches, event);
        }
    }
    virtual void touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) {
        if (const auto next = nextResponder()) {
            next->touchesCancelledWithEvent(touches, event);
        }
    }
};
