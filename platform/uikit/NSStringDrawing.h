// Measuring and drawing strings with attributes, as the platform's string drawing
// additions do. Sizes are not rounded; callers that lay views out round them up.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/NSTextAttributes.h"

#include <string>

enum NSStringDrawingOptions : unsigned {
    // Lay the text out as lines from the top of the rectangle, wrapping within its width;
    // without it the text is one line a paragraph and the rectangle's origin its baseline.
    NSStringDrawingUsesLineFragmentOrigin = 1 << 0,
};

struct NSStringDrawing {
    // One line a paragraph, no wrapping; zero for empty text. Newlines break lines.
    static CGSize sizeWithAttributes(const std::string& text, const NSTextAttributes& attributes);
    // With NSStringDrawingUsesLineFragmentOrigin the text wraps within size.width (a width
    // that is not positive means no limit) as the line break mode says, and only the whole
    // lines that fit in size.height count, though always the first; the origin is zero.
    // Without it, as sizeWithAttributes, with the origin at minus the first baseline.
    static CGRect boundingRectWithSizeOptionsAttributes(const std::string& text, const CGSize& size,
                                                        unsigned options,
                                                        const NSTextAttributes& attributes);

    // Into the current graphics context (nothing without one), laid out as bounding rects
    // with NSStringDrawingUsesLineFragmentOrigin: wrapped or cut at the rectangle's width,
    // whole lines within its height, aligned within its width.
    static void drawInRectWithAttributes(const std::string& text, const CGRect& rect,
                                         const NSTextAttributes& attributes);
    // Into the current graphics context, as sizeWithAttributes lays it out, with the top
    // left corner of the first line at `point`.
    static void drawAtPointWithAttributes(const std::string& text, const CGPoint& point,
                                          const NSTextAttributes& attributes);
};
