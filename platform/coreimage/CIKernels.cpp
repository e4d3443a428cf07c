#include "platform/coreimage/CIKernels.h"

#include <cmath>
#include <vector>

using vips::VImage;

namespace CIKernels {

double srgbToLinear(double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double linearToSrgb(double value) {
    return value <= 0.0031308 ? value * 12.92 : 1.055 * std::pow(value, 1 / 2.4) - 0.055;
}

Matrix3 multiply(const Matrix3& a, const Matrix3& b) {
    Matrix3 product{};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            for (int k = 0; k < 3; ++k) {
                product[row * 3 + column] += a[row * 3 + k] * b[k * 3 + column];
            }
        }
    }
    return product;
}

Matrix3 saturationMatrix(double saturation) {
    Matrix3 m{};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            m[row * 3 + column] =
                (1 - saturation) * kLuma[column] + (row == column ? saturation : 0);
        }
    }
    return m;
}

VImage curve(const VImage& samples, const std::function<double(double)>& f) {
    constexpr int kEntries = 65536;
    std::vector<float> table(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        table[i] = static_cast<float>(f(i / double(kEntries - 1)));
    }
    VipsImage* lut = vips_image_new_from_memory_copy(table.data(), table.size() * sizeof(float),
                                                     kEntries, 1, 1, VIPS_FORMAT_FLOAT);
    if (!lut) {
        throw vips::VError();
    }
    // The cast to 16 bits clips to the table's range.
    return samples.linear(kEntries - 1, 0.5).cast(VIPS_FORMAT_USHORT).maplut(VImage(lut));
}

VImage colourMatrix(const VImage& rgb, const Matrix3& m, const std::array<double, 3>& offset) {
    Matrix3 coefficients = m;
    const VImage matrix = VImage::new_matrix(3, 3, coefficients.data(), 9);
    VImage product = rgb.recomb(matrix);
    if (offset != std::array<double, 3>{0, 0, 0}) {
        product = product.linear({1, 1, 1}, {offset[0], offset[1], offset[2]});
    }
    return product;
}

CIImagePtr mapColour(const CIImage& image, const std::function<VImage(const VImage& rgb)>& colour) {
    const CIImagePipeline& pipeline = image.pipeline();
    std::shared_ptr<const CIImagePipeline> result;
    if (pipeline.alpha() == CIAlpha::Opaque) {
        result = std::make_shared<CIImagePipeline>(colour(pipeline.pixels()), CIAlpha::Opaque);
    } else {
        const VImage straight = pipeline.straight();
        const VImage rgb = straight.extract_band(0, VImage::option()->set("n", 3));
        result =
            std::make_shared<CIImagePipeline>(colour(rgb).bandjoin(straight[3]), CIAlpha::Straight);
    }
    return CIImage::imageWithPipeline(std::move(result), image.extent());
}

} // namespace CIKernels
