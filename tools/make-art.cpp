// Draws the app's generated pictures into the bundle's resources folder: the progress
// overlay's success and error icons, the main menu's background and buttons, the arrow
// of the picker's album title, the ad bar button and the collage screens' buttons, each at
// 1x and 2x; and the collage backgrounds: the colour list, 45 tileable patterns and 16
// pictures with thumbnails, as JPEG files at 1x.
//
//     build/<dir>/tools/make-art resources
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGradient.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <numbers>
#include <string>
#include <vector>

namespace {
using Painter = std::function<void(const CGContextRef&, CGSize)>;
constexpr double kPi = std::numbers::pi;

// Writes name.png (1x) and name@2x.png.
bool writePicture(const std::string& folder, const std::string& name, CGSize size, bool opaque,
                  const Painter& paint) {
    for (double scale : {1.0, 2.0}) {
        UIGraphicsBeginImageContextWithOptions(size, opaque, scale);
        paint(UIGraphicsGetCurrentContext(), size);
        auto image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        auto png = UIImagePNGRepresentation(image);
        std::string path = folder + "/" + name + (scale == 2.0 ? "@2x" : "") + ".png";
        if (!png || !NSData::writeToFileAtomically(*png, path)) {
            std::fprintf(stderr, "make-art: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

CGColor rgb(int hex, double alpha = 1) {
    return CGColorMake(((hex >> 16) & 0xff) / 255.0, ((hex >> 8) & 0xff) / 255.0,
                       (hex & 0xff) / 255.0, alpha);
}

void strokeIn(const std::shared_ptr<UIBezierPath>& path, double width, const CGColor& color) {
    CGContextSetStrokeColorWithColor(UIGraphicsGetCurrentContext(), color);
    path->setLineWidth(width);
    path->setLineCapStyle(kCGLineCapRound);
    path->setLineJoinStyle(kCGLineJoinRound);
    path->stroke();
}

void strokeWhite(const std::shared_ptr<UIBezierPath>& path, double width) {
    strokeIn(path, width, CGColorMake(1, 1, 1, 1));
}

// --- The progress overlay's tips -------------------------------------------------------

void hudIcon(const CGContextRef&, CGSize size, bool success) {
    strokeWhite(
        UIBezierPath::bezierPathWithOvalInRect(CGRectMake(2, 2, size.width - 4, size.height - 4)),
        2.5);
    auto glyph = UIBezierPath::bezierPath();
    if (success) {
        glyph->moveToPoint(CGPointMake(10.5, 19));
        glyph->addLineToPoint(CGPointMake(16, 24.5));
        glyph->addLineToPoint(CGPointMake(26.5, 13));
    } else {
        glyph->moveToPoint(CGPointMake(12.5, 12.5));
        glyph->addLineToPoint(CGPointMake(24.5, 24.5));
        glyph->moveToPoint(CGPointMake(24.5, 12.5));
        glyph->addLineToPoint(CGPointMake(12.5, 24.5));
    }
    strokeWhite(glyph, 3);
}

// --- The main menu ---------------------------------------------------------------------

// A soft evening gradient with a few large translucent circles.
void menuBackground(const CGContextRef& c, CGSize size) {
    const double locations[] = {0, 0.55, 1};
    CGColor top = rgb(0x2b3a67), middle = rgb(0x7b4b94), bottom = rgb(0xe07a5f);
    const double components[] = {top.r,    top.g, top.b,    1,        middle.r, middle.g,
                                 middle.b, 1,     bottom.r, bottom.g, bottom.b, 1};
    CGContextDrawLinearGradient(c, CGGradientCreateWithColorComponents(components, locations, 3),
                                CGPointMake(0, 0), CGPointMake(size.width * 0.3, size.height),
                                kCGGradientDrawsBeforeStartLocation |
                                    kCGGradientDrawsAfterEndLocation);
    struct Bubble {
        double x, y, r, a;
    } bubbles[] = {{0.15, 0.12, 0.35, 0.07},
                   {0.9, 0.3, 0.45, 0.05},
                   {0.3, 0.78, 0.5, 0.06},
                   {0.85, 0.92, 0.3, 0.08}};
    for (const auto& b : bubbles) {
        CGContextSetFillColorWithColor(c, CGColorMake(1, 1, 1, b.a));
        double r = b.r * size.width;
        CGContextFillEllipseInRect(
            c, CGRectMake(b.x * size.width - r, b.y * size.height - r, 2 * r, 2 * r));
    }
}

// A rounded tile with a soft fill, the base of each menu button.
void tile(const CGContextRef& c, CGSize size, int hex) {
    auto shape = UIBezierPath::bezierPathWithRoundedRectCornerRadius(
        CGRectMake(4, 4, size.width - 8, size.height - 8), 22);
    CGContextSetFillColorWithColor(c, rgb(hex, 0.92));
    shape->fill();
    strokeWhite(shape, 2);
}

// A template collage: a frame split into three cells, one of them diagonal.
void boardMix(const CGContextRef& c, CGSize size) {
    tile(c, size, 0x3d5a80);
    CGContextSetFillColorWithColor(c, CGColorMake(1, 1, 1, 0.9));
    CGContextFillRect(c, CGRectMake(24, 24, 24, 52));
    auto upper = UIBezierPath::bezierPath();
    upper->moveToPoint(CGPointMake(52, 24));
    upper->addLineToPoint(CGPointMake(76, 24));
    upper->addLineToPoint(CGPointMake(76, 42));
    upper->addLineToPoint(CGPointMake(52, 56));
    upper->closePath();
    upper->fill();
    auto lower = UIBezierPath::bezierPath();
    lower->moveToPoint(CGPointMake(52, 61));
    lower->addLineToPoint(CGPointMake(76, 47));
    lower->addLineToPoint(CGPointMake(76, 76));
    lower->addLineToPoint(CGPointMake(52, 76));
    lower->closePath();
    lower->fill();
}

// A free collage: three photos lying at angles, one over the other.
void davuVov(const CGContextRef& c, CGSize size) {
    tile(c, size, 0xee6c4d);
    const double angles[] = {-0.35, 0.2, -0.05};
    const CGPoint centres[] = {{40, 44}, {60, 46}, {50, 60}};
    for (int i = 0; i < 3; ++i) {
        CGContextSaveGState(c);
        CGContextTranslateCTM(c, centres[i].x, centres[i].y);
        CGContextRotateCTM(c, angles[i]);
        CGContextSetFillColorWithColor(c, CGColorMake(1, 1, 1, 1));
        CGContextFillRect(c, CGRectMake(-16, -12, 32, 24));
        CGContextSetFillColorWithColor(c, rgb(i == 2 ? 0x98c1d9 : 0xf4d35e));
        CGContextFillRect(c, CGRectMake(-13, -9, 26, 18));
        CGContextRestoreGState(c);
    }
}

// Settings: a gear.
void setting(const CGContextRef& c, CGSize size) {
    tile(c, size, 0x5c677d);
    CGPoint centre = CGPointMake(size.width / 2, size.height / 2);
    auto gear = UIBezierPath::bezierPath();
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        double r = i % 2 == 0 ? 27 : 20;
        double a0 = kPi * i / teeth - kPi / (teeth * 2.5);
        double a1 = kPi * i / teeth + kPi / (teeth * 2.5);
        CGPoint p0 = CGPointMake(centre.x + r * std::cos(a0), centre.y + r * std::sin(a0));
        CGPoint p1 = CGPointMake(centre.x + r * std::cos(a1), centre.y + r * std::sin(a1));
        if (i == 0) {
            gear->moveToPoint(p0);
        } else {
            gear->addLineToPoint(p0);
        }
        gear->addLineToPoint(p1);
    }
    gear->closePath();
    gear->appendPath(
        UIBezierPath::bezierPathWithOvalInRect(CGRectMake(centre.x - 8, centre.y - 8, 16, 16)));
    gear->setUsesEvenOddFillRule(true);
    CGContextSetFillColorWithColor(c, CGColorMake(1, 1, 1, 0.95));
    gear->fill();
}
// --- The photo picker ------------------------------------------------------------------

// The navigation bar's back arrow: a white chevron.
void back(const CGContextRef&, CGSize size) {
    auto chevron = UIBezierPath::bezierPath();
    chevron->moveToPoint(CGPointMake(size.width * 0.62, size.height * 0.2));
    chevron->addLineToPoint(CGPointMake(size.width * 0.32, size.height * 0.5));
    chevron->addLineToPoint(CGPointMake(size.width * 0.62, size.height * 0.8));
    strokeWhite(chevron, 2.5);
}

// The "Make" button's background: a rounded pill in the bar's teal, lighter at the top.
void make(const CGContextRef& c, CGSize size) {
    auto pill = UIBezierPath::bezierPathWithRoundedRectCornerRadius(
        CGRectMake(1, 1, size.width - 2, size.height - 2), (size.height - 2) / 2);
    CGContextSaveGState(c);
    pill->addClip();
    CGColor top = rgb(0x4fd8e4), bottom = rgb(0x22a9b6);
    const double locations[] = {0, 1};
    const double components[] = {top.r, top.g, top.b, 1, bottom.r, bottom.g, bottom.b, 1};
    CGContextDrawLinearGradient(c, CGGradientCreateWithColorComponents(components, locations, 2),
                                CGPointMake(0, 0), CGPointMake(0, size.height), 0);
    CGContextRestoreGState(c);
}

// A round badge with a white glyph: the check of a chosen photo, the cross of a delete
// button.
void badge(const CGContextRef& c, CGSize size, int hex, bool check) {
    CGContextSetFillColorWithColor(c, rgb(hex));
    CGContextFillEllipseInRect(c, CGRectMake(1, 1, size.width - 2, size.height - 2));
    strokeWhite(
        UIBezierPath::bezierPathWithOvalInRect(CGRectMake(1, 1, size.width - 2, size.height - 2)),
        1.5);
    auto glyph = UIBezierPath::bezierPath();
    double w = size.width, h = size.height;
    if (check) {
        glyph->moveToPoint(CGPointMake(w * 0.28, h * 0.52));
        glyph->addLineToPoint(CGPointMake(w * 0.44, h * 0.68));
        glyph->addLineToPoint(CGPointMake(w * 0.73, h * 0.36));
    } else {
        glyph->moveToPoint(CGPointMake(w * 0.33, h * 0.33));
        glyph->addLineToPoint(CGPointMake(w * 0.67, h * 0.67));
        glyph->moveToPoint(CGPointMake(w * 0.67, h * 0.33));
        glyph->addLineToPoint(CGPointMake(w * 0.33, h * 0.67));
    }
    strokeWhite(glyph, 2);
}

// --- The album title ------------------------------------------------------------------

// A chevron pointing down, beside the album's name in the picker's bar.
void dropdownArrow(const CGContextRef&, CGSize size) {
    auto chevron = UIBezierPath::bezierPath();
    chevron->moveToPoint(CGPointMake(2, 1.5));
    chevron->addLineToPoint(CGPointMake(size.width / 2, size.height - 1.5));
    chevron->addLineToPoint(CGPointMake(size.width - 2, 1.5));
    strokeWhite(chevron, 2);
}

// --- The background chooser's bar ------------------------------------------------------

// The ad bar button: "AD" in white inside a rounded outline.
void adBadge(const CGContextRef&, CGSize size) {
    strokeWhite(UIBezierPath::bezierPathWithRoundedRectCornerRadius(
                    CGRectMake(1.5, 4.5, size.width - 3, size.height - 9), 4),
                1.5);
    double w = size.width, h = size.height;
    auto letters = UIBezierPath::bezierPath();
    // "A"
    letters->moveToPoint(CGPointMake(w * 0.14, h * 0.7));
    letters->addLineToPoint(CGPointMake(w * 0.29, h * 0.3));
    letters->addLineToPoint(CGPointMake(w * 0.44, h * 0.7));
    letters->moveToPoint(CGPointMake(w * 0.2, h * 0.56));
    letters->addLineToPoint(CGPointMake(w * 0.38, h * 0.56));
    // "D"
    letters->moveToPoint(CGPointMake(w * 0.56, h * 0.3));
    letters->addLineToPoint(CGPointMake(w * 0.56, h * 0.7));
    letters->addLineToPoint(CGPointMake(w * 0.68, h * 0.7));
    letters->addQuadCurveToPointControlPoint(CGPointMake(w * 0.68, h * 0.3),
                                             CGPointMake(w * 0.92, h * 0.5));
    letters->closePath();
    strokeWhite(letters, 1.6);
}

// --- The template editor's bar, mode buttons and sliders ------------------------------

constexpr int kTeal = 0x35c5d2;

// The share button: a tray with an arrow rising out of it.
void share(const CGContextRef&, CGSize size) {
    double w = size.width, h = size.height;
    auto tray = UIBezierPath::bezierPath();
    tray->moveToPoint(CGPointMake(w * 0.3, h * 0.42));
    tray->addLineToPoint(CGPointMake(w * 0.18, h * 0.42));
    tray->addLineToPoint(CGPointMake(w * 0.18, h * 0.9));
    tray->addLineToPoint(CGPointMake(w * 0.82, h * 0.9));
    tray->addLineToPoint(CGPointMake(w * 0.82, h * 0.42));
    tray->addLineToPoint(CGPointMake(w * 0.7, h * 0.42));
    tray->moveToPoint(CGPointMake(w * 0.5, h * 0.62));
    tray->addLineToPoint(CGPointMake(w * 0.5, h * 0.08));
    tray->moveToPoint(CGPointMake(w * 0.32, h * 0.24));
    tray->addLineToPoint(CGPointMake(w * 0.5, h * 0.08));
    tray->addLineToPoint(CGPointMake(w * 0.68, h * 0.24));
    strokeWhite(tray, 2);
}

// The style mode: a frame split into three cells.
void boardIcon(const CGContextRef&, CGSize size, const CGColor& color) {
    double w = size.width, h = size.height;
    auto frame = UIBezierPath::bezierPathWithRoundedRectCornerRadius(
        CGRectMake(w * 0.1, h * 0.1, w * 0.8, h * 0.8), 2);
    frame->moveToPoint(CGPointMake(w * 0.5, h * 0.1));
    frame->addLineToPoint(CGPointMake(w * 0.5, h * 0.9));
    frame->moveToPoint(CGPointMake(w * 0.5, h * 0.5));
    frame->addLineToPoint(CGPointMake(w * 0.9, h * 0.5));
    strokeIn(frame, 2, color);
}

// The slider mode: three tracks with their knobs at different places.
void effectIcon(const CGContextRef& c, CGSize size, const CGColor& color) {
    double w = size.width, h = size.height;
    auto tracks = UIBezierPath::bezierPath();
    const double knobs[] = {0.35, 0.7, 0.5};
    for (int i = 0; i < 3; ++i) {
        double y = h * (0.22 + 0.28 * i);
        tracks->moveToPoint(CGPointMake(w * 0.1, y));
        tracks->addLineToPoint(CGPointMake(w * 0.9, y));
    }
    strokeIn(tracks, 1.5, color);
    CGContextSetFillColorWithColor(c, color);
    for (int i = 0; i < 3; ++i) {
        double y = h * (0.22 + 0.28 * i);
        CGContextFillEllipseInRect(c, CGRectMake(w * knobs[i] - 3.5, y - 3.5, 7, 7));
    }
}

// The background mode: a picture with a hill and a sun.
void backgroundIcon(const CGContextRef& c, CGSize size, const CGColor& color) {
    double w = size.width, h = size.height;
    auto picture = UIBezierPath::bezierPathWithRoundedRectCornerRadius(
        CGRectMake(w * 0.1, h * 0.15, w * 0.8, h * 0.7), 2);
    picture->moveToPoint(CGPointMake(w * 0.1, h * 0.75));
    picture->addLineToPoint(CGPointMake(w * 0.4, h * 0.45));
    picture->addLineToPoint(CGPointMake(w * 0.6, h * 0.65));
    picture->addLineToPoint(CGPointMake(w * 0.72, h * 0.55));
    picture->addLineToPoint(CGPointMake(w * 0.9, h * 0.72));
    strokeIn(picture, 2, color);
    CGContextSetFillColorWithColor(c, color);
    CGContextFillEllipseInRect(c, CGRectMake(w * 0.64, h * 0.26, w * 0.14, w * 0.14));
}

// The free collage's edit button: a pencil drawn on a slant.
void editIcon(const CGContextRef&, CGSize size) {
    double w = size.width, h = size.height;
    auto pencil = UIBezierPath::bezierPath();
    pencil->moveToPoint(CGPointMake(w * 0.16, h * 0.84));
    pencil->addLineToPoint(CGPointMake(w * 0.22, h * 0.62));
    pencil->addLineToPoint(CGPointMake(w * 0.66, h * 0.18));
    pencil->addLineToPoint(CGPointMake(w * 0.82, h * 0.34));
    pencil->addLineToPoint(CGPointMake(w * 0.38, h * 0.78));
    pencil->closePath();
    pencil->moveToPoint(CGPointMake(w * 0.56, h * 0.28));
    pencil->addLineToPoint(CGPointMake(w * 0.72, h * 0.44));
    strokeWhite(pencil, 2);
}

// The free collage's button back to the photo choice: a photo with a plus and a minus.
void addOrDeleteIcon(const CGContextRef&, CGSize size) {
    double w = size.width, h = size.height;
    auto marks = UIBezierPath::bezierPathWithRoundedRectCornerRadius(
        CGRectMake(w * 0.1, h * 0.15, w * 0.8, h * 0.7), 2);
    marks->moveToPoint(CGPointMake(w * 0.22, h * 0.5));
    marks->addLineToPoint(CGPointMake(w * 0.44, h * 0.5));
    marks->moveToPoint(CGPointMake(w * 0.33, h * 0.39));
    marks->addLineToPoint(CGPointMake(w * 0.33, h * 0.61));
    marks->moveToPoint(CGPointMake(w * 0.56, h * 0.5));
    marks->addLineToPoint(CGPointMake(w * 0.78, h * 0.5));
    strokeWhite(marks, 2);
}

// The sliders' thumb: a white disc ringed in teal.
void roundThumb(const CGContextRef& c, CGSize size) {
    CGRect disc = CGRectMake(2, 2, size.width - 4, size.height - 4);
    CGContextSetFillColorWithColor(c, CGColorMake(1, 1, 1, 1));
    CGContextFillEllipseInRect(c, disc);
    strokeIn(UIBezierPath::bezierPathWithOvalInRect(disc), 2, rgb(kTeal));
}

// The slider rows' icons, drawn in dark grey on the white panel.
void radiusIcon(const CGContextRef&, CGSize size) {
    double w = size.width, h = size.height;
    auto corner = UIBezierPath::bezierPath();
    corner->moveToPoint(CGPointMake(w * 0.15, h * 0.9));
    corner->addLineToPoint(CGPointMake(w * 0.15, h * 0.5));
    corner->addQuadCurveToPointControlPoint(CGPointMake(w * 0.5, h * 0.15),
                                            CGPointMake(w * 0.15, h * 0.15));
    corner->addLineToPoint(CGPointMake(w * 0.9, h * 0.15));
    strokeIn(corner, 2, rgb(0x4b4a4a));
}

void separationIcon(const CGContextRef& c, CGSize size) {
    double w = size.width, h = size.height;
    CGContextSetFillColorWithColor(c, rgb(0x4b4a4a));
    CGContextFillRect(c, CGRectMake(w * 0.08, h * 0.2, w * 0.36, h * 0.6));
    CGContextFillRect(c, CGRectMake(w * 0.56, h * 0.2, w * 0.36, h * 0.6));
}

void borderIcon(const CGContextRef& c, CGSize size) {
    double w = size.width, h = size.height;
    strokeIn(UIBezierPath::bezierPathWithRect(CGRectMake(w * 0.1, h * 0.1, w * 0.8, h * 0.8)), 1.5,
             rgb(0x4b4a4a));
    CGContextSetFillColorWithColor(c, rgb(0x4b4a4a));
    CGContextFillRect(c, CGRectMake(w * 0.3, h * 0.3, w * 0.4, h * 0.4));
}

// Each mode button in white (off) and teal (on).
bool writeModeIcons(const std::string& folder) {
    using Icon = void (*)(const CGContextRef&, CGSize, const CGColor&);
    struct Mode {
        Icon icon;
        const char* off;
        const char* on;
    };
    const Mode modes[] = {{boardIcon, "board", "board_blue"},
                          {effectIcon, "effect_white", "effect"},
                          {backgroundIcon, "bg", "bg_blue"}};
    CGSize size = CGSizeMake(26, 26);
    for (const Mode& mode : modes) {
        for (bool on : {false, true}) {
            CGColor color = on ? rgb(kTeal) : CGColorMake(1, 1, 1, 1);
            if (!writePicture(folder, on ? mode.on : mode.off, size, false,
                              [&](const CGContextRef& c, CGSize s) { mode.icon(c, s, color); })) {
                return false;
            }
        }
    }
    return true;
}

// --- Collage backgrounds: the colour list, tiled patterns and pictures -----------------

// Writes a JPEG picture drawn at 1x.
bool writeJpeg(const std::string& folder, const std::string& file, CGSize size,
               const Painter& paint) {
    UIGraphicsBeginImageContextWithOptions(size, true, 1);
    paint(UIGraphicsGetCurrentContext(), size);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    auto jpeg = UIImageJPEGRepresentation(image, 0.82);
    std::string path = folder + "/" + file;
    if (!jpeg || !NSData::writeToFileAtomically(*jpeg, path)) {
        std::fprintf(stderr, "make-art: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// Colours of one soft palette for plain backgrounds, in two runs from light to dark: enough
// to fill a row of 30-point tiles across a turned phone. The second run comes after the
// first so that a tile remembered by its place keeps its colour.
bool writeColorList(const std::string& folder) {
    PlistValue::Array colors;
    for (const char* hex :
         {"ffffff", "f4f1ea", "f6d6ad", "f3a6a0", "e07a5f", "f2cc8f", "81b29a", "98c1d9",
          "3d5a80", "293241", "fbe6e3", "fdf0d5", "e4f2e9", "dcebf4", "e8e1ef", "d8e2dc",
          "c9ada7", "ef8c86", "e9c46a", "5f9e7f", "b5838d", "6d597a", "4a4e69", "22223b"}) {
        colors.emplace_back(hex);
    }
    auto data = NSPropertyListSerialization::dataWithPropertyList(
        PlistValue(colors), NSPropertyListFormat::XML, nullptr);
    std::string path = folder + "/color.plist";
    if (!data || !NSData::writeToFileAtomically(*data, path)) {
        std::fprintf(stderr, "make-art: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

void fillAll(const CGContextRef& c, CGSize size, const CGColor& color) {
    CGContextSetFillColorWithColor(c, color);
    CGContextFillRect(c, CGRectMake(0, 0, size.width, size.height));
}

void linearGradient(const CGContextRef& c, CGPoint from, CGPoint to,
                    std::initializer_list<int> hexes) {
    std::vector<CGColor> colors;
    std::vector<double> locations;
    for (int hex : hexes) {
        locations.push_back(colors.empty() ? 0 : 1);
        colors.push_back(rgb(hex));
    }
    for (size_t i = 0; i < locations.size(); ++i) {
        locations[i] = locations.size() > 1 ? double(i) / double(locations.size() - 1) : 0;
    }
    CGContextDrawLinearGradient(c, CGGradientCreateWithColors(colors, locations.data()), from, to,
                                kCGGradientDrawsBeforeStartLocation |
                                    kCGGradientDrawsAfterEndLocation);
}

// A motif drawn around a centre; the pattern repeats it so that the tile wraps.
using Motif = std::function<void(const CGContextRef&, double tile)>;

void wrapped(const CGContextRef& c, double tile, CGPoint centre, const Motif& motif) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            CGContextSaveGState(c);
            CGContextTranslateCTM(c, centre.x + dx * tile, centre.y + dy * tile);
            motif(c, tile);
            CGContextRestoreGState(c);
        }
    }
}

void heart(const CGContextRef& c, double tile) {
    double s = tile * 0.16;
    auto path = UIBezierPath::bezierPath();
    path->moveToPoint(CGPointMake(0, s * 0.9));
    path->addCurveToPointControlPoint1ControlPoint2(
        CGPointMake(0, -s * 0.4), CGPointMake(-s * 1.4, 0), CGPointMake(-s * 0.7, -s * 1.1));
    path->addCurveToPointControlPoint1ControlPoint2(
        CGPointMake(0, s * 0.9), CGPointMake(s * 0.7, -s * 1.1), CGPointMake(s * 1.4, 0));
    path->fill();
    (void)c;
}

void star(const CGContextRef& c, double tile) {
    double outer = tile * 0.15, inner = outer * 0.45;
    auto path = UIBezierPath::bezierPath();
    for (int i = 0; i < 10; ++i) {
        double r = i % 2 == 0 ? outer : inner;
        double a = -kPi / 2 + kPi * i / 5;
        CGPoint p = CGPointMake(r * std::cos(a), r * std::sin(a));
        if (i == 0) {
            path->moveToPoint(p);
        } else {
            path->addLineToPoint(p);
        }
    }
    path->closePath();
    path->fill();
    (void)c;
}

// Nine motifs that tile without a seam; `kind` picks one, drawn in `ink` over `paper`.
// Each repeats with a period that divides the tile, and every line runs on past the
// tile's edges, so that no line end (whose cap is cut square to the line, not to the
// edge) and no break in a curve falls on an edge where the next tile takes over.
void pattern(const CGContextRef& c, double t, int kind, int paper, int ink) {
    fillAll(c, CGSizeMake(t, t), rgb(paper));
    CGContextSetFillColorWithColor(c, rgb(ink));
    CGContextSetStrokeColorWithColor(c, rgb(ink));
    CGContextClipToRect(c, CGRectMake(0, 0, t, t));
    switch (kind) {
    case 0: // stripes
        for (int i = 0; i < 4; ++i) {
            CGContextFillRect(c, CGRectMake(t * i / 4, 0, t / 10, t));
        }
        break;
    case 1: // diagonal stripes, four to the tile, each from a tile above to a tile below
        CGContextSetLineWidth(c, t / 14);
        for (int i = -6; i <= 6; ++i) {
            CGContextMoveToPoint(c, t * i / 4 - t, -t);
            CGContextAddLineToPoint(c, t * i / 4 + 2 * t, 2 * t);
        }
        CGContextStrokePath(c);
        break;
    case 2: // polka dots
        for (CGPoint p : {CGPointMake(t / 4, t / 4), CGPointMake(t * 3 / 4, t * 3 / 4)}) {
            CGContextFillEllipseInRect(c, CGRectMake(p.x - t / 10, p.y - t / 10, t / 5, t / 5));
        }
        break;
    case 3: // gingham: translucent bands crossing
        CGContextSetFillColorWithColor(c, rgb(ink, 0.45));
        CGContextFillRect(c, CGRectMake(0, 0, t / 2, t));
        CGContextFillRect(c, CGRectMake(0, 0, t, t / 2));
        break;
    case 4: // waves, one to the tile, from the tile on the left to the one on the right
        CGContextSetLineWidth(c, t / 16);
        for (double base : {t / 4, t * 3 / 4}) {
            for (int x = -10; x <= 50; ++x) {
                double px = t * x / 40;
                CGPoint p = CGPointMake(px, base + t / 12 * std::sin(2 * kPi * px / t));
                if (x == -10) {
                    CGContextMoveToPoint(c, p.x, p.y);
                } else {
                    CGContextAddLineToPoint(c, p.x, p.y);
                }
            }
        }
        CGContextStrokePath(c);
        break;
    case 5: // hearts, offset rows
        wrapped(c, t, CGPointMake(t / 4, t / 4), heart);
        wrapped(c, t, CGPointMake(t * 3 / 4, t * 3 / 4), heart);
        break;
    case 6: // stars, offset rows
        wrapped(c, t, CGPointMake(t / 4, t / 4), star);
        wrapped(c, t, CGPointMake(t * 3 / 4, t * 3 / 4), star);
        break;
    case 7: // plaid: a broad and a fine line each way
        CGContextSetFillColorWithColor(c, rgb(ink, 0.35));
        CGContextFillRect(c, CGRectMake(t * 0.3, 0, t * 0.2, t));
        CGContextFillRect(c, CGRectMake(0, t * 0.3, t, t * 0.2));
        CGContextSetFillColorWithColor(c, rgb(ink, 0.8));
        CGContextFillRect(c, CGRectMake(t * 0.8, 0, t * 0.03, t));
        CGContextFillRect(c, CGRectMake(0, t * 0.8, t, t * 0.03));
        break;
    default: // zigzag
        CGContextSetLineWidth(c, t / 14);
        CGContextSetLineJoin(c, kCGLineJoinMiter);
        for (double base : {t / 4, t * 3 / 4}) {
            CGContextMoveToPoint(c, -t / 4, base + t / 10);
            for (int i = 0; i <= 5; ++i) {
                CGContextAddLineToPoint(c, t * i / 4, base + (i % 2 == 0 ? -t / 10 : t / 10));
            }
        }
        CGContextStrokePath(c);
        break;
    }
}

bool writePatterns(const std::string& folder) {
    // Paper and ink of five colourways; the n-th pattern is motif (n-1) % 9 in colourway
    // (n-1) / 9, so that neighbours in the strip differ.
    const int ways[][2] = {{0xf4f1ea, 0xe07a5f},
                           {0xdcebf4, 0x3d5a80},
                           {0xfbe6e3, 0xef8c86},
                           {0xe4f2e9, 0x5f9e7f},
                           {0xefe9f6, 0x7a5ea8}};
    const double tile = 80;
    for (int n = 1; n <= 45; ++n) {
        int kind = (n - 1) % 9;
        const int* way = ways[(n - 1) / 9];
        Painter full = [&](const CGContextRef& c, CGSize) {
            pattern(c, tile, kind, way[0], way[1]);
        };
        // The thumbnail shows the tile smaller, repeated, as the background would.
        Painter thumb = [&](const CGContextRef& c, CGSize size) {
            double small = size.width / 1.5;
            for (double y = 0; y < size.height; y += small) {
                for (double x = 0; x < size.width; x += small) {
                    CGContextSaveGState(c);
                    CGContextTranslateCTM(c, x, y);
                    CGContextScaleCTM(c, small / tile, small / tile);
                    pattern(c, tile, kind, way[0], way[1]);
                    CGContextRestoreGState(c);
                }
            }
        };
        if (!writeJpeg(folder, "pt_" + std::to_string(n) + ".jpg", CGSizeMake(tile, tile), full) ||
            !writeJpeg(folder, "pt_" + std::to_string(n) + "_thumb.jpg", CGSizeMake(60, 80),
                       thumb)) {
            return false;
        }
    }
    return true;
}

// A filled band whose top edge is a gentle wave: hills, dunes, the sea.
void hill(const CGContextRef& c, CGSize size, double top, double height, double waves, double phase,
          const CGColor& color) {
    CGContextSetFillColorWithColor(c, color);
    CGContextMoveToPoint(c, 0, size.height);
    for (int i = 0; i <= 60; ++i) {
        double x = size.width * i / 60;
        CGContextAddLineToPoint(c, x,
                                top + height * std::sin(phase + 2 * kPi * waves * x / size.width));
    }
    CGContextAddLineToPoint(c, size.width, size.height);
    CGContextClosePath(c);
    CGContextFillPath(c);
}

// Soft circles scattered by a fixed seed, so that every run draws the same picture.
void scatter(const CGContextRef& c, CGSize size, int count, double minR, double maxR,
             const CGColor& color, uint32_t seed, double maxY = 1) {
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1 << 24);
    };
    CGContextSetFillColorWithColor(c, color);
    for (int i = 0; i < count; ++i) {
        double x = next() * size.width, y = next() * size.height * maxY;
        double r = minR + next() * (maxR - minR);
        CGContextFillEllipseInRect(c, CGRectMake(x - r, y - r, 2 * r, 2 * r));
    }
}

void cloud(const CGContextRef& c, double x, double y, double s) {
    CGContextSetFillColorWithColor(c, CGColorMake(1, 1, 1, 0.85));
    CGContextFillEllipseInRect(c, CGRectMake(x, y, s * 2.2, s * 0.8));
    CGContextFillEllipseInRect(c, CGRectMake(x + s * 0.4, y - s * 0.45, s, s));
    CGContextFillEllipseInRect(c, CGRectMake(x + s * 1.0, y - s * 0.3, s * 0.9, s * 0.9));
}

// The sixteen collage backgrounds: soft gradients and simple scenes.
void backgroundPicture(const CGContextRef& c, CGSize s, int n) {
    double w = s.width, h = s.height;
    CGPoint top = CGPointMake(0, 0), bottom = CGPointMake(0, h), corner = CGPointMake(w, h);
    switch (n) {
    case 1:
        linearGradient(c, top, bottom, {0xfde2cf, 0xf7b7b2});
        break;
    case 2:
        linearGradient(c, top, corner, {0xcfe8f7, 0xd8f3e4});
        break;
    case 3:
        linearGradient(c, top, bottom, {0xe4dcf5, 0xb9cdf0});
        break;
    case 4: {
        fillAll(c, s, rgb(0xf6e3c8));
        std::vector<CGColor> glow = {rgb(0xfff6e6), rgb(0xf6e3c8)};
        const double at[] = {0, 1};
        CGContextDrawRadialGradient(c, CGGradientCreateWithColors(glow, at),
                                    CGPointMake(w / 2, h * 0.4), 0, CGPointMake(w / 2, h * 0.4),
                                    h * 0.6, kCGGradientDrawsAfterEndLocation);
        break;
    }
    case 5: // sunset over hills
        linearGradient(c, top, CGPointMake(0, h * 0.7), {0x6d597a, 0xe56b6f, 0xf9c784});
        CGContextSetFillColorWithColor(c, rgb(0xfff1c9, 0.9));
        CGContextFillEllipseInRect(c, CGRectMake(w * 0.35, h * 0.48, w * 0.3, w * 0.3));
        hill(c, s, h * 0.66, h * 0.03, 1, 0.5, rgb(0x915f78));
        hill(c, s, h * 0.76, h * 0.04, 0.8, 2.0, rgb(0x4a3b5c));
        break;
    case 6: // the sea
        linearGradient(c, top, CGPointMake(0, h * 0.55), {0x9fd3f0, 0xe6f4fb});
        CGContextSetFillColorWithColor(c, rgb(0xffffff, 0.9));
        CGContextFillEllipseInRect(c, CGRectMake(w * 0.62, h * 0.14, w * 0.16, w * 0.16));
        hill(c, s, h * 0.56, h * 0.005, 3, 0, rgb(0x5aa9d6));
        hill(c, s, h * 0.68, h * 0.01, 2.5, 1, rgb(0x3f8dc2));
        hill(c, s, h * 0.82, h * 0.012, 2, 2, rgb(0x2f75a8));
        hill(c, s, h * 0.92, h * 0.02, 1, 0, rgb(0xf1dfb8));
        break;
    case 7: // night sky with a crescent moon
        linearGradient(c, top, bottom, {0x1b2541, 0x3d5a80});
        scatter(c, s, 90, 0.8, 2.2, CGColorMake(1, 1, 1, 0.8), 7, 0.8);
        CGContextSetFillColorWithColor(c, rgb(0xfdf3d0));
        CGContextFillEllipseInRect(c, CGRectMake(w * 0.6, h * 0.1, w * 0.2, w * 0.2));
        CGContextSetFillColorWithColor(c, rgb(0x1e2946));
        CGContextFillEllipseInRect(c, CGRectMake(w * 0.65, h * 0.085, w * 0.2, w * 0.2));
        hill(c, s, h * 0.85, h * 0.02, 1, 1, rgb(0x151d33));
        break;
    case 8: // bokeh
        linearGradient(c, top, corner, {0x234e52, 0x3c7a6f});
        scatter(c, s, 30, w * 0.04, w * 0.13, rgb(0xfff4d6, 0.12), 8);
        scatter(c, s, 20, w * 0.02, w * 0.06, rgb(0xfff4d6, 0.2), 88);
        break;
    case 9: // clouds
        linearGradient(c, top, bottom, {0x7fb8e6, 0xd4ecfb});
        cloud(c, w * 0.1, h * 0.15, w * 0.2);
        cloud(c, w * 0.55, h * 0.3, w * 0.16);
        cloud(c, w * 0.2, h * 0.55, w * 0.24);
        cloud(c, w * 0.65, h * 0.75, w * 0.14);
        break;
    case 10: { // mountains
        linearGradient(c, top, bottom, {0xdbe9f4, 0xf5f8fb});
        const int shades[] = {0xa9c1d9, 0x7d9cbc, 0x52708f};
        for (int i = 0; i < 3; ++i) {
            CGContextSetFillColorWithColor(c, rgb(shades[i]));
            double base = h * (0.62 + 0.12 * i);
            CGContextMoveToPoint(c, 0, h);
            CGContextAddLineToPoint(c, 0, base);
            for (int k = 0; k < 4; ++k) {
                double x0 = w * (k + 0.5 * (i % 2)) / 3;
                CGContextAddLineToPoint(c, x0 + w / 6, base - h * (0.12 + 0.04 * ((k + i) % 2)));
                CGContextAddLineToPoint(c, x0 + w / 3, base);
            }
            CGContextAddLineToPoint(c, w, h);
            CGContextClosePath(c);
            CGContextFillPath(c);
        }
        break;
    }
    case 11: // a meadow
        linearGradient(c, top, CGPointMake(0, h * 0.6), {0xbfe3f5, 0xf4fafc});
        hill(c, s, h * 0.6, h * 0.03, 0.7, 0.3, rgb(0xa7d08c));
        hill(c, s, h * 0.72, h * 0.03, 0.6, 2.5, rgb(0x7fb069));
        scatter(c, CGSizeMake(w, h), 40, 3, 6, rgb(0xfdf0f5), 11, 1);
        break;
    case 12:
        linearGradient(c, CGPointMake(w, 0), CGPointMake(0, h), {0xd6f5e3, 0xfdf6c7});
        break;
    case 13: // dunes
        linearGradient(c, top, CGPointMake(0, h * 0.5), {0xf8d9b0, 0xfdf1de});
        hill(c, s, h * 0.55, h * 0.04, 0.6, 0, rgb(0xeab676));
        hill(c, s, h * 0.7, h * 0.05, 0.5, 2, rgb(0xd99a5b));
        hill(c, s, h * 0.85, h * 0.04, 0.7, 4, rgb(0xc7844a));
        break;
    case 14: // snow
        linearGradient(c, top, bottom, {0xcfe0ee, 0xeef4f9});
        hill(c, s, h * 0.72, h * 0.03, 0.8, 1, rgb(0xffffff));
        scatter(c, s, 120, 1.5, 4, CGColorMake(1, 1, 1, 0.9), 14, 0.8);
        break;
    case 15:
        linearGradient(c, top, corner, {0xf6c9d0, 0xf7e1b5});
        break;
    default: // pastel bubbles
        linearGradient(c, top, bottom, {0xfdeff4, 0xe7f0fd});
        scatter(c, s, 18, w * 0.05, w * 0.14, rgb(0xf3a6a0, 0.18), 16);
        scatter(c, s, 18, w * 0.05, w * 0.14, rgb(0x98c1d9, 0.2), 160);
        break;
    }
}

bool writeBackgrounds(const std::string& folder) {
    const CGSize full = CGSizeMake(600, 900);
    const double thumb = 180;
    for (int n = 1; n <= 16; ++n) {
        Painter picture = [n](const CGContextRef& c, CGSize s) { backgroundPicture(c, s, n); };
        // The thumbnail is the picture's middle square, as the grid's square cells show it.
        Painter square = [&](const CGContextRef& c, CGSize) {
            CGContextScaleCTM(c, thumb / full.width, thumb / full.width);
            CGContextTranslateCTM(c, 0, -(full.height - full.width) / 2);
            backgroundPicture(c, full, n);
        };
        std::string number = std::to_string(n);
        if (!writeJpeg(folder, "FreeImageBackground" + number + ".jpg", full, picture) ||
            !writeJpeg(folder, "PzlImageBackground" + number + ".jpg", CGSizeMake(thumb, thumb),
                       square)) {
            return false;
        }
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-art RESOURCES-FOLDER\n");
        return 2;
    }
    std::string resources = argv[1];
    std::string hud = resources + "/OVProgressHUD.bundle";
    std::error_code ec;
    std::filesystem::create_directories(hud, ec);
    CGSize icon = CGSizeMake(37, 37), button = CGSizeMake(100, 100);
    bool ok = writePicture(hud, "success", icon, false,
                           [](const CGContextRef& c, CGSize s) { hudIcon(c, s, true); }) &&
              writePicture(hud, "error", icon, false,
                           [](const CGContextRef& c, CGSize s) { hudIcon(c, s, false); }) &&
              writePicture(resources, "mainBG", CGSizeMake(375, 667), true, menuBackground) &&
              writePicture(resources, "boardMix", button, false, boardMix) &&
              writePicture(resources, "davuVov", button, false, davuVov) &&
              writePicture(resources, "setting", button, false, setting) &&
              writePicture(resources, "back", CGSizeMake(22, 22), false, back) &&
              writePicture(resources, "make", CGSizeMake(90, 38), false, make) &&
              writePicture(resources, "selected", CGSizeMake(20, 20), false,
                           [](const CGContextRef& c, CGSize s) { badge(c, s, 0x35c5d2, true); }) &&
              writePicture(resources, "delete", CGSizeMake(20, 20), false,
                           [](const CGContextRef& c, CGSize s) { badge(c, s, 0xe5484d, false); }) &&
              writePicture(resources, "dropdownArrow", CGSizeMake(14, 8), false, dropdownArrow) &&
              writePicture(resources, "AD", CGSizeMake(30, 22), false, adBadge) &&
              writePicture(resources, "share", CGSizeMake(22, 22), false, share) &&
              writeModeIcons(resources) &&
              writePicture(resources, "edit", CGSizeMake(26, 26), false, editIcon) &&
              writePicture(resources, "addOrDelete", CGSizeMake(26, 26), false, addOrDeleteIcon) &&
              writePicture(resources, "round", CGSizeMake(22, 22), false, roundThumb) &&
              writePicture(resources, "radius", CGSizeMake(20, 20), false, radiusIcon) &&
              writePicture(resources, "separation", CGSizeMake(20, 20), false, separationIcon) &&
              writePicture(resources, "border", CGSizeMake(20, 20), false, borderIcon) &&
              writeColorList(resources) && writePatterns(resources) && writeBackgrounds(resources);
    return ok ? 0 : 1;
}
