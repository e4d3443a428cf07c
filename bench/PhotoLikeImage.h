// A picture that compresses about as a photo does, for the image benchmarks.
#pragma once

#include "platform/graphics/CGImage.h"

#include <cstddef>

// A smooth gradient with a little noise, opaque RGB24.
CGImageRef photoLikeImage(size_t width, size_t height);
