// View animations. The changes made in an animation block take effect at once (the model
// holds the final values, as screenshots show them); the animation itself is recorded
// with its duration and the properties it changed, and its completion runs after the
// delay and duration on the run loop's clock.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class UIView;

enum UIViewAnimationOptions : unsigned {
    UIViewAnimationOptionLayoutSubviews = 1 << 0,
    UIViewAnimationOptionAllowUserInteraction = 1 << 1,
    UIViewAnimationOptionBeginFromCurrentState = 1 << 2,
    UIViewAnimationOptionRepeat = 1 << 3,
    UIViewAnimationOptionAutoreverse = 1 << 4,
    UIViewAnimationOptionCurveEaseInOut = 0 << 16,
    UIViewAnimationOptionCurveEaseIn = 1 << 16,
    UIViewAnimationOptionCurveEaseOut = 2 << 16,
    UIViewAnimationOptionCurveLinear = 3 << 16,
    UIViewAnimationOptionTransitionNone = 0 << 20,
    UIViewAnimationOptionTransitionFlipFromLeft = 1 << 20,
    UIViewAnimationOptionTransitionFlipFromRight = 2 << 20,
    UIViewAnimationOptionTransitionCrossDissolve = 5 << 20,
};

struct UIViewAnimationRecord {
    double duration = 0;
    double delay = 0;
    unsigned options = 0;
    // "ClassName.property" for each property changed inside the block, in order.
    std::vector<std::string> keys;
};

class UIViewAnimation {
public:
    using Block = std::function<void()>;
    using Completion = std::function<void(bool finished)>;

    static void animateWithDurationDelayOptionsAnimationsCompletion(double duration, double delay,
                                                                    unsigned options,
                                                                    const Block& animations,
                                                                    Completion completion);
    // A transition of a view's content: the block runs at once, like an animation block.
    static void transitionWithViewDurationOptionsAnimationsCompletion(
        const std::shared_ptr<UIView>& view, double duration, unsigned options,
        const Block& animations, Completion completion);

    // The older begin/commit form; the stop handler stands for the delegate's
    // did-stop selector.
    static void beginAnimationsContext(const std::string& animationID);
    static void setAnimationDuration(double seconds);
    static void setAnimationDelay(double seconds);
    static void setAnimationDidStopHandler(Block handler);
    static void commitAnimations();

    // Called by views when an animatable property changes.
    static void noteChange(const UIView& view, const char* property);
    static bool isInsideAnimationBlock();

    // What has been animated so far (for tests and the harness).
    static const std::vector<UIViewAnimationRecord>& records();
    static void clearRecords();
    // No records and no open animation block (between tests).
    static void resetForTesting();
};
