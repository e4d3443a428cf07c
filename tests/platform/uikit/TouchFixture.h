// A key window on screen under mock time, views to touch in it, and a log that views,
// recognisers and controls write what they get to; touches come from the touch injector.
#pragma once

#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Logs "name began", "name moved", "name ended", "name cancelled" and keeps the touches'
// last tap count and location in its own coordinates.
class TouchRecordingView : public UIView {
    NS_OBJECT(TouchRecordingView)
public:
    TouchRecordingView(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}
    void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) override;

    unsigned lastTapCount = 0;
    CGPoint lastLocation{};

private:
    void record(const char* phase, const UITouchSet& touches);
    std::string name_;
    std::vector<std::string>& log_;
};

class TouchTest : public ::testing::Test {
protected:
    TouchTest();

    // A view added to `parent` (the screen's root view when null).
    std::shared_ptr<UIView> addView(const CGRect& frame,
                                    const std::shared_ptr<UIView>& parent = {});
    std::shared_ptr<TouchRecordingView>
    addRecordingView(const std::string& name, const CGRect& frame,
                     const std::shared_ptr<UIView>& parent = {});
    // An action logging "name <state>" for each change of the recogniser's state.
    UIGestureRecognizer::Action logStates(const std::string& name);
    // How many times `entry` is in the log.
    long count(const std::string& entry) const;

    TaskEnvironment environment;
    std::vector<std::string> log;
    // What target-action pairs are registered with; they run while it lives.
    std::shared_ptr<NSObject> target = std::make_shared<NSObject>();
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<UIViewController> screen = UIViewController::init();
    std::shared_ptr<UIView> root;
};

std::string stateName(UIGestureRecognizerState state);
