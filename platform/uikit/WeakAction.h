// A member function bound to an object held weakly, for what calls back into the object:
// the action of a control, a bar button item or a gesture recogniser, a notification
// observer, a timer, a queued block, a completion. The call happens only while the object
// lives. A member with one parameter is given the caller's one argument as that type (a
// control as the UIButton or UISlider it is; the cast is not checked); a member without
// parameters ignores whatever the caller passes.
//
//     item = UIBarButtonItem::initWithImageStyleTargetAction(
//         image, UIBarButtonItemStyle::Plain, editor, weakAction(editor, &Editor::back));
//     dispatch_async(dispatch_get_main_queue(), weakAction(prompt, &RatePrompt::launched));
//
// Controls take the member directly: UIControl::addTargetActionForControlEvents.
//
// weakCall is the same for what a member alone cannot say: the callable is given the
// object and the caller's arguments, and carries in its own captures whatever else it needs.
//
//     dispatch_async(dispatch_get_main_queue(),
//                    weakCall(hud, [key](OVProgressHUD& self) { self.applyChange(key); }));
#pragma once

#include <concepts>
#include <memory>
#include <utility>

template <class Target, class Call> auto weakCall(std::weak_ptr<Target> target, Call call) {
    return [weak = std::move(target), call = std::move(call)](auto&&... arguments) {
        if (auto object = weak.lock()) {
            call(*object, std::forward<decltype(arguments)>(arguments)...);
        }
    };
}

template <class Target, class Call>
auto weakCall(const std::shared_ptr<Target>& target, Call call) {
    return weakCall(std::weak_ptr<Target>(target), std::move(call));
}

template <class Target, class Class, class Sender>
requires std::derived_from<Target, Class>
auto weakAction(const std::shared_ptr<Target>& target, void (Class::*method)(Sender&)) {
    return weakCall(target, [method](Target& object, auto&& sender) {
        (object.*method)(static_cast<Sender&>(sender));
    });
}

template <class Target, class Class>
requires std::derived_from<Target, Class>
auto weakAction(const std::shared_ptr<Target>& target, void (Class::*method)()) {
    return weakCall(target, [method](Target& object, auto&&...) { (object.*method)(); });
}
