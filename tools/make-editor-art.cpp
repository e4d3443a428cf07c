// Draws the image editor's tool icons into its bundle: for each tool class and icon colour
// (black, white), "<bundle>/<class>/<colour>/icon.png", a 50-point line glyph drawn at 3
// pixels a point, so that it stays sharp shrunk to a 2x screen and exact on a 3x one.
// Beside them, in the same folders, the pictures tools use of their own: the blur tool's
// mode icons and its masks (black where the picture stays sharp, fading to transparent),
// and the adjustment tool's slider thumbs.
//
//     build/<dir>/tools/make-editor-art resources
#include "platform/foundation/NSData.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGradient.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kIconPoints = 50;
constexpr double kIconScale = 3;
constexpr double kLine = 2.5;

using Glyph = std::function<void(const CGColor&)>;

void stroke(const std::shared_ptr<UIBezierPath>& path, const CGColor& color, double width = kLine) {
    CGContextSetStrokeColorWithColor(UIGraphicsGetCurrentContext(), color);
    path->setLineWidth(width);
    path->setLineCapStyle(kCGLineCapRound);
    path->setLineJoinStyle(kCGLineJoinRound);
    path->stroke();
}

void fill(const std::shared_ptr<UIBezierPath>& path, const CGColor& color) {
    CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(), color);
    path->fill();
}

std::shared_ptr<UIBezierPath> circle(double x, double y, double r) {
    return UIBezierPath::bezierPathWithOvalInRect(CGRectMake(x - r, y - r, 2 * r, 2 * r));
}

std::shared_ptr<UIBezierPath> polyline(std::initializer_list<CGPoint> points) {
    auto path = UIBezierPath::bezierPath();
    bool first = true;
    for (CGPoint p : points) {
        first ? path->moveToPoint(p) : path->addLineToPoint(p);
        first = false;
    }
    return path;
}

// Three overlapping lenses.
void filter(const CGColor& c) {
    stroke(circle(19, 20, 10), c);
    stroke(circle(31, 20, 10), c);
    stroke(circle(25, 31, 10), c);
}

// Three sliders at different settings.
void adjustment(const CGColor& c) {
    const double knobs[] = {18, 32, 24};
    for (int i = 0; i < 3; ++i) {
        double y = 14 + i * 11;
        stroke(polyline({CGPointMake(9, y), CGPointMake(41, y)}), c);
        fill(circle(knobs[i], y, 4), c);
    }
}

// A four-pointed sparkle and a small one.
std::shared_ptr<UIBezierPath> sparkle(double x, double y, double r) {
    auto path = UIBezierPath::bezierPath();
    path->moveToPoint(CGPointMake(x, y - r));
    path->addQuadCurveToPointControlPoint(CGPointMake(x + r, y), CGPointMake(x, y));
    path->addQuadCurveToPointControlPoint(CGPointMake(x, y + r), CGPointMake(x, y));
    path->addQuadCurveToPointControlPoint(CGPointMake(x - r, y), CGPointMake(x, y));
    path->addQuadCurveToPointControlPoint(CGPointMake(x, y - r), CGPointMake(x, y));
    path->closePath();
    return path;
}

void effect(const CGColor& c) {
    stroke(sparkle(21, 27, 14), c);
    fill(sparkle(36, 13, 6), c);
}

// A drop with soft rings beside it.
void blur(const CGColor& c) {
    auto drop = UIBezierPath::bezierPath();
    drop->moveToPoint(CGPointMake(22, 8));
    drop->addCurveToPointControlPoint1ControlPoint2(CGPointMake(22, 42), CGPointMake(8, 24),
                                                    CGPointMake(8, 42));
    drop->addCurveToPointControlPoint1ControlPoint2(CGPointMake(22, 8), CGPointMake(36, 42),
                                                    CGPointMake(36, 24));
    stroke(drop, c);
    for (double r : {4.0, 8.0}) {
        auto arc = UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
            CGPointMake(33, 25), r, -kPi / 3, kPi / 3, true);
        CGColor faded = c;
        faded.a = 0.5;
        stroke(arc, faded, 2);
    }
}

// Three quarters of a circle ending in an arrow head.
void rotate(const CGColor& c) {
    stroke(UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
               CGPointMake(25, 26), 14, -kPi / 2, kPi, true),
           c);
    stroke(polyline({CGPointMake(19, 7), CGPointMake(26, 12), CGPointMake(20, 18)}), c);
}

// A pencil at a slant.
void draw(const CGColor& c) {
    auto body = polyline({CGPointMake(12, 38), CGPointMake(14, 30), CGPointMake(34, 10),
                          CGPointMake(40, 16), CGPointMake(20, 36), CGPointMake(12, 38)});
    stroke(body, c);
    stroke(polyline({CGPointMake(14, 30), CGPointMake(20, 36)}), c);
    stroke(polyline({CGPointMake(30, 14), CGPointMake(36, 20)}), c);
}

// A blot with drops flying off it.
void splash(const CGColor& c) {
    fill(circle(25, 25, 8), c);
    for (int i = 0; i < 7; ++i) {
        double angle = i * 2 * kPi / 7 + 0.3;
        double distance = 13 + (i % 3) * 2.5;
        fill(
            circle(25 + distance * std::cos(angle), 25 + distance * std::sin(angle), 1.6 + (i % 2)),
            c);
    }
}

// Two crop corners.
void clipping(const CGColor& c) {
    stroke(polyline({CGPointMake(15, 7), CGPointMake(15, 35), CGPointMake(43, 35)}), c);
    stroke(polyline({CGPointMake(7, 15), CGPointMake(35, 15), CGPointMake(35, 43)}), c);
}

// A frame with a diagonal double arrow.
void resize(const CGColor& c) {
    stroke(UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(9, 9, 32, 32), 3), c);
    stroke(polyline({CGPointMake(17, 33), CGPointMake(33, 17)}), c);
    stroke(polyline({CGPointMake(17, 26), CGPointMake(17, 33), CGPointMake(24, 33)}), c);
    stroke(polyline({CGPointMake(26, 17), CGPointMake(33, 17), CGPointMake(33, 24)}), c);
}

// Axes and an S-shaped curve.
void toneCurve(const CGColor& c) {
    stroke(polyline({CGPointMake(9, 8), CGPointMake(9, 41), CGPointMake(42, 41)}), c);
    auto curve = UIBezierPath::bezierPath();
    curve->moveToPoint(CGPointMake(12, 38));
    curve->addCurveToPointControlPoint1ControlPoint2(CGPointMake(40, 10), CGPointMake(30, 40),
                                                     CGPointMake(22, 10));
    stroke(curve, c);
}

// A smiling face.
void emoticon(const CGColor& c) {
    stroke(circle(25, 25, 16), c);
    fill(circle(19, 21, 2.2), c);
    fill(circle(31, 21, 2.2), c);
    stroke(UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
               CGPointMake(25, 26), 9, kPi * 0.2, kPi * 0.8, true),
           c);
}

// A square sheet with its corner peeling.
void sticker(const CGColor& c) {
    stroke(polyline({CGPointMake(30, 41), CGPointMake(9, 41), CGPointMake(9, 9), CGPointMake(41, 9),
                     CGPointMake(41, 30), CGPointMake(30, 41)}),
           c);
    stroke(polyline({CGPointMake(41, 30), CGPointMake(32, 30), CGPointMake(30, 32),
                     CGPointMake(30, 41)}),
           c);
}

// A capital T with a text cursor.
void text(const CGColor& c) {
    stroke(polyline({CGPointMake(11, 12), CGPointMake(33, 12)}), c, 3.5);
    stroke(polyline({CGPointMake(22, 12), CGPointMake(22, 39)}), c, 3.5);
    stroke(polyline({CGPointMake(39, 22), CGPointMake(39, 42)}), c, 2);
}

// A square picture of the icon's size, drawn in points by `draw`.
std::shared_ptr<UIImage> iconImage(const std::function<void()>& draw) {
    UIGraphicsBeginImageContextWithOptions(
        CGSizeMake(kIconPoints * kIconScale, kIconPoints * kIconScale), false, 1);
    CGContextScaleCTM(UIGraphicsGetCurrentContext(), kIconScale, kIconScale);
    draw();
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

bool writePNG(const std::string& path, const std::shared_ptr<UIImage>& image) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    auto png = image ? UIImagePNGRepresentation(image) : std::nullopt;
    if (!png || !NSData::writeToFileAtomically(*png, path)) {
        std::fprintf(stderr, "make-editor-art: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool writeIcon(const std::string& path, const Glyph& glyph, const CGColor& color) {
    return writePNG(path, iconImage([&] { glyph(color); }));
}

// A picture of `width` x `height` pixels at scale 1, drawn by `draw`.
std::shared_ptr<UIImage> pixelImage(double width, double height, const std::function<void()>& draw) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(width, height), false, 1);
    draw();
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

CGColor withAlpha(CGColor color, double alpha) {
    color.a = alpha;
    return color;
}

// The blur tool's modes: the whole picture soft, a sharp spot, a sharp band.
void blurNormal(const CGColor& c) {
    for (int i = 0; i < 4; ++i) {
        fill(circle(25, 25, 18 - 4 * i), withAlpha(c, 0.25));
    }
}

void blurCircle(const CGColor& c) {
    stroke(UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(7, 9, 36, 32), 3),
           withAlpha(c, 0.5));
    stroke(circle(25, 25, 9), c);
}

void blurBand(const CGColor& c) {
    stroke(UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(7, 9, 36, 32), 3),
           withAlpha(c, 0.5));
    stroke(polyline({CGPointMake(7, 19), CGPointMake(43, 19)}), c);
    stroke(polyline({CGPointMake(7, 31), CGPointMake(43, 31)}), c);
}

// The circle mask: stretched over the circle outline's square, whose ring is the middle
// 0.3 of its side. Black (sharp) inside the ring, fading to transparent (blurred) by 0.25
// of the side from the centre.
std::shared_ptr<UIImage> circleMask() {
    constexpr double side = 256;
    return pixelImage(side, side, [] {
        const std::vector<CGFloat> locations{0, 1};
        CGContextDrawRadialGradient(
            UIGraphicsGetCurrentContext(),
            CGGradientCreateWithColors({CGColorMake(0, 0, 0, 1), CGColorMake(0, 0, 0, 0)},
                                       locations.data()),
            CGPointMake(side / 2, side / 2), 0.15 * side, CGPointMake(side / 2, side / 2),
            0.25 * side, kCGGradientDrawsBeforeStartLocation);
    });
}

// The band mask: stretched over the band outline's whole view, whose band is the middle
// 40 % of the height. Black across the band, fading to transparent a tenth of the height
// beyond each edge; the same all along.
std::shared_ptr<UIImage> bandMask() {
    constexpr double width = 16, height = 256;
    return pixelImage(width, height, [] {
        const std::vector<CGFloat> locations{0, 0.1, 0.5, 0.9, 1};
        const CGColor clear = CGColorMake(0, 0, 0, 0), black = CGColorMake(0, 0, 0, 1);
        CGContextDrawLinearGradient(
            UIGraphicsGetCurrentContext(),
            CGGradientCreateWithColors({clear, black, black, black, clear}, locations.data()),
            CGPointMake(0, 0.2 * height), CGPointMake(0, 0.8 * height), 0);
    });
}

// The adjustment sliders' thumbs: a round knob 28 points across with the setting's sign.
constexpr double kThumbSide = 28;

std::shared_ptr<UIImage> thumb(const std::function<void(const CGColor&)>& sign) {
    return pixelImage(kThumbSide, kThumbSide, [&] {
        fill(circle(14, 14, 13), CGColorMake(1, 1, 1, 1));
        stroke(circle(14, 14, 13), CGColorMake(0, 0, 0, 0.25), 1);
        sign(CGColorMake(0.1, 0.1, 0.12, 1));
    });
}

void saturationSign(const CGColor& c) {
    fill(circle(11, 14, 5), CGColorMake(0.9, 0.2, 0.2, 0.8));
    fill(circle(17, 11, 5), CGColorMake(0.2, 0.7, 0.2, 0.8));
    fill(circle(17, 17, 5), CGColorMake(0.2, 0.3, 0.9, 0.8));
}

void brightnessSign(const CGColor& c) {
    fill(circle(14, 14, 4), c);
    for (int i = 0; i < 8; ++i) {
        const double angle = i * kPi / 4;
        stroke(polyline({CGPointMake(14 + 6.5 * std::cos(angle), 14 + 6.5 * std::sin(angle)),
                         CGPointMake(14 + 9 * std::cos(angle), 14 + 9 * std::sin(angle))}),
               c, 1.5);
    }
}

void contrastSign(const CGColor& c) {
    stroke(circle(14, 14, 8), c, 1.5);
    auto half = UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
        CGPointMake(14, 14), 8, -kPi / 2, kPi / 2, true);
    half->closePath();
    fill(half, c);
}

// The tools' own pictures, the same in every icon colour's folder.
bool writeToolPictures(const std::string& bundle, const char* const (&colours)[2]) {
    const struct {
        const char* tool;
        const char* file;
        std::shared_ptr<UIImage> image;
    } pictures[] = {
        {"PEBlurTool", "circle.png", circleMask()},
        {"PEBlurTool", "band.png", bandMask()},
        {"PEAdjustmentTool", "saturation.png", thumb(saturationSign)},
        {"PEAdjustmentTool", "brightness.png", thumb(brightnessSign)},
        {"PEAdjustmentTool", "contrast.png", thumb(contrastSign)},
    };
    bool ok = true;
    for (const auto& picture : pictures) {
        for (const char* colour : colours) {
            ok = writePNG(bundle + "/" + picture.tool + "/" + colour + "/" + picture.file,
                          picture.image) &&
                 ok;
        }
    }
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-editor-art RESOURCES-FOLDER\n");
        return 2;
    }
    const std::string bundle = std::string(argv[1]) + "/PEImageEditor.bundle";
    const struct {
        const char* tool;
        Glyph glyph;
    } tools[] = {
        {"PEFilterTool", filter},     {"PEAdjustmentTool", adjustment},
        {"PEEffectTool", effect},     {"PEBlurTool", blur},
        {"PERotateTool", rotate},     {"PEDrawTool", draw},
        {"PESplashTool", splash},     {"PEClippingTool", clipping},
        {"PEResizeTool", resize},     {"PEToneCurveTool", toneCurve},
        {"PEEmoticonTool", emoticon}, {"PEStickerTool", sticker},
        {"PETextTool", text},
    };
    const struct {
        const char* name;
        CGColor color;
    } colours[] = {{"black", CGColorMake(0.1, 0.1, 0.12, 1)}, {"white", CGColorMake(1, 1, 1, 1)}};
    bool ok = true;
    for (const auto& tool : tools) {
        for (const auto& colour : colours) {
            ok = writeIcon(bundle + "/" + tool.tool + "/" + colour.name + "/icon.png", tool.glyph,
                           colour.color) &&
                 ok;
        }
    }
    const struct {
        const char* file;
        Glyph glyph;
    } blurModes[] = {
        {"btn_normal.png", blurNormal}, {"btn_circle.png", blurCircle}, {"btn_band.png", blurBand}};
    for (const auto& mode : blurModes) {
        for (const auto& colour : colours) {
            ok = writeIcon(bundle + "/PEBlurTool/" + colour.name + "/" + mode.file, mode.glyph,
                           colour.color) &&
                 ok;
        }
    }
    const char* const colourNames[2] = {colours[0].name, colours[1].name};
    ok = writeToolPictures(bundle, colourNames) && ok;
    return ok ? 0 : 1;
}
