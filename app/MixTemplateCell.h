// One cell of a template collage laid out in the collage area: where it sits and the
// polygon the photo shows through, which is also the only part that takes touches.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIBezierPath.h"

#include <memory>

class MixTemplateCell {
public:
    MixTemplateCell(CGRect frame, std::shared_ptr<UIBezierPath> realCellArea)
        : frame_(frame), realCellArea_(std::move(realCellArea)) {}

    // In the collage area's coordinates.
    CGRect frame() const { return frame_; }
    // The outline in the cell's own coordinates; null for a cell without points, which
    // shows nothing and takes no touches.
    const std::shared_ptr<UIBezierPath>& realCellArea() const { return realCellArea_; }

    // Whether a point in the cell's own coordinates lies inside its outline.
    bool containsPoint(CGPoint point) const;

    // The size a photo of `imageSize` takes to cover a cell of `cellSize` with its aspect
    // ratio kept, fitted first along the cell's longer side. An image without area gives
    // the cell's size: there is no ratio to keep.
    static CGSize coveringSizeForImageSizeInCellSize(CGSize imageSize, CGSize cellSize);

private:
    CGRect frame_;
    std::shared_ptr<UIBezierPath> realCellArea_;
};
