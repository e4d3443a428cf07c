// Fixture and pixel helpers for tests that lay out or draw text. The fonts come from the
// built app bundle, which must be the main bundle before the first font is made.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"

#include <gtest/gtest.h>

#include <functional>

class TextTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
};

// Draws `draw` into a white, opaque image context of `size` points at scale 1 and returns
// its pixels.
CGImageRef renderOnWhite(CGSize size, const std::function<void()>& draw);

// The smallest box of pixels (inclusive indices) holding every pixel of rows top..bottom-1
// that is darker than white by more than `tolerance` in some channel.
struct InkBox {
    int minX = 0;
    int minY = 0;
    int maxX = -1;
    int maxY = -1;
    bool empty() const { return maxX < minX; }
    // The box's middle in pixel-edge coordinates.
    double midX() const { return (minX + maxX + 1) / 2.0; }
    double midY() const { return (minY + maxY + 1) / 2.0; }
    int width() const { return empty() ? 0 : maxX - minX + 1; }
    int height() const { return empty() ? 0 : maxY - minY + 1; }
};
InkBox inkBox(const CGImageRef& image, int tolerance = 0, int top = 0, int bottom = -1);
