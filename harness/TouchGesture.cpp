#include "harness/TouchGesture.h"

#include <algorithm>
#include <cmath>

namespace {
// Negative and not-a-number durations count as none.
double nonNegative(double seconds) {
    return seconds > 0 ? seconds : 0;
}

CGPoint between(const CGPoint& from, const CGPoint& to, double fraction) {
    return CGPointMake(from.x + (to.x - from.x) * fraction, from.y + (to.y - from.y) * fraction);
}
} // namespace

void TouchGesture::addFrame(double time, UITouchPhase phase,
                            const std::vector<CGPoint>& locations) {
    Frame frame{time, {}};
    for (size_t i = 0; i < locations.size(); ++i) {
        frame.fingers.push_back({int(i), phase, locations[i]});
    }
    frames_.push_back(std::move(frame));
}

TouchGesture TouchGesture::tap(const CGPoint& location) {
    return longPress(location, kTapDuration);
}

TouchGesture TouchGesture::doubleTap(const CGPoint& location) {
    TouchGesture gesture = tap(location);
    const double second = kTapDuration + kTapPause;
    gesture.addFrame(second, UITouchPhase::Began, {location});
    gesture.addFrame(second + kTapDuration, UITouchPhase::Ended, {location});
    return gesture;
}

TouchGesture TouchGesture::longPress(const CGPoint& location, double seconds) {
    TouchGesture gesture;
    gesture.addFrame(0, UITouchPhase::Began, {location});
    gesture.addFrame(nonNegative(seconds), UITouchPhase::Ended, {location});
    return gesture;
}

TouchGesture TouchGesture::motion(const std::function<std::vector<CGPoint>(double)>& positions,
                                  double seconds) {
    seconds = nonNegative(seconds);
    const long moves = std::max(2L, std::lround(seconds / kFrameInterval));
    TouchGesture gesture;
    gesture.addFrame(0, UITouchPhase::Began, positions(0));
    for (long move = 1; move <= moves; ++move) {
        const double fraction = double(move) / double(moves);
        gesture.addFrame(seconds * fraction, UITouchPhase::Moved, positions(fraction));
    }
    gesture.addFrame(seconds, UITouchPhase::Ended, positions(1));
    return gesture;
}

TouchGesture TouchGesture::drag(const CGPoint& from, const CGPoint& to, double seconds) {
    return motion([&](double fraction) { return std::vector{between(from, to, fraction)}; },
                  seconds);
}

TouchGesture TouchGesture::pressAndDrag(const CGPoint& from, const CGPoint& to, double holdSeconds,
                                        double seconds) {
    TouchGesture gesture = drag(from, to, seconds);
    const double hold = nonNegative(holdSeconds);
    for (size_t i = 1; i < gesture.frames_.size(); ++i) {
        gesture.frames_[i].time += hold;
    }
    return gesture;
}

TouchGesture TouchGesture::pinch(const CGPoint& centre, double startDistance, double endDistance,
                                 double seconds) {
    return motion(
        [&](double fraction) {
            const double half = (startDistance + (endDistance - startDistance) * fraction) / 2;
            return std::vector{CGPointMake(centre.x - half, centre.y),
                               CGPointMake(centre.x + half, centre.y)};
        },
        seconds);
}

TouchGesture TouchGesture::rotate(const CGPoint& centre, double radius, double radians,
                                  double seconds) {
    return motion(
        [&](double fraction) {
            const double angle = radians * fraction;
            const double dx = radius * std::cos(angle);
            const double dy = radius * std::sin(angle);
            return std::vector{CGPointMake(centre.x - dx, centre.y - dy),
                               CGPointMake(centre.x + dx, centre.y + dy)};
        },
        seconds);
}
