// The delegate of a navigation bar. The bar asks it only where the bar stands (its
// positioning); the platform's push and pop questions are not asked here.
#pragma once

#include "platform/uikit/UIBarPositioningDelegate.h"

class UINavigationBarDelegate : public UIBarPositioningDelegate {};
