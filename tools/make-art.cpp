// Draws the app's generated pictures into the bundle's resources folder: the progress
// overlay's success and error icons, the main menu's background and buttons, and the arrow
// of the picker's album title. Each picture is written at 1x and 2x.
//
//     build/<dir>/tools/make-art resources
#include "platform/foundation/NSData.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGradient.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>

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

void strokeWhite(const std::shared_ptr<UIBezierPath>& path, double width) {
    CGContextSetStrokeColorWithColor(UIGraphicsGetCurrentContext(), CGColorMake(1, 1, 1, 1));
    path->setLineWidth(width);
    path->setLineCapStyle(kCGLineCapRound);
    path->setLineJoinStyle(kCGLineJoinRound);
    path->stroke();
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
              writePicture(resources, "dropdownArrow", CGSizeMake(14, 8), false, dropdownArrow);
    return ok ? 0 : 1;
}
