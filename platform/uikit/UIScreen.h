// The display the app runs on: its size in points and its pixels per point. Headless, so
// the program (its --screen option) and tests choose them.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/graphics/CGGeometry.h"

#include <memory>

class UIScreen : public NSObject {
    NS_OBJECT(UIScreen)
public:
    static std::shared_ptr<UIScreen> mainScreen();
    // Replaces the main screen's size and scale (375 x 667 points at 2x until then).
    static void configureMainScreen(CGSize size, double scale);
    // Back to the default size and scale (between tests).
    static void resetForTesting();

    // {0, 0, width, height} in points.
    CGRect bounds() const { return bounds_; }
    double scale() const { return scale_; }

private:
    UIScreen() = default;

    CGRect bounds_ = CGRectMake(0, 0, 375, 667);
    double scale_ = 2.0;
};
