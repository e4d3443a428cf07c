#include "tests/support/TextTest.h"

#include "platform/foundation/NSBundle.h"
#include "platform/uikit/UIGraphics.h"

#include <algorithm>

void TextTest::SetUpTestSuite() {
    NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR);
}

CGImageRef renderOnWhite(CGSize size, const std::function<void()>& draw) {
    UIGraphicsBeginImageContextWithOptions(size, true, 1);
    const CGContextRef context = UIGraphicsGetCurrentContext();
    CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    CGContextFillRect(context, CGRectMake(0, 0, size.width, size.height));
    draw();
    CGImageRef image = UIGraphicsGetCGImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

InkBox inkBox(const CGImageRef& image, int tolerance, int top, int bottom) {
    InkBox box{int(image->width()), int(image->height()), -1, -1};
    const int lastRow = bottom < 0 ? int(image->height()) : std::min(bottom, int(image->height()));
    for (int y = std::max(top, 0); y < lastRow; ++y) {
        for (int x = 0; x < int(image->width()); ++x) {
            const uint32_t pixel = image->pixelAt(size_t(x), size_t(y));
            const int darkest =
                std::min({int(pixel >> 16 & 0xff), int(pixel >> 8 & 0xff), int(pixel & 0xff)});
            if (255 - darkest > tolerance) {
                box.minX = std::min(box.minX, x);
                box.maxX = std::max(box.maxX, x);
                box.minY = std::min(box.minY, y);
                box.maxY = std::max(box.maxY, y);
            }
        }
    }
    return box;
}
