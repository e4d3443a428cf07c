// Image operations of the dropdown's blurred look: a snapshot of a view, and a box-blurred,
// optionally tinted copy of an image. Main thread only (the snapshot draws views).
#pragma once

#include "platform/graphics/CGGeometry.h"

#include <memory>

class UIColor;
class UIImage;
class UIView;

namespace DMImage {
// An image of `size` points at scale 1 showing the view under its transform, centred (the
// transform applies about the view's centre); transparent where the view does not reach,
// and wholly so without a view. Null for an empty size.
std::shared_ptr<UIImage> imageFromViewWithSize(const std::shared_ptr<UIView>& view, CGSize size);

// `iterations` passes of a square box blur over the image's pixels, edges extended, the
// box's side being radius x scale rounded down and made odd (radius 5 at 2x: 11 pixels);
// then, when the tint's alpha is positive, the tint at alpha 0.25 added to every pixel
// (plus-lighter). Same scale and orientation as the image. The image itself when it has
// no area; zero iterations copy its pixels. Null, with a log line, for a null image or a
// box larger than the convolution takes.
std::shared_ptr<UIImage>
blurredImageWithRadiusIterationsTintColor(const std::shared_ptr<UIImage>& image, double radius,
                                          unsigned iterations,
                                          const std::shared_ptr<UIColor>& tintColor);
} // namespace DMImage
