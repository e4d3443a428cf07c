#include "tests/platform/uikit/TouchFixture.h"

#include "platform/uikit/UITouch.h"

#include <algorithm>

void TouchRecordingView::record(const char* phase, const UITouchSet& touches) {
    log_.push_back(name_ + " " + phase);
    const auto& touch = *touches.begin();
    lastTapCount = touch->tapCount();
    lastLocation = touch->locationInView(this);
}

void TouchRecordingView::touchesBeganWithEvent(const UITouchSet& touches, const UIEvent*) {
    record("began", touches);
}
void TouchRecordingView::touchesMovedWithEvent(const UITouchSet& touches, const UIEvent*) {
    record("moved", touches);
}
void TouchRecordingView::touchesEndedWithEvent(const UITouchSet& touches, const UIEvent*) {
    record("ended", touches);
}
void TouchRecordingView::touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent*) {
    record("cancelled", touches);
}

TouchTest::TouchTest() {
    window->setRootViewController(screen);
    window->makeKeyAndVisible();
    root = screen->view();
}

std::shared_ptr<UIView> TouchTest::addView(const CGRect& frame,
                                           const std::shared_ptr<UIView>& parent) {
    auto view = UIView::initWithFrame(frame);
    (parent ? parent : root)->addSubview(view);
    return view;
}

std::shared_ptr<TouchRecordingView>
TouchTest::addRecordingView(const std::string& name, const CGRect& frame,
                            const std::shared_ptr<UIView>& parent) {
    auto view = std::make_shared<TouchRecordingView>(name, log);
    view->setFrame(frame);
    (parent ? parent : root)->addSubview(view);
    return view;
}

UIGestureRecognizer::Action TouchTest::logStates(const std::string& name) {
    return [this, name](UIGestureRecognizer& recognizer) {
        log.push_back(name + " " + stateName(recognizer.state()));
    };
}

long TouchTest::count(const std::string& entry) const {
    return std::count(log.begin(), log.end(), entry);
}

std::string stateName(UIGestureRecognizerState state) {
    switch (state) {
    case UIGestureRecognizerState::Possible:
        return "possible";
    case UIGestureRecognizerState::Began:
        return "began";
    case UIGestureRecognizerState::Changed:
        return "changed";
    case UIGestureRecognizerState::Ended:
        return "ended";
    case UIGestureRecognizerState::Cancelled:
        return "cancelled";
    case UIGestureRecognizerState::Failed:
        return "failed";
    }
    return "?";
}
