// The app's screens under a navigation bar title it in white, slightly heavier than regular.
#pragma once

class UIViewController;

namespace NavigationTitle {
// Sets the title style of the bar `controller` is shown under; nothing without one.
void useWhiteTitle(const UIViewController& controller);
} // namespace NavigationTitle
