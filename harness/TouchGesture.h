// A scripted touch sequence for the touch injector: frames of finger positions at set
// times from the start (window coordinates), each frame becoming one event.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UITouch.h"

#include <functional>
#include <vector>

class TouchGesture {
public:
    struct Finger {
        int id = 0;
        UITouchPhase phase = UITouchPhase::Began;
        CGPoint location;
    };
    struct Frame {
        double time = 0;
        std::vector<Finger> fingers;
    };

    // How long a finger rests on the screen for a tap, and the pause between two taps.
    static constexpr double kTapDuration = 0.05;
    static constexpr double kTapPause = 0.1;
    // Moving fingers report once a frame of the display.
    static constexpr double kFrameInterval = 1.0 / 60;

    // Down, and up after kTapDuration.
    static TouchGesture tap(const CGPoint& location);
    // Two taps at the same point, kTapPause apart.
    static TouchGesture doubleTap(const CGPoint& location);
    // Down, and up `seconds` later without moving.
    static TouchGesture longPress(const CGPoint& location, double seconds);
    // One finger down at `from`, moving along the line every frame (at least twice),
    // reaching `to` after `seconds` and lifting there.
    static TouchGesture drag(const CGPoint& from, const CGPoint& to, double seconds);
    // A finger held still at `from` for `holdSeconds`, then dragged as above.
    static TouchGesture pressAndDrag(const CGPoint& from, const CGPoint& to, double holdSeconds,
                                     double seconds);
    // Two fingers on a horizontal line through `centre`, their distance going from
    // `startDistance` to `endDistance`.
    static TouchGesture pinch(const CGPoint& centre, double startDistance, double endDistance,
                              double seconds);
    // Two fingers facing each other across `centre` at `radius`, turning by `radians`
    // (clockwise on screen for a positive angle).
    static TouchGesture rotate(const CGPoint& centre, double radius, double radians,
                               double seconds);

    // Fingers at `positions(fraction)` moving from fraction 0 to 1 over `seconds`.
    static TouchGesture motion(const std::function<std::vector<CGPoint>(double)>& positions,
                               double seconds);

    const std::vector<Frame>& frames() const { return frames_; }
    // When the last frame comes, from the first.
    double duration() const { return frames_.empty() ? 0 : frames_.back().time; }

private:
    void addFrame(double time, UITouchPhase phase, const std::vector<CGPoint>& locations);

    std::vector<Frame> frames_;
};
