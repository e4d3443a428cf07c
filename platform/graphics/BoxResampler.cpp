#include "platform/graphics/BoxResampler.h"

#include "platform/graphics/RowResampler.h"

#include <cstring>

CGImageRef BoxResampler::resample(const CGImageRef& image, const CGRect& source, size_t width,
                                  size_t height) {
    if (!image || image->bytesPerPixel() != 4 || image->isMask()) {
        return nullptr;
    }
    auto resampler = RowResampler::create(image->width(), image->height(), source, width, height,
                                          image->format());
    if (!resampler) {
        return nullptr;
    }
    const size_t first = resampler->firstColumn();
    const size_t count = resampler->columnEnd() - first;
    resampler->deliverColumns(first, count);
    for (size_t y = resampler->firstRow(); y < resampler->rowEnd(); ++y) {
        std::memcpy(resampler->nextRow(), image->data() + y * image->bytesPerRow() + first * 4,
                    count * 4);
        resampler->addRow();
    }
    return resampler->takeImage();
}
