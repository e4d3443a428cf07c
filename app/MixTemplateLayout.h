// A template collage layout read from one of the bundle's "number_<count>_style_<n>.plist"
// files: the design canvas and each cell's outline, mapped on demand into a collage area
// (the template is stretched along each axis to fill it).
#pragma once

#include "app/MixTemplateCell.h"
#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"
#include "platform/graphics/CGGeometry.h"

#include <memory>
#include <string>
#include <vector>

class MixTemplateLayout : public NSObject {
    NS_OBJECT(MixTemplateLayout)
public:
    static constexpr long kMinimumImageCount = 2;
    static constexpr long kMaximumImageCount = 5;
    static constexpr long kStyleCount = 6;

    // "number_two_style_1.plist" for two photos and style 1. A count outside 2-5 or a style
    // outside 1-6 leaves its part empty, a name no layout file has.
    static std::string fileNameWithStyleIndexImageCount(long style, long imageCount);

    // The main bundle's layout of that style and count, read anew. Null, with a log line,
    // when it cannot be read (see layoutWithContentsOfFile).
    static std::shared_ptr<MixTemplateLayout> layoutWithStyleIndexImageCount(long style,
                                                                             long imageCount);
    // Null, with a log line, when the file is missing or damaged, its root is not a
    // dictionary, or it has no usable canvas size. Faults inside cell entries are logged
    // and the entry kept as best it reads: without points when its point list is unusable,
    // a point that does not read counting as {0, 0}.
    static std::shared_ptr<MixTemplateLayout> layoutWithContentsOfFile(const std::string& path);
    // The same from a property list already read; `name` identifies it in log lines.
    static std::shared_ptr<MixTemplateLayout> layoutWithPropertyList(const PlistValue& root,
                                                                     const std::string& name);

    // Halved, as every template coordinate is; never zero in either dimension.
    CGSize canvasSize() const { return canvas_; }
    size_t cellCount() const { return cellPoints_.size(); }

    // The cells mapped into a collage area of `areaSize`, in file order (a later cell lies
    // above an earlier one). Cell i holds photo i, so only the first `photoCount` cells are
    // laid out; more cells than photos is logged.
    std::vector<MixTemplateCell> cellsWithAreaSizePhotoCount(CGSize areaSize,
                                                             size_t photoCount) const;

    // Template units to points: each divides by `scale`, or by 1 when `scale` is not
    // above 0 (NaN included).
    static CGSize sizeScaleWithSizeScale(CGSize size, CGFloat scale);
    static CGRect rectScaleWithRectScale(CGRect rect, CGFloat scale);
    static CGPoint pointScaleWithPointScale(CGPoint point, CGFloat scale);
    // A cell's rectangle in a collage area of `areaSize`: the bounding box of `points`
    // (template units) mapped from the halved `canvas`. Zero for no points or no canvas.
    static CGRect rectWithArrayAndSuperSize(const std::vector<CGPoint>& points, CGSize canvas,
                                            CGSize areaSize);

    std::string description() const override { return "<MixTemplateLayout " + name_ + ">"; }

private:
    MixTemplateLayout(std::string name, CGSize canvas, std::vector<std::vector<CGPoint>> cells)
        : name_(std::move(name)), canvas_(canvas), cellPoints_(std::move(cells)) {}

    std::string name_;
    CGSize canvas_;
    // Each cell's outline as written, in template units.
    std::vector<std::vector<CGPoint>> cellPoints_;
};
