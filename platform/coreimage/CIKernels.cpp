#include "platform/coreimage/CIKernels.h"

#include "platform/coreimage/VipsRuntime.h"

#include <cmath>
#include <memory>
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

CurveTable curveTable(const std::function<double(double)>& f) {
    constexpr int kEntries = 65536;
    CurveTable table(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        table[i] = static_cast<float>(f(i / double(kEntries - 1)));
    }
    return table;
}

VImage curve(const VImage& samples, const CurveTable& table) {
    VipsImage* lut =
        vips_image_new_from_memory_copy(table.data(), table.size() * sizeof(float),
                                        static_cast<int>(table.size()), 1, 1, VIPS_FORMAT_FLOAT);
    if (!lut) {
        throw vips::VError();
    }
    // The cast to 16 bits clips to the table's range.
    return samples.linear(double(table.size() - 1), 0.5)
        .cast(VIPS_FORMAT_USHORT)
        .maplut(VImage(lut));
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

namespace {
// libvips' side of a row kernel: the input region over the output's, row by row.
int generateRows(VipsRegion* out, void* sequence, void*, void* kernel, gboolean*) {
    auto* in = static_cast<VipsRegion*>(sequence);
    const VipsRect& area = out->valid;
    if (vips_region_prepare(in, &area)) {
        return -1;
    }
    VipsRuntime::takeOver();
    const RowKernel& row = *static_cast<const RowKernel*>(kernel);
    for (int y = area.top; y < area.top + area.height; ++y) {
        row(VIPS_REGION_ADDR(in, area.left, y), VIPS_REGION_ADDR(out, area.left, y), area.width,
            area.left, y);
    }
    VipsRuntime::handOver();
    return 0;
}

void deleteRowKernel(VipsImage*, void* kernel) {
    // After every worker's last run of it.
    VipsRuntime::takeOver();
    delete static_cast<RowKernel*>(kernel);
}

CIImagePtr withBytes(VImage bytes, bool opaque, const CGRect& extent) {
    return CIImage::imageWithPipeline(CIImagePipeline::withBytes(std::move(bytes), opaque), extent);
}

bool isOpaque(const CIImage& image) {
    return image.pipeline().alpha() == CIAlpha::Opaque;
}
} // namespace

VImage rowKernel(const VImage& bytes, RowKernel row) {
    VipsImage* in = bytes.get_image();
    VipsImage* out = vips_image_new();
    // Tiles of a few rows each, as the library's own point operations ask for.
    if (vips_image_pipelinev(out, VIPS_DEMAND_STYLE_THINSTRIP, in, nullptr)) {
        g_object_unref(out);
        throw vips::VError();
    }
    auto* kernel = new RowKernel(std::move(row));
    g_signal_connect(out, "close", G_CALLBACK(deleteRowKernel), kernel);
    // The output holds its input until it closes.
    g_object_ref(in);
    vips_object_local(out, in);
    if (vips_image_generate(out, vips_start_one, generateRows, vips_stop_one, in, kernel)) {
        g_object_unref(out);
        throw vips::VError();
    }
    return VImage(out);
}

CIImagePtr affineColour(const CIImage& image, const Matrix3& m,
                        const std::array<double, 3>& offset) {
    if (CIImagePtr changed = changeColourOnBytes(image, [m, offset](std::array<double, 3>& c) {
            c = {m[0] * c[0] + m[1] * c[1] + m[2] * c[2] + offset[0],
                 m[3] * c[0] + m[4] * c[1] + m[5] * c[2] + offset[1],
                 m[6] * c[0] + m[7] * c[1] + m[8] * c[2] + offset[2]};
        })) {
        return changed;
    }
    return mapColour(image, [&](const VImage& rgb) { return colourMatrix(rgb, m, offset); });
}

CIImagePtr curveColour(const CIImage& image, const CurveTable& table) {
    const std::optional<VImage>& bytes = image.pipeline().bytes();
    if (!bytes) {
        return mapColour(image, [&](const VImage& rgb) { return curve(rgb, table); });
    }
    // The kernel runs after this call returns: it shares the table.
    const auto change = [shared =
                             std::make_shared<const CurveTable>(table)](std::array<double, 3>& c) {
        for (double& channel : c) {
            channel = lookUp(*shared, channel);
        }
    };
    // Opaque pixels, nearly all of a photo, through a table of bytes made the same way.
    std::array<uint8_t, 256> opaque{};
    for (int level = 0; level < 256; ++level) {
        const uint8_t grey[4] = {uint8_t(level), uint8_t(level), uint8_t(level), 255};
        uint8_t mapped[4];
        changeStraightPixel(grey, mapped, change);
        opaque[level] = mapped[0];
    }
    return withBytes(
        rowKernel(*bytes,
                  [change, opaque](const uint8_t* in, uint8_t* out, int width, int, int) {
                      for (int i = 0; i < width * 4; i += 4) {
                          if (in[i + 3] == 255) {
                              out[i] = opaque[in[i]];
                              out[i + 1] = opaque[in[i + 1]];
                              out[i + 2] = opaque[in[i + 2]];
                              out[i + 3] = 255;
                          } else {
                              changeStraightPixel(in + i, out + i, change);
                          }
                      }
                  }),
        isOpaque(image), image.extent());
}

CIImagePtr movePixels(const CIImage& image, bool keepsOpaque, const CGRect& extent,
                      const std::function<VImage(const VImage&)>& move) {
    const CIImagePipeline& pipeline = image.pipeline();
    const bool opaque = keepsOpaque && pipeline.alpha() == CIAlpha::Opaque;
    if (pipeline.bytes()) {
        return withBytes(move(*pipeline.bytes()), opaque, extent);
    }
    return CIImage::imageWithPipeline(
        std::make_shared<CIImagePipeline>(
            move(opaque ? pipeline.pixels() : pipeline.premultiplied()),
            opaque ? CIAlpha::Opaque : CIAlpha::Premultiplied),
        extent);
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
