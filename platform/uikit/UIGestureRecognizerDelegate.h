// What a gesture recogniser asks its delegate. Every method is optional: the default
// bodies are what an absent method means.
#pragma once

class UIGestureRecognizer;
class UITouch;

class UIGestureRecognizerDelegate {
public:
    virtual ~UIGestureRecognizerDelegate() = default;
    // Asked when the recogniser is about to leave Possible; NO makes it fail.
    virtual bool gestureRecognizerShouldBegin(UIGestureRecognizer& recognizer) { return true; }
    // Whether the two may both recognise on the same touches; either delegate saying YES
    // is enough.
    virtual bool gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(
        UIGestureRecognizer& recognizer, UIGestureRecognizer& other) {
        return false;
    }
    // Asked when a touch lands in the recogniser's view; NO keeps the touch from it.
    virtual bool gestureRecognizerShouldReceiveTouch(UIGestureRecognizer& recognizer,
                                                     UITouch& touch) {
        return true;
    }
};
