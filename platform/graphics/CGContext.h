// Drawing contexts on cairo: a bitmap (or the window, or an image being drawn) with the
// graphics state of the platform's contexts — transform, path, colours, line style,
// alpha, blend mode, clip and soft masks, shadow — and the platform's C drawing API.
// Bitmap contexts have their origin at the bottom left (y up); image contexts, as UIKit
// makes them, at the top left.
#pragma once

#include "platform/graphics/CGAffineTransform.h"
#include "platform/graphics/CGColor.h"
#include "platform/graphics/CGColorSpace.h"
#include "platform/graphics/CGGradient.h"
#include "platform/graphics/CGImage.h"
#include "platform/graphics/CGPath.h"

#include <cstdint>
#include <functional>
#include <memory>

typedef struct _cairo cairo_t;

class CGContext;
using CGContextRef = std::shared_ptr<CGContext>;

enum CGPathDrawingMode {
    kCGPathFill,
    kCGPathEOFill,
    kCGPathStroke,
    kCGPathFillStroke,
    kCGPathEOFillStroke,
};

// How text is painted: its glyphs filled, or their outlines stroked with the line width
// and join of the graphics state.
enum CGTextDrawingMode { kCGTextFill, kCGTextStroke };

enum CGLineCap { kCGLineCapButt, kCGLineCapRound, kCGLineCapSquare };
enum CGLineJoin { kCGLineJoinMiter, kCGLineJoinRound, kCGLineJoinBevel };

// Separable blend modes act within what is drawn: outside a filled shape, a stroke or an
// image's rectangle the destination stays as it was, whatever the mode.
enum CGBlendMode {
    kCGBlendModeNormal = 0,
    kCGBlendModeMultiply = 1,
    kCGBlendModeScreen = 2,
    kCGBlendModeClear = 16,
    kCGBlendModeCopy = 17,
    kCGBlendModeSourceIn = 18,
    kCGBlendModeDestinationIn = 22,
    kCGBlendModeDestinationOut = 23,
    kCGBlendModePlusLighter = 27,
};

enum CGInterpolationQuality {
    kCGInterpolationDefault = 0,
    kCGInterpolationNone = 1,
    kCGInterpolationLow = 2,
    kCGInterpolationHigh = 3,
    kCGInterpolationMedium = 4,
};

enum : uint32_t {
    kCGGradientDrawsBeforeStartLocation = 1,
    kCGGradientDrawsAfterEndLocation = 2,
};

// Bitmap layout flags of CGBitmapContextCreate.
enum : uint32_t {
    kCGImageAlphaNone = 0,
    kCGImageAlphaPremultipliedLast = 1,
    kCGImageAlphaPremultipliedFirst = 2,
    kCGImageAlphaLast = 3,
    kCGImageAlphaFirst = 4,
    kCGImageAlphaNoneSkipLast = 5,
    kCGImageAlphaNoneSkipFirst = 6,
    kCGImageAlphaOnly = 7,
    kCGBitmapAlphaInfoMask = 0x1F,
    kCGBitmapByteOrderDefault = 0,
    kCGBitmapByteOrder16Little = 1 << 12,
    kCGBitmapByteOrder32Little = 2 << 12,
    kCGBitmapByteOrder16Big = 3 << 12,
    kCGBitmapByteOrder32Big = 4 << 12,
    kCGBitmapByteOrderMask = 0x7000,
};

class CGContext {
public:
    // The largest bitmap a context is made for: cairo's own limit on either side of an
    // image surface, and a pixel count beyond which memory is refused rather than
    // allocated. Whoever decides a size to draw at checks it against these.
    static constexpr size_t kMaxSide = 32767;
    static constexpr size_t kMaxPixels = 100'000'000;
    // Whether a context of `pixelWidth` x `pixelHeight` pixels can be made (neither is 0).
    static bool canHoldPixels(size_t pixelWidth, size_t pixelHeight);
    // The pixels covering `points` at `scale`, rounded up, ignoring the rounding noise of
    // the product; 0 when that is none, not a number or more than any context holds.
    static size_t pixelsCovering(double points, double scale);

    // An image context as UIGraphics makes one: `pixelWidth` x `pixelHeight` pixels,
    // origin top left, `scale` pixels per unit; opaque ones have no alpha and start black,
    // others start transparent. Null (and a log line) for sizes a bitmap cannot have.
    static CGContextRef createImageContext(size_t pixelWidth, size_t pixelHeight, double scale,
                                           bool opaque);

    ~CGContext();
    CGContext(const CGContext&) = delete;
    CGContext& operator=(const CGContext&) = delete;

    // The cairo context underneath, its transform being the context's current one, for
    // platform code drawing what the C functions do not (text). Painting straight through
    // it bypasses alpha, blend mode, shadow and soft masks: see fillShape.
    cairo_t* cairo() const;
    // Device pixels per unit of the context's base space (an image context's scale).
    double deviceScale() const;
    // Paints with the current fill colour what `shape` draws on the cairo context it is
    // given (it may fill a path or show a text layout with the source it finds set), with
    // the context's alpha, blend mode, shadow and soft masks applied.
    void fillShape(const std::function<void(cairo_t*)>& shape);

    // For the text code: how text is painted in the current graphics state.
    CGTextDrawingMode textDrawingMode() const;

    // The context's state, defined beside the C functions that work on it.
    struct State;
    State& state() const { return *state_; }

    explicit CGContext(std::unique_ptr<State> state);

private:
    std::unique_ptr<State> state_;
};

// Every function accepts a null context and then does nothing (or returns a zero value).

// Bitmap contexts. Formats (8 bits a component, our native 32-bit order whatever byte
// order is asked for): premultiplied ARGB (PremultipliedFirst or PremultipliedLast), RGB
// with the alpha byte skipped (NoneSkipFirst/NoneSkipLast), grey (a DeviceGray space and
// AlphaNone, one byte a pixel) and alpha only (AlphaOnly, one byte a pixel). `data` null:
// the context owns a zeroed buffer; otherwise it draws into the caller's, which must hold
// bytesPerRow * height bytes. bytesPerRow 0 picks the smallest. Null context and a log
// line for what cannot be made (zero or huge sizes, rows too short, other formats).
CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, const CGColorSpaceRef& space,
                                   uint32_t bitmapInfo);
void* CGBitmapContextGetData(const CGContextRef& c);
size_t CGBitmapContextGetWidth(const CGContextRef& c);
size_t CGBitmapContextGetHeight(const CGContextRef& c);
size_t CGBitmapContextGetBytesPerRow(const CGContextRef& c);
// A copy of the pixels: ARGB and alpha-only contexts give premultiplied ARGB images (the
// latter black with the context's alpha), RGB ones RGB24, grey ones Gray8.
CGImageRef CGBitmapContextCreateImage(const CGContextRef& c);

// Graphics state.
void CGContextSaveGState(const CGContextRef& c);
void CGContextRestoreGState(const CGContextRef& c);
void CGContextTranslateCTM(const CGContextRef& c, CGFloat tx, CGFloat ty);
void CGContextScaleCTM(const CGContextRef& c, CGFloat sx, CGFloat sy);
void CGContextRotateCTM(const CGContextRef& c, CGFloat angle);
void CGContextConcatCTM(const CGContextRef& c, const CGAffineTransform& transform);
// User space to the device's pixels with y up, as the platform reports it (an image
// context at scale 2 starts at [2, 0, 0, -2, 0, pixelHeight]).
CGAffineTransform CGContextGetCTM(const CGContextRef& c);
void CGContextSetFillColorWithColor(const CGContextRef& c, const CGColor& color);
void CGContextSetStrokeColorWithColor(const CGContextRef& c, const CGColor& color);
void CGContextSetRGBFillColor(const CGContextRef& c, CGFloat r, CGFloat g, CGFloat b, CGFloat a);
void CGContextSetRGBStrokeColor(const CGContextRef& c, CGFloat r, CGFloat g, CGFloat b, CGFloat a);
void CGContextSetGrayFillColor(const CGContextRef& c, CGFloat gray, CGFloat alpha);
void CGContextSetLineWidth(const CGContextRef& c, CGFloat width);
void CGContextSetLineCap(const CGContextRef& c, CGLineCap cap);
void CGContextSetLineJoin(const CGContextRef& c, CGLineJoin join);
void CGContextSetTextDrawingMode(const CGContextRef& c, CGTextDrawingMode mode);
void CGContextSetMiterLimit(const CGContextRef& c, CGFloat limit);
// No lengths: solid lines again.
void CGContextSetLineDash(const CGContextRef& c, CGFloat phase, const CGFloat* lengths,
                          size_t count);
void CGContextSetAlpha(const CGContextRef& c, CGFloat alpha);
void CGContextSetBlendMode(const CGContextRef& c, CGBlendMode mode);
void CGContextSetShouldAntialias(const CGContextRef& c, bool shouldAntialias);
void CGContextSetInterpolationQuality(const CGContextRef& c, CGInterpolationQuality quality);
// Where pattern colours' tiles start, in base space (top left of an image context,
// bottom left of a bitmap context, at (0, 0) by default).
void CGContextSetPatternPhase(const CGContextRef& c, CGSize phase);
// A shadow under everything drawn while it is set: offset and blur in base space (in an
// image context a positive height moves it down, in a bitmap context up); the blur
// approximates a Gaussian of standard deviation blur / 2. A colour with alpha 0 turns it
// off. SetShadow uses black at a third of full alpha.
void CGContextSetShadowWithColor(const CGContextRef& c, CGSize offset, CGFloat blur,
                                 const CGColor& color);
void CGContextSetShadow(const CGContextRef& c, CGSize offset, CGFloat blur);

// The current path, in user space at the time each point is added.
void CGContextBeginPath(const CGContextRef& c);
void CGContextMoveToPoint(const CGContextRef& c, CGFloat x, CGFloat y);
void CGContextAddLineToPoint(const CGContextRef& c, CGFloat x, CGFloat y);
void CGContextAddCurveToPoint(const CGContextRef& c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x,
                              CGFloat cp2y, CGFloat x, CGFloat y);
void CGContextAddQuadCurveToPoint(const CGContextRef& c, CGFloat cpx, CGFloat cpy, CGFloat x,
                                  CGFloat y);
// As CGPathAddArc; clockwise is non-zero for clockwise.
void CGContextAddArc(const CGContextRef& c, CGFloat x, CGFloat y, CGFloat radius,
                     CGFloat startAngle, CGFloat endAngle, int clockwise);
void CGContextAddArcToPoint(const CGContextRef& c, CGFloat x1, CGFloat y1, CGFloat x2, CGFloat y2,
                            CGFloat radius);
void CGContextAddRect(const CGContextRef& c, CGRect rect);
void CGContextAddRects(const CGContextRef& c, const CGRect* rects, size_t count);
void CGContextAddEllipseInRect(const CGContextRef& c, CGRect rect);
void CGContextAddPath(const CGContextRef& c, const CGPathRef& path);
void CGContextClosePath(const CGContextRef& c);
bool CGContextIsPathEmpty(const CGContextRef& c);
// In user space, control points included; CGRectNull for an empty path.
CGRect CGContextGetPathBoundingBox(const CGContextRef& c);
// The current path in the current user space; null when it is empty.
CGPathRef CGContextCopyPath(const CGContextRef& c);

// Painting; each clears the current path.
void CGContextFillPath(const CGContextRef& c);
void CGContextEOFillPath(const CGContextRef& c);
void CGContextStrokePath(const CGContextRef& c);
void CGContextDrawPath(const CGContextRef& c, CGPathDrawingMode mode);
void CGContextFillRect(const CGContextRef& c, CGRect rect);
void CGContextStrokeRect(const CGContextRef& c, CGRect rect);
void CGContextStrokeRectWithWidth(const CGContextRef& c, CGRect rect, CGFloat width);
void CGContextFillEllipseInRect(const CGContextRef& c, CGRect rect);
void CGContextStrokeEllipseInRect(const CGContextRef& c, CGRect rect);
// Makes the pixels in the rectangle transparent (black without alpha), within the clip,
// whatever the alpha, blend mode and shadow.
void CGContextClearRect(const CGContextRef& c, CGRect rect);

// The image's top row lands at the rectangle's maxY in user space: upright in a y-up
// context, upside down in a flipped (UIKit) one. An image mask paints the fill colour
// where its samples are 0.
void CGContextDrawImage(const CGContextRef& c, CGRect rect, const CGImageRef& image);
// Fills the clip with copies of the image, each placed as DrawImage places it in `rect`,
// repeated from rect's origin.
void CGContextDrawTiledImage(const CGContextRef& c, CGRect rect, const CGImageRef& image);
// The gradient between start (location 0) and end (location 1); beyond them nothing is
// painted unless the options extend the end colours there.
void CGContextDrawLinearGradient(const CGContextRef& c, const CGGradientRef& gradient,
                                 CGPoint startPoint, CGPoint endPoint, uint32_t options);
// The gradient over the circles from (startCenter, startRadius) to (endCenter, endRadius).
void CGContextDrawRadialGradient(const CGContextRef& c, const CGGradientRef& gradient,
                                 CGPoint startCenter, CGFloat startRadius, CGPoint endCenter,
                                 CGFloat endRadius, uint32_t options);

// Clipping; Clip and EOClip clear the current path, the rectangle forms keep it.
void CGContextClip(const CGContextRef& c);
void CGContextEOClip(const CGContextRef& c);
void CGContextClipToRect(const CGContextRef& c, CGRect rect);
void CGContextClipToRects(const CGContextRef& c, const CGRect* rects, size_t count);
// Limits painting to `rect`, placed as DrawImage places an image, and within it by the
// mask: an image mask paints where its samples are 0, a grey image in proportion to its
// grey (white paints), an image with alpha by its alpha.
void CGContextClipToMask(const CGContextRef& c, CGRect rect, const CGImageRef& mask);
