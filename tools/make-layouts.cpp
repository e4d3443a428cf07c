// Writes the template collages' layouts into the bundle's resources folder: for two to five
// photos, six styles each, the layout file and the style strip's thumbnail. The thumbnails
// are drawn from the written files as the app reads them, so the two always match.
//
//     build/<dir>/tools/make-layouts resources
#include "app/MixTemplateLayout.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {
// The canvas in template units: twice the collage area of a portrait phone screen.
constexpr double kCanvasWidth = 750, kCanvasHeight = 900;
// The style strip's tiles.
constexpr CGSize kThumbnailSize{90, 90};

// A cell's outline with its corners as fractions of the canvas; two corners stand for the
// rectangle they span.
using Cell = std::vector<CGPoint>;
using Layout = std::vector<Cell>;

Cell rect(double left, double top, double right, double bottom) {
    return {{left, top}, {right, bottom}};
}

// Indexed by photo count - 2, then style - 1.
std::vector<std::vector<Layout>> layouts() {
    const double third = 1.0 / 3, twoThirds = 2.0 / 3;
    return {
        // Two photos.
        {
            {rect(0, 0, 0.5, 1), rect(0.5, 0, 1, 1)},
            {rect(0, 0, 1, 0.5), rect(0, 0.5, 1, 1)},
            {{{0, 0}, {0.62, 0}, {0.38, 1}, {0, 1}}, {{0.62, 0}, {1, 0}, {1, 1}, {0.38, 1}}},
            {{{0, 0}, {1, 0}, {1, 0.4}, {0, 0.6}}, {{0, 0.6}, {1, 0.4}, {1, 1}, {0, 1}}},
            {{{0, 0}, {1, 0}, {0, 1}}, {{1, 0}, {1, 1}, {0, 1}}},
            {{{0, 0}, {0.45, 0}, {0.6, 0.5}, {0.45, 1}, {0, 1}},
             {{0.45, 0}, {1, 0}, {1, 1}, {0.45, 1}, {0.6, 0.5}}},
        },
        // Three photos.
        {
            {rect(0, 0, third, 1), rect(third, 0, twoThirds, 1), rect(twoThirds, 0, 1, 1)},
            {rect(0, 0, 0.6, 1), rect(0.6, 0, 1, 0.5), rect(0.6, 0.5, 1, 1)},
            {rect(0, 0, 1, 0.5), rect(0, 0.5, 0.5, 1), rect(0.5, 0.5, 1, 1)},
            {{{0, 0}, {1, 0}, {1, 0.25}, {0, 0.4}},
             {{0, 0.4}, {1, 0.25}, {1, 0.6}, {0, 0.75}},
             {{0, 0.75}, {1, 0.6}, {1, 1}, {0, 1}}},
            {{{0, 0}, {1, 0}, {1, 0.3}, {0.5, 0.5}, {0, 0.3}},
             {{0, 0.3}, {0.5, 0.5}, {0.5, 1}, {0, 1}},
             {{0.5, 0.5}, {1, 0.3}, {1, 1}, {0.5, 1}}},
            {{{0, 0}, {0.7, 0}, {0, 0.6}},
             {{0.7, 0}, {1, 0}, {1, 0.4}, {0.3, 1}, {0, 1}, {0, 0.6}},
             {{1, 0.4}, {1, 1}, {0.3, 1}}},
        },
        // Four photos.
        {
            {rect(0, 0, 0.5, 0.5), rect(0.5, 0, 1, 0.5), rect(0, 0.5, 0.5, 1),
             rect(0.5, 0.5, 1, 1)},
            {rect(0, 0, 1, 0.6), rect(0, 0.6, third, 1), rect(third, 0.6, twoThirds, 1),
             rect(twoThirds, 0.6, 1, 1)},
            {rect(0, 0, 0.6, 1), rect(0.6, 0, 1, third), rect(0.6, third, 1, twoThirds),
             rect(0.6, twoThirds, 1, 1)},
            {{{0, 0}, {0.32, 0}, {0.18, 1}, {0, 1}},
             {{0.32, 0}, {0.57, 0}, {0.43, 1}, {0.18, 1}},
             {{0.57, 0}, {0.82, 0}, {0.68, 1}, {0.43, 1}},
             {{0.82, 0}, {1, 0}, {1, 1}, {0.68, 1}}},
            {{{0, 0}, {0.6, 0}, {0.5, 0.5}, {0, 0.4}},
             {{0.6, 0}, {1, 0}, {1, 0.6}, {0.5, 0.5}},
             {{0.5, 0.5}, {1, 0.6}, {1, 1}, {0.4, 1}},
             {{0, 0.4}, {0.5, 0.5}, {0.4, 1}, {0, 1}}},
            {{{0, 0}, {1, 0}, {0.5, 0.5}},
             {{1, 0}, {1, 1}, {0.5, 0.5}},
             {{1, 1}, {0, 1}, {0.5, 0.5}},
             {{0, 1}, {0, 0}, {0.5, 0.5}}},
        },
        // Five photos.
        {
            {rect(0, 0, 0.5, 0.5), rect(0.5, 0, 1, 0.5), rect(0, 0.5, third, 1),
             rect(third, 0.5, twoThirds, 1), rect(twoThirds, 0.5, 1, 1)},
            {rect(0, 0, 0.5, 1), rect(0.5, 0, 0.75, 0.5), rect(0.75, 0, 1, 0.5),
             rect(0.5, 0.5, 0.75, 1), rect(0.75, 0.5, 1, 1)},
            {{{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}},
             {{0, 0}, {0.5, 0}, {0, 0.5}},
             {{0.5, 0}, {1, 0}, {1, 0.5}},
             {{1, 0.5}, {1, 1}, {0.5, 1}},
             {{0, 0.5}, {0.5, 1}, {0, 1}}},
            {{{0, 0}, {0.25, 0}, {0.15, 1}, {0, 1}},
             {{0.25, 0}, {0.45, 0}, {0.35, 1}, {0.15, 1}},
             {{0.45, 0}, {0.65, 0}, {0.55, 1}, {0.35, 1}},
             {{0.65, 0}, {0.85, 0}, {0.75, 1}, {0.55, 1}},
             {{0.85, 0}, {1, 0}, {1, 1}, {0.75, 1}}},
            {rect(0, 0, 0.65, 0.3), rect(0.65, 0, 1, 0.7), rect(0.35, 0.7, 1, 1),
             rect(0, 0.3, 0.35, 1), rect(0.35, 0.3, 0.65, 0.7)},
            {{{0, 0}, {0.55, 0}, {0.45, 0.305}, {0, 0.35}},
             {{0.55, 0}, {1, 0}, {1, 0.25}, {0.45, 0.305}},
             {{0, 0.35}, {1, 0.25}, {1, 0.65}, {0, 0.75}},
             {{0, 0.75}, {0.4, 0.71}, {0.6, 1}, {0, 1}},
             {{0.4, 0.71}, {1, 0.65}, {1, 1}, {0.6, 1}}},
        },
    };
}

// A coordinate in template units, to a tenth so that shared corners print alike.
double units(double fraction, double extent) {
    return std::round(fraction * extent * 10) / 10;
}

PlistValue propertyList(const Layout& layout) {
    PlistValue::Array entries;
    for (const Cell& cell : layout) {
        PlistValue::Array points;
        for (const CGPoint& p : cell) {
            points.emplace_back(NSStringFromCGPoint(
                CGPointMake(units(p.x, kCanvasWidth), units(p.y, kCanvasHeight))));
        }
        entries.emplace_back(PlistValue::Dictionary{{"pointArray", points}});
    }
    return PlistValue::Dictionary{
        {"SuperViewInfo", PlistValue::Dictionary{{"size", NSStringFromCGSize(CGSizeMake(
                                                              kCanvasWidth, kCanvasHeight))}}},
        {"SubViewArray", entries}};
}

CGColor rgb(int hex) {
    return CGColorMake(((hex >> 16) & 0xff) / 255.0, ((hex >> 8) & 0xff) / 255.0,
                       (hex & 0xff) / 255.0, 1);
}

// The layout as the app lays it out, fitted into the tile with its aspect ratio kept:
// each cell in its own soft colour, white gaps between cells.
void drawThumbnail(const CGContextRef& c, const MixTemplateLayout& layout) {
    static constexpr int kColours[] = {0x8ecae6, 0xffb4a2, 0xb5e48c, 0xffd670, 0xcdb4db};
    const double inset = 7;
    double side = kThumbnailSize.width - 2 * inset;
    double aspect = kCanvasWidth / kCanvasHeight;
    CGSize area = aspect < 1 ? CGSizeMake(side * aspect, side) : CGSizeMake(side, side / aspect);
    CGPoint origin = CGPointMake((kThumbnailSize.width - area.width) / 2,
                                 (kThumbnailSize.height - area.height) / 2);

    CGContextSetFillColorWithColor(c, rgb(0xffffff));
    UIBezierPath::bezierPathWithRoundedRectCornerRadius(
        CGRectMake(0, 0, kThumbnailSize.width, kThumbnailSize.height), 8)
        ->fill();
    auto cells = layout.cellsWithAreaSizePhotoCount(area, layout.cellCount());
    for (size_t i = 0; i < cells.size(); ++i) {
        if (!cells[i].realCellArea()) {
            continue;
        }
        CGContextSaveGState(c);
        CGContextTranslateCTM(c, origin.x + cells[i].frame().origin.x,
                              origin.y + cells[i].frame().origin.y);
        CGContextSetFillColorWithColor(c, rgb(kColours[i % std::size(kColours)]));
        cells[i].realCellArea()->fill();
        CGContextSetStrokeColorWithColor(c, rgb(0xffffff));
        cells[i].realCellArea()->setLineWidth(2.5);
        cells[i].realCellArea()->setLineJoinStyle(kCGLineJoinRound);
        cells[i].realCellArea()->stroke();
        CGContextRestoreGState(c);
    }
}

bool writeThumbnail(const std::string& folder, const std::string& name,
                    const MixTemplateLayout& layout) {
    for (double scale : {1.0, 2.0}) {
        UIGraphicsBeginImageContextWithOptions(kThumbnailSize, false, scale);
        drawThumbnail(UIGraphicsGetCurrentContext(), layout);
        auto image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        auto png = UIImagePNGRepresentation(image);
        std::string path = folder + "/" + name + (scale == 2.0 ? "@2x" : "") + ".png";
        if (!png || !NSData::writeToFileAtomically(*png, path)) {
            std::fprintf(stderr, "make-layouts: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-layouts RESOURCES-FOLDER\n");
        return 2;
    }
    std::string resources = argv[1];
    auto all = layouts();
    for (long count = MixTemplateLayout::kMinimumImageCount;
         count <= MixTemplateLayout::kMaximumImageCount; ++count) {
        for (long style = 1; style <= MixTemplateLayout::kStyleCount; ++style) {
            const Layout& layout = all[count - MixTemplateLayout::kMinimumImageCount][style - 1];
            std::string path =
                resources + "/" + MixTemplateLayout::fileNameWithStyleIndexImageCount(style, count);
            auto xml = NSPropertyListSerialization::dataWithPropertyList(
                propertyList(layout), NSPropertyListFormat::XML, nullptr);
            if (!xml || !NSData::writeToFileAtomically(*xml, path)) {
                std::fprintf(stderr, "make-layouts: cannot write %s\n", path.c_str());
                return 1;
            }
            auto written = MixTemplateLayout::layoutWithContentsOfFile(path);
            if (!written || written->cellCount() != static_cast<size_t>(count) ||
                !writeThumbnail(resources,
                                NSString::stringWithFormat("makecards_puzzle%ld_storyboard%ld_icon",
                                                           count, style),
                                *written)) {
                std::fprintf(stderr, "make-layouts: %s does not read back\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
