// Base of everything that takes part in the responder chain (views, controllers, the
// application): the chain itself, the touch hooks that travel along it, and the first
// responder (the one object that gets the keyboard's keys).
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

    // The first responder is one for the whole application. A responder that takes key
    // input (UIKeyInput) brings the keyboard up when it becomes first responder; the
    // keyboard goes when the first responder resigns and none that takes keys follows.
    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool canResignFirstResponder() const { return true; }
    // Asks the current first responder to resign first; NO when it refuses or when this
    // responder cannot become first responder. YES when it already is.
    virtual bool becomeFirstResponder();
    // YES when it resigned or was not first responder.
    virtual bool resignFirstResponder();
    bool isFirstResponder() const;

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

protected:
    // Called once the responder is no longer first responder, however it left: resigned,
    // forced out by endEditing, or taken off the screen.
    virtual void didResignFirstResponder() {}

private:
    friend class UIKeyboard;
};
