// An image as the filter engine sees it: a recipe for pixels (a lazy pipeline, computed
// only when a context renders it) over an extent in the engine's coordinates, whose origin
// is at the lower left with y pointing up. Extents here are always whole pixels.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"

#include <memory>

class CIImagePipeline;

class CIImage : public NSObject {
    NS_OBJECT(CIImage)
public:
    // The bitmap's pixels over (0, 0, width, height); its top row lies at the top of the
    // extent. Null (with a log line) for no image or an image mask. The bitmap is kept
    // alive, not copied, for as long as any pipeline reads it.
    static std::shared_ptr<CIImage> imageWithCGImage(const CGImageRef& image);
    // For the engine's filters: pixels filling `extent` (whole pixels, the pipeline's size).
    static std::shared_ptr<CIImage>
    imageWithPipeline(std::shared_ptr<const CIImagePipeline> pipeline, const CGRect& extent);

    const CGRect& extent() const { return extent_; }
    // The part of the image inside `rect` (widened to whole pixels), nothing around it: a
    // render beyond the new extent is transparent there. Null (with a log line) when no
    // pixel of the image lies in `rect`.
    std::shared_ptr<CIImage> imageByCroppingToRect(const CGRect& rect) const;
    const CIImagePipeline& pipeline() const { return *pipeline_; }

    // "<CIImage extent {{x, y}, {w, h}}>".
    std::string description() const override;

private:
    CIImage(std::shared_ptr<const CIImagePipeline> pipeline, const CGRect& extent)
        : pipeline_(std::move(pipeline)), extent_(extent) {}
    std::shared_ptr<const CIImagePipeline> pipeline_;
    CGRect extent_;
};

using CIImagePtr = std::shared_ptr<CIImage>;
