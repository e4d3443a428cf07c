// A picture that compresses about as a photo does, for the image benchmarks.
#pragma once

#include "platform/graphics/CGImage.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A smooth gradient with a little noise, opaque RGB24.
CGImageRef photoLikeImage(size_t width, size_t height);
// photoLikeImage as a camera's JPEG (quality 90, 4:2:0), baseline or progressive (the
// library's standard scan script), written by the codec library directly so that the
// progressive kind can be made too.
std::vector<uint8_t> photoLikeJpeg(size_t width, size_t height, bool progressive);
