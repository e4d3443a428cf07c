// What the editor tools' benchmarks share: the 12-megapixel photo and its copy at the
// picture view's size (each made once), a picture's own four-byte pixels read by libvips as
// four bands, an anchor's output written out, and the editor's classes registered with the
// built bundle.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>
#include <vips/vips8>

class UIImage;

namespace EditorBenchPictures {
inline constexpr int kPhotoWidth = 4000, kPhotoHeight = 3000;
// A 375 x 667 screen's picture view, less the bars and the menu, fitting a 4:3 photo.
inline constexpr int kViewWidth = 375, kViewHeight = 281;

// The photo, opaque, 4000 x 3000 pixels at scale 1.
const std::shared_ptr<UIImage>& photo();
// The photo reduced to the picture view's size, as the tools reduce it for previews.
const std::shared_ptr<UIImage>& viewSized();

// The picture's pixels in place (B, G, R and A bytes as four bands); libvips started.
vips::VImage bandsOf(const UIImage& image);
// Renders `image` into memory of its own and lets it go: the end of every anchor's run.
void writeOut(const vips::VImage& image);
// Bytes through an 8-bit curve of 0...1 (what it gives outside 0...1 is clipped), as libvips
// maps bytes: through a table.
template <class Curve> vips::VImage mappedThroughCurve(const vips::VImage& in, Curve f) {
    std::vector<uint8_t> table(256);
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<uint8_t>(std::lround(255 * std::clamp(f(i / 255.0), 0.0, 1.0)));
    }
    return in.maplut(
        vips::VImage::new_from_memory(table.data(), 256, 256, 1, 1, VIPS_FORMAT_UCHAR));
}
// The editor's classes found by name, their bundle the one the build made; once.
void registerEditor();
} // namespace EditorBenchPictures
