// Stands in for UIWindow's own source file, which does not exist yet, so that the view
// tree's window hooks can be tested with real windows. Delete this file when
// platform/uikit/UIWindow.cpp arrives (it defines the same function).
#include "platform/uikit/UIWindow.h"

std::shared_ptr<UIWindow> UIWindow::window() const {
    return std::const_pointer_cast<UIWindow>(self<UIWindow>());
}
