// Draws the progress overlay's success and error icons into the bundle's resources:
// a white ring with a check mark or a cross, at 1x and 2x.
//
//     build/<dir>/tools/make-hud-icons resources/OVProgressHUD.bundle
#include "platform/foundation/NSData.h"
#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"

#include <cstdio>
#include <functional>
#include <string>

namespace {
constexpr double kSize = 37;

bool drawIcon(const std::string& path, double scale,
              const std::function<void(const std::shared_ptr<UIBezierPath>&)>& mark) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(kSize, kSize), false, scale);
    CGContextSetStrokeColorWithColor(UIGraphicsGetCurrentContext(),
                                     UIColor::whiteColor()->cgColor());
    auto ring = UIBezierPath::bezierPathWithOvalInRect(CGRectMake(2, 2, kSize - 4, kSize - 4));
    ring->setLineWidth(2.5);
    ring->stroke();
    auto glyph = UIBezierPath::bezierPath();
    glyph->setLineWidth(3);
    glyph->setLineCapStyle(kCGLineCapRound);
    glyph->setLineJoinStyle(kCGLineJoinRound);
    mark(glyph);
    glyph->stroke();
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    auto png = UIImagePNGRepresentation(image);
    return png && NSData::writeToFileAtomically(*png, path);
}

void check(const std::shared_ptr<UIBezierPath>& p) {
    p->moveToPoint(CGPointMake(10.5, 19));
    p->addLineToPoint(CGPointMake(16, 24.5));
    p->addLineToPoint(CGPointMake(26.5, 13));
}

void cross(const std::shared_ptr<UIBezierPath>& p) {
    p->moveToPoint(CGPointMake(12.5, 12.5));
    p->addLineToPoint(CGPointMake(24.5, 24.5));
    p->moveToPoint(CGPointMake(24.5, 12.5));
    p->addLineToPoint(CGPointMake(12.5, 24.5));
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-hud-icons FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    bool ok = drawIcon(folder + "/success.png", 1, check) &&
              drawIcon(folder + "/success@2x.png", 2, check) &&
              drawIcon(folder + "/error.png", 1, cross) &&
              drawIcon(folder + "/error@2x.png", 2, cross);
    return ok ? 0 : 1;
}
