#include "app/MixTemplateLayout.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSPropertyListSerialization.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string_view>

namespace {
// Template units are twice the points they stand for.
constexpr CGFloat kTemplateScale = 2.0;
// Coordinates must lie below this; it also starts the search for a box's minimum.
constexpr CGFloat kCoordinateLimit = 2147483647.0;

bool isCoordinate(double value) {
    return std::isfinite(value) && value >= 0 && value < kCoordinateLimit;
}

// Strict "{x, y}": the platform's own reading turns anything into {0, 0} silently, and a
// point that does not read is a fault in the file worth reporting.
std::optional<CGPoint> readPoint(const PlistValue& value) {
    const std::string* text = value.string();
    if (!text) {
        return std::nullopt;
    }
    std::string_view rest = *text;
    auto skipSpace = [&rest] {
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) {
            rest.remove_prefix(1);
        }
    };
    auto expect = [&](char c) {
        skipSpace();
        if (rest.empty() || rest.front() != c) {
            return false;
        }
        rest.remove_prefix(1);
        return true;
    };
    auto number = [&](double& out) {
        skipSpace();
        auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), out);
        if (error != std::errc() || !isCoordinate(out)) {
            return false;
        }
        rest.remove_prefix(static_cast<size_t>(end - rest.data()));
        return true;
    };
    double x = 0, y = 0;
    if (!expect('{') || !number(x) || !expect(',') || !number(y) || !expect('}')) {
        return std::nullopt;
    }
    skipSpace();
    if (!rest.empty()) {
        return std::nullopt;
    }
    return CGPointMake(x, y);
}

std::vector<CGPoint> readCellPoints(const PlistValue& entry, size_t index,
                                    const std::string& name) {
    if (!entry.dictionary()) {
        NSLog("Layout %@: cell %ld is not a dictionary; it shows nothing", name,
              static_cast<long>(index));
        return {};
    }
    const PlistValue& list = entry["pointArray"];
    if (!list.array()) {
        NSLog("Layout %@: cell %ld has no point list; it shows nothing", name,
              static_cast<long>(index));
        return {};
    }
    std::vector<CGPoint> points;
    for (const PlistValue& value : *list.array()) {
        std::optional<CGPoint> point = readPoint(value);
        if (!point) {
            NSLog("Layout %@: cell %ld point %ld \"%@\" is not a point; using {0, 0}", name,
                  static_cast<long>(index), static_cast<long>(points.size()), value.stringValue());
        }
        points.push_back(point.value_or(CGPointZero));
    }
    return points;
}

CGFloat divisor(CGFloat scale) {
    return scale > 0 ? scale : 1.0;
}
} // namespace

std::string MixTemplateLayout::fileNameWithStyleIndexImageCount(long style, long imageCount) {
    static constexpr const char* kCountWords[] = {"two", "three", "four", "five"};
    std::string count = imageCount >= kMinimumImageCount && imageCount <= kMaximumImageCount
                            ? kCountWords[imageCount - kMinimumImageCount]
                            : "";
    std::string styleText = style >= 1 && style <= kStyleCount ? std::to_string(style) : "";
    return "number_" + count + "_style_" + styleText + ".plist";
}

std::shared_ptr<MixTemplateLayout>
MixTemplateLayout::layoutWithStyleIndexImageCount(long style, long imageCount) {
    return layoutWithContentsOfFile(
        stringByAppendingPathComponent(NSBundle::mainBundle()->resourcePath(),
                                       fileNameWithStyleIndexImageCount(style, imageCount)));
}

std::shared_ptr<MixTemplateLayout>
MixTemplateLayout::layoutWithContentsOfFile(const std::string& path) {
    std::shared_ptr<NSError> error;
    std::optional<PlistValue> root =
        NSPropertyListSerialization::propertyListWithContentsOfFile(path, &error);
    std::string name = std::filesystem::path(path).filename().string();
    if (!root) {
        NSLog("Layout %@ cannot be read: %@", name,
              error ? error->localizedDescription() : std::string("unknown error"));
        return nullptr;
    }
    return layoutWithPropertyList(*root, name);
}

std::shared_ptr<MixTemplateLayout>
MixTemplateLayout::layoutWithPropertyList(const PlistValue& root, const std::string& name) {
    if (!root.dictionary()) {
        NSLog("Layout %@: its root is not a dictionary", name);
        return nullptr;
    }
    const PlistValue& size = root["SuperViewInfo"]["size"];
    CGSize canvas = sizeScaleWithSizeScale(CGSizeFromString(size.stringValue()), kTemplateScale);
    if (!isCoordinate(canvas.width) || !isCoordinate(canvas.height) || canvas.width == 0 ||
        canvas.height == 0) {
        NSLog("Layout %@: no usable canvas size (\"%@\")", name, size.stringValue());
        return nullptr;
    }
    std::vector<std::vector<CGPoint>> cells;
    if (const PlistValue::Array* entries = root["SubViewArray"].array()) {
        for (const PlistValue& entry : *entries) {
            cells.push_back(readCellPoints(entry, cells.size(), name));
        }
    } else {
        NSLog("Layout %@: no cell list", name);
    }
    return make<MixTemplateLayout>(name, canvas, std::move(cells));
}

std::vector<MixTemplateCell>
MixTemplateLayout::cellsWithAreaSizePhotoCount(CGSize areaSize, size_t photoCount) const {
    if (cellPoints_.size() > photoCount) {
        NSLog("Layout %@ has %ld cells for %ld photos; laying out %ld", name_,
              static_cast<long>(cellPoints_.size()), static_cast<long>(photoCount),
              static_cast<long>(photoCount));
    }
    size_t count = std::min(cellPoints_.size(), photoCount);
    std::vector<MixTemplateCell> cells;
    cells.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const std::vector<CGPoint>& points = cellPoints_[i];
        CGRect frame = rectWithArrayAndSuperSize(points, canvas_, areaSize);
        std::shared_ptr<UIBezierPath> outline;
        if (points.size() >= 3) {
            outline = UIBezierPath::bezierPath();
            for (size_t j = 0; j < points.size(); ++j) {
                CGPoint p = pointScaleWithPointScale(points[j], kTemplateScale);
                CGPoint local =
                    CGPointMake(p.x * areaSize.width / canvas_.width - frame.origin.x,
                                p.y * areaSize.height / canvas_.height - frame.origin.y);
                if (j == 0) {
                    outline->moveToPoint(local);
                } else {
                    outline->addLineToPoint(local);
                }
            }
            outline->closePath();
        } else if (!points.empty()) {
            outline = UIBezierPath::bezierPathWithRect(
                CGRectMake(0, 0, frame.size.width, frame.size.height));
        }
        cells.emplace_back(frame, std::move(outline));
    }
    return cells;
}

CGSize MixTemplateLayout::sizeScaleWithSizeScale(CGSize size, CGFloat scale) {
    CGFloat s = divisor(scale);
    return CGSizeMake(size.width / s, size.height / s);
}

CGRect MixTemplateLayout::rectScaleWithRectScale(CGRect rect, CGFloat scale) {
    CGFloat s = divisor(scale);
    return CGRectMake(rect.origin.x / s, rect.origin.y / s, rect.size.width / s,
                      rect.size.height / s);
}

CGPoint MixTemplateLayout::pointScaleWithPointScale(CGPoint point, CGFloat scale) {
    CGFloat s = divisor(scale);
    return CGPointMake(point.x / s, point.y / s);
}

CGRect MixTemplateLayout::rectWithArrayAndSuperSize(const std::vector<CGPoint>& points,
                                                    CGSize canvas, CGSize areaSize) {
    if (points.empty() || !(canvas.width > 0) || !(canvas.height > 0)) {
        return CGRectZero;
    }
    CGFloat minX = kCoordinateLimit, minY = kCoordinateLimit, maxX = 0, maxY = 0;
    for (const CGPoint& p : points) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    CGRect box =
        rectScaleWithRectScale(CGRectMake(minX, minY, maxX - minX, maxY - minY), kTemplateScale);
    CGFloat sx = areaSize.width / canvas.width, sy = areaSize.height / canvas.height;
    return CGRectMake(box.origin.x * sx, box.origin.y * sy, box.size.width * sx,
                      box.size.height * sy);
}
