// Fingers for the headless app: plays touch sequences into the key window as real events
// (UIApplication::sendEvent, hit testing, gesture recognisers), never by calling targets;
// and finds the views a user could tap by their accessibility label.
#pragma once

#include "harness/TouchGesture.h"
#include "platform/graphics/CGGeometry.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class UIView;
class UIWindow;

class TouchInjector {
public:
    using Completion = std::function<void()>;
    // Runs the main run loop for that many seconds, firing timers meanwhile.
    using Wait = std::function<void(double seconds)>;

    // How the waiting forms let time pass: NSRunLoop::runForSeconds unless set (a test
    // gives its task environment's fastForwardBy); null goes back to that.
    static void setWait(Wait wait);
    // Back to real-time waiting (between tests).
    static void resetForTesting();

    // Waiting forms: play the gesture (TouchGesture's shapes; points in window
    // coordinates) and wait until the last finger lifted, so timers fire meanwhile.
    // False, with a log line, when there is no key window.
    static bool tapAt(const CGPoint& windowPoint);
    static bool doubleTapAt(const CGPoint& windowPoint);
    static bool longPressAt(const CGPoint& windowPoint, double seconds);
    static bool drag(const CGPoint& from, const CGPoint& to, double seconds);
    static bool pinch(const CGPoint& centre, double startDistance, double endDistance,
                      double seconds);
    static bool rotate(const CGPoint& centre, double radius, double radians, double seconds);
    static bool perform(const TouchGesture& gesture);

    // Asynchronous form: the first frame at once, the others on run-loop timers;
    // `completion` runs on the main run loop once the last finger lifted. False, with a log
    // line and without calling `completion`, when there is no key window.
    static bool performAsync(const TouchGesture& gesture, Completion completion);

    // The views of the window a user could tap by that label, back to front: the view and
    // every view above it shown (not hidden, alpha at least 0.01) and taking touches (user
    // interaction on, and enabled if a control), part of it inside the window's bounds,
    // and its accessibilityLabel() equal to `label`.
    static std::vector<std::shared_ptr<UIView>>
    viewsWithLabel(const std::shared_ptr<UIWindow>& window, const std::string& label);
    // Where a finger taps a view: the centre of its part inside the window's bounds (and
    // inside the ancestors that clip), in window coordinates.
    static CGPoint tapPointOfView(const UIView& view);

private:
    class Playback;
};
