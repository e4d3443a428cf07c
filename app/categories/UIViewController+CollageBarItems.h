// The bar of a collage screen: a back button on the left, and on the right a share button
// that starts disabled: until its photos are laid out a screen has no collage to offer,
// only a blank background.
#pragma once

#include "platform/uikit/UIBarButtonItem.h"

class UIViewController;

namespace CollageBarItems {
// Sets both items, labelled "Back" and "Share", on `screen`'s navigation item; their
// actions run while `screen` lives.
void addBackAndShareItems(UIViewController& screen, UIBarButtonItem::Action back,
                          UIBarButtonItem::Action share);
} // namespace CollageBarItems
