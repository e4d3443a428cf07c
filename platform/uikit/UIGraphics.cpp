#include "platform/uikit/UIGraphics.h"

#include "platform/foundation/NSLog.h"
#include "platform/uikit/UIScreen.h"

#include <cmath>
#include <vector>

namespace {

struct Entry {
    CGContextRef context;
    bool isImageContext = false;
    double scale = 0;
};

std::vector<Entry>& contextStack() {
    thread_local std::vector<Entry> stack;
    return stack;
}

} // namespace

CGContextRef UIGraphicsGetCurrentContext() {
    const auto& stack = contextStack();
    return stack.empty() ? nullptr : stack.back().context;
}

void UIGraphicsPushContext(const CGContextRef& context) {
    contextStack().push_back({context, false, 0});
}

void UIGraphicsPopContext() {
    auto& stack = contextStack();
    if (!stack.empty()) {
        stack.pop_back();
    }
}

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, double scale) {
    if (scale <= 0 || !std::isfinite(scale)) {
        scale = UIScreen::mainScreen()->scale();
    }
    CGContextRef context;
    const size_t width = CGContext::pixelsCovering(size.width, scale);
    const size_t height = CGContext::pixelsCovering(size.height, scale);
    if (width == 0 || height == 0) {
        NSLog("UIGraphicsBeginImageContext() failed to allocate CGBitmapContext: size={%g, %g}, "
              "scale=%g.",
              size.width, size.height, scale);
    } else {
        context = CGContext::createImageContext(width, height, scale, opaque);
    }
    contextStack().push_back({context, true, scale});
}

void UIGraphicsBeginImageContext(CGSize size) {
    UIGraphicsBeginImageContextWithOptions(size, false, 1);
}

void UIGraphicsEndImageContext() {
    auto& stack = contextStack();
    if (stack.empty() || !stack.back().isImageContext) {
        NSLog("UIGraphicsEndImageContext: the current context is not an image context.");
        return;
    }
    stack.pop_back();
}

CGImageRef UIGraphicsGetCGImageFromCurrentImageContext() {
    const auto& stack = contextStack();
    if (stack.empty() || !stack.back().isImageContext) {
        return nullptr;
    }
    return CGBitmapContextCreateImage(stack.back().context);
}

double UIGraphicsGetCurrentImageContextScale() {
    const auto& stack = contextStack();
    return stack.empty() || !stack.back().isImageContext ? 0 : stack.back().scale;
}
