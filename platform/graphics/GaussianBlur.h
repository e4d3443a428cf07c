// A blur approximating a Gaussian by three box blurs in a row, each the accelerate
// framework's box convolution, on premultiplied ARGB pixels; beyond the edges everything
// is transparent, so a shape blurs the same near an edge as in the middle.
#pragma once

#include "platform/accelerate/vImageTypes.h"

#include <array>
#include <cstdint>

class GaussianBlur {
public:
    // Of `deviation` pixels; at 0 or below (or NaN) the blur copies.
    explicit GaussianBlur(double deviation);

    // The sides of the three boxes, each odd; a side of 1 leaves its pass out.
    const std::array<uint32_t, 3>& boxSides() const { return sides_; }

    // Blurs `source` into `destination`, a buffer of the same size.
    void blur(const vImage_Buffer& source, const vImage_Buffer& destination) const;

private:
    std::array<uint32_t, 3> sides_{1, 1, 1};
};
