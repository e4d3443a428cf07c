// Draws the image editor's tool icons into its bundle: for each tool class and icon colour
// (black, white), "<bundle>/<class>/<colour>/icon.png", a 50-point line glyph drawn at 3
// pixels a point, so that it stays sharp shrunk to a 2x screen and exact on a 3x one; and
// beside it the other pictures some tools load (their menu items and buttons), the same way.
// The effect tool's items show a small landscape through each effect, rendered by the
// effect itself: "<bundle>/PEEffectTool/<effect class>.png", the same square at the same
// scale, one picture for either icon colour.
// Also the blur tool's mode icons and its masks (black where the picture stays sharp,
// fading to transparent), and the adjustment tool's slider thumbs.
//
//     build/<dir>/tools/make-editor-art resources
#include "editor/tools/effect/PEBloomEffect.h"
#include "editor/tools/effect/PEEffectBase.h"
#include "editor/tools/effect/PEGloomEffect.h"
#include "editor/tools/effect/PEHighlightShadowEffect.h"
#include "editor/tools/effect/PEHueEffect.h"
#include "editor/tools/effect/PEPixellateEffect.h"
#include "editor/tools/effect/PEPosterizeEffect.h"
#include "editor/tools/effect/PESpotEffect.h"
#include "platform/foundation/NSData.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGradient.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UIView.h"

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

// The text tool's menu: a plus for a new text, a letter A for the face, and lines of text
// set left, centred and right.
void plus(const CGColor& c) {
    stroke(polyline({CGPointMake(25, 11), CGPointMake(25, 39)}), c, 3.5);
    stroke(polyline({CGPointMake(11, 25), CGPointMake(39, 25)}), c, 3.5);
}

void letterA(const CGColor& c) {
    stroke(polyline({CGPointMake(11, 40), CGPointMake(25, 9), CGPointMake(39, 40)}), c, 3.5);
    stroke(polyline({CGPointMake(17, 29), CGPointMake(33, 29)}), c, 3);
}

// Four lines of text, long and short by turns, set by `place` (from the line's length to its
// left end).
void textLines(const CGColor& c, const std::function<double(double length)>& place) {
    for (int i = 0; i < 4; ++i) {
        const double length = i % 2 == 0 ? 30 : 20;
        const double y = 13 + i * 8;
        stroke(polyline({CGPointMake(place(length), y), CGPointMake(place(length) + length, y)}),
               c);
    }
}

// The rotate tool's quarter turn: a picture frame with a clockwise arrow over its corner.
void quarterTurn(const CGColor& c) {
    stroke(UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(9, 20, 22, 22), 2), c);
    stroke(UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
               CGPointMake(20, 31), 19, -kPi * 0.55, -kPi * 0.05, true),
           c);
    stroke(polyline({CGPointMake(32, 24), CGPointMake(39, 29), CGPointMake(43, 21)}), c);
}

// A mirror across a dashed axis: one solid and one outlined triangle facing each other.
// `vertical` mirrors top to bottom (the axis lies across).
void mirror(const CGColor& c, bool vertical) {
    auto place = [vertical](double x, double y) {
        return vertical ? CGPointMake(y, x) : CGPointMake(x, y);
    };
    auto axis = polyline({place(25, 6), place(25, 44)});
    const CGFloat dash[] = {3, 3};
    CGContextSetLineDash(UIGraphicsGetCurrentContext(), 0, dash, 2);
    stroke(axis, c, 1.5);
    CGContextSetLineDash(UIGraphicsGetCurrentContext(), 0, nullptr, 0);
    auto solid = polyline({place(21, 13), place(21, 37), place(7, 37)});
    solid->closePath();
    fill(solid, c);
    auto outline = polyline({place(29, 13), place(29, 37), place(43, 37)});
    outline->closePath();
    stroke(outline, c);
}
void mirrorLeftRight(const CGColor& c) {
    mirror(c, false);
}
void mirrorTopBottom(const CGColor& c) {
    mirror(c, true);
}

// The tone curve panel's fold button: a chevron pointing down (turned up while folded).
void foldArrow(const CGColor& c) {
    stroke(polyline({CGPointMake(11, 18), CGPointMake(25, 32), CGPointMake(39, 18)}), c, 4);
}

// The crop tool's swap button: a wide frame and a tall one with an arrow turning between.
void ratioSwap(const CGColor& c) {
    stroke(UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(6, 22, 26, 18), 2), c);
    stroke(UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(26, 8, 18, 26), 2), c);
    stroke(UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
               CGPointMake(21, 21), 12, -kPi * 0.95, -kPi * 0.6, true),
           c, 2);
    stroke(polyline({CGPointMake(14, 7), CGPointMake(18, 10), CGPointMake(14, 13)}), c, 2);
}

// The resize tool's switch: a double arrow between two bars, across (width) or upright
// (height).
void sideArrow(const CGColor& c, bool upright) {
    auto place = [upright](double x, double y) {
        return upright ? CGPointMake(y, x) : CGPointMake(x, y);
    };
    stroke(polyline({place(7, 14), place(7, 36)}), c);
    stroke(polyline({place(43, 14), place(43, 36)}), c);
    stroke(polyline({place(12, 25), place(38, 25)}), c);
    stroke(polyline({place(18, 19), place(12, 25), place(18, 31)}), c);
    stroke(polyline({place(32, 19), place(38, 25), place(32, 31)}), c);
}
void widthArrow(const CGColor& c) {
    sideArrow(c, false);
}
void heightArrow(const CGColor& c) {
    sideArrow(c, true);
}

// The resize tool's chain: two links on a slant, hooked into each other, or apart with the
// break marked between them.
void chain(const CGColor& c, bool linked) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    const double apart = linked ? 0 : 4;
    for (double side : {-1.0, 1.0}) {
        CGContextSaveGState(context);
        CGContextTranslateCTM(context, 25 + side * (8 + apart), 25 - side * (8 + apart));
        CGContextRotateCTM(context, -kPi / 4);
        stroke(UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(-12, -6, 24, 12), 6),
               c, 3);
        CGContextRestoreGState(context);
    }
    if (!linked) {
        stroke(polyline({CGPointMake(16, 16), CGPointMake(12, 12)}), c, 2);
        stroke(polyline({CGPointMake(34, 34), CGPointMake(38, 38)}), c, 2);
    }
}
void chainOn(const CGColor& c) {
    chain(c, true);
}
void chainOff(const CGColor& c) {
    chain(c, false);
}

// The tone curve panel's reset button: an arrow running round anticlockwise, as it spins.
void resetArrow(const CGColor& c) {
    stroke(UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
               CGPointMake(25, 26), 15, -kPi * 0.4, kPi * 1.3, true),
           c, 4);
    stroke(polyline({CGPointMake(36, 5), CGPointMake(29, 11), CGPointMake(36, 17)}), c, 4);
}

// A picture of `width` x `height` pixels at scale 1, drawn by `draw`.
std::shared_ptr<UIImage> pixelImage(double width, double height,
                                    const std::function<void()>& draw) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(width, height), false, 1);
    draw();
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

// A square picture of the icon's size, drawn in points by `draw`.
std::shared_ptr<UIImage> iconImage(const std::function<void()>& draw) {
    return pixelImage(kIconPoints * kIconScale, kIconPoints * kIconScale, [&] {
        CGContextScaleCTM(UIGraphicsGetCurrentContext(), kIconScale, kIconScale);
        draw();
    });
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

void fillGradient(std::vector<CGColor> colors, CGPoint from, CGPoint to) {
    const std::vector<CGFloat> locations{0, 1};
    CGContextDrawLinearGradient(
        UIGraphicsGetCurrentContext(), CGGradientCreateWithColors(colors, locations.data()), from,
        to, kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
}

// A landscape with what every effect changes: a bright sun for glows, deep shadows for
// the shadow lift, smooth gradients for posterizing, colours for the hue.
void landscape() {
    fillGradient({CGColorMake(0.25, 0.55, 0.95, 1), CGColorMake(0.98, 0.78, 0.55, 1)},
                 CGPointMake(0, 0), CGPointMake(0, 32));
    fill(circle(34, 15, 7), CGColorMake(1, 0.97, 0.8, 1));
    auto far = UIBezierPath::bezierPath();
    far->moveToPoint(CGPointMake(0, 30));
    far->addQuadCurveToPointControlPoint(CGPointMake(50, 28), CGPointMake(22, 14));
    far->addLineToPoint(CGPointMake(50, 50));
    far->addLineToPoint(CGPointMake(0, 50));
    far->closePath();
    fill(far, CGColorMake(0.30, 0.62, 0.32, 1));
    auto near = UIBezierPath::bezierPath();
    near->moveToPoint(CGPointMake(0, 40));
    near->addQuadCurveToPointControlPoint(CGPointMake(50, 44), CGPointMake(30, 30));
    near->addLineToPoint(CGPointMake(50, 50));
    near->addLineToPoint(CGPointMake(0, 50));
    near->closePath();
    fill(near, CGColorMake(0.08, 0.20, 0.10, 1));
}

// Each effect made as the tool makes it, its first slider (and the others' defaults) set
// to show what it does, and rendered over the landscape.
template <class Effect>
std::shared_ptr<UIImage> throughEffect(const std::shared_ptr<UIImage>& scene,
                                       const std::function<void(Effect&)>& set = {}) {
    auto area = UIView::initWithFrame(CGRectMake(0, 0, 320, 424));
    auto effect = Effect::alloc();
    effect->initWithSuperViewImageViewFrameToolInfo(area, area->bounds(), nullptr);
    if (set) {
        set(*effect);
    }
    return effect->applyEffect(scene);
}

bool writeEffectIcons(const std::string& bundle) {
    const auto scene = iconImage(landscape);
    const struct {
        const char* effect;
        std::shared_ptr<UIImage> image;
    } icons[] = {
        {"PEEffectBase", scene},
        {"PESpotEffect", throughEffect<PESpotEffect>(scene)},
        {"PEHueEffect",
         throughEffect<PEHueEffect>(scene, [](auto& e) { e.hueSlider()->setValue(2.2f); })},
        {"PEHighlightShadowEffect", throughEffect<PEHighlightShadowEffect>(
                                        scene, [](auto& e) { e.shadowSlider()->setValue(1); })},
        {"PEBloomEffect",
         throughEffect<PEBloomEffect>(scene, [](auto& e) { e.radiusSlider()->setValue(1); })},
        {"PEGloomEffect",
         throughEffect<PEGloomEffect>(scene, [](auto& e) { e.radiusSlider()->setValue(1); })},
        {"PEPosterizeEffect",
         throughEffect<PEPosterizeEffect>(scene, [](auto& e) { e.levelSlider()->setValue(-3); })},
        {"PEPixellateEffect", throughEffect<PEPixellateEffect>(scene)},
    };
    bool ok = true;
    for (const auto& icon : icons) {
        ok = writePNG(bundle + "/PEEffectTool/" + icon.effect + ".png", icon.image) && ok;
    }
    return ok;
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

// A dark round badge with a white cross, plain on any picture: the text overlays' delete
// button and the text panel's close button.
std::shared_ptr<UIImage> deleteBadge() {
    return iconImage([] {
        fill(circle(25, 25, 20), CGColorMake(0.15, 0.15, 0.17, 0.9));
        stroke(circle(25, 25, 20), CGColorMake(1, 1, 1, 1), 2.5);
        stroke(polyline({CGPointMake(17, 17), CGPointMake(33, 33)}), CGColorMake(1, 1, 1, 1), 4);
        stroke(polyline({CGPointMake(33, 17), CGPointMake(17, 33)}), CGColorMake(1, 1, 1, 1), 4);
    });
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
        {"PETextTool", "btn_delete.png", deleteBadge()},
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
    // The other pictures a tool loads from its folder.
    const struct {
        const char* tool;
        const char* file;
        Glyph glyph;
    } pictures[] = {
        {"PERotateTool", "btn_rotate.png", quarterTurn},
        {"PERotateTool", "btn_flip1.png", mirrorLeftRight},
        {"PERotateTool", "btn_flip2.png", mirrorTopBottom},
        {"PEToneCurveTool", "btn_arrow.png", foldArrow},
        {"PEToneCurveTool", "btn_reset.png", resetArrow},
        {"PEBlurTool", "btn_normal.png", blurNormal},
        {"PEBlurTool", "btn_circle.png", blurCircle},
        {"PEBlurTool", "btn_band.png", blurBand},
        {"PETextTool", "btn_add.png", plus},
        {"PETextTool", "btn_font.png", letterA},
        {"PETextTool", "btn_align_left.png",
         [](const CGColor& c) { textLines(c, [](double) { return 10.0; }); }},
        {"PETextTool", "btn_align_center.png",
         [](const CGColor& c) { textLines(c, [](double length) { return 25 - length / 2; }); }},
        {"PETextTool", "btn_align_right.png",
         [](const CGColor& c) { textLines(c, [](double length) { return 40 - length; }); }},
        {"PEClippingTool", "btn_rotate.png", ratioSwap},
        {"PEResizeTool", "btn_width.png", widthArrow},
        {"PEResizeTool", "btn_height.png", heightArrow},
        {"PEResizeTool", "btn_chain_on.png", chainOn},
        {"PEResizeTool", "btn_chain_off.png", chainOff},
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
    ok = writeEffectIcons(bundle) && ok;
    for (const auto& picture : pictures) {
        for (const auto& colour : colours) {
            ok = writeIcon(bundle + "/" + picture.tool + "/" + colour.name + "/" + picture.file,
                           picture.glyph, colour.color) &&
                 ok;
        }
    }
    const char* const colourNames[2] = {colours[0].name, colours[1].name};
    ok = writeToolPictures(bundle, colourNames) && ok;
    return ok ? 0 : 1;
}
