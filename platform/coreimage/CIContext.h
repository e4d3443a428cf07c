// Renders filter-engine images into bitmaps. Every render runs the image's whole pipeline
// for the asked region on libvips' worker threads, tile by tile; nothing is cached between
// renders, so a context may be made per call and used from any thread.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"

#include <memory>

class CIImage;

// What the system chooses when it makes a context. The software renderer is the only
// renderer here, so the choice is recorded but changes nothing.
struct CIContextOptions {
    bool useSoftwareRenderer = false;
};

class CIContext : public NSObject {
    NS_OBJECT(CIContext)
public:
    static std::shared_ptr<CIContext> contextWithOptions(const CIContextOptions& options = {});

    // The region `rect` of `image` (engine coordinates, y up; widened to whole pixels) as
    // a premultiplied ARGB bitmap whose top row is the region's top. Parts of the region
    // outside the image's extent are transparent. Null, with a log line, when there is no
    // image, when the region is empty, infinite or larger than a bitmap may be, or when the
    // pipeline fails.
    CGImageRef createCGImageFromRect(const std::shared_ptr<CIImage>& image,
                                     const CGRect& rect) const;

    const CIContextOptions& options() const { return options_; }

private:
    explicit CIContext(const CIContextOptions& options) : options_(options) {}
    CIContextOptions options_;
};

using CIContextPtr = std::shared_ptr<CIContext>;
