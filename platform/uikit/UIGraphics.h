// The current drawing context of UIKit code (a per-thread stack) and image contexts: an
// offscreen bitmap with its origin at the top left, scaled to the screen, whose pixels
// become an image.
#pragma once

#include "platform/graphics/CGContext.h"

// The context on top of this thread's stack; null when the stack is empty.
CGContextRef UIGraphicsGetCurrentContext();
void UIGraphicsPushContext(const CGContextRef& context);
// Removes the top context, whatever it is.
void UIGraphicsPopContext();

// Pushes a new image context of size * scale pixels (rounded up); scale 0 is the main
// screen's. Opaque contexts have no alpha and start black, others start transparent. For
// an empty or huge size it logs and pushes no context (the current context is then null)
// so that the matching End still balances.
void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, double scale);
// Not opaque, scale 1.
void UIGraphicsBeginImageContext(CGSize size);
// Pops the current image context; logs when the top of the stack is not one.
void UIGraphicsEndImageContext();
// A copy of the current image context's pixels; null when the current context is not an
// image context.
CGImageRef UIGraphicsGetCGImageFromCurrentImageContext();
// The scale the current image context was made with; 0 when there is none.
double UIGraphicsGetCurrentImageContextScale();
