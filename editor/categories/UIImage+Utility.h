// Picture operations the editor and its tools share: forced decoding and copying,
// resizing with the picture's orientation applied, aspect fit and fill, cropping, grey
// conversion, masking and a separable Gaussian blur. Each makes a new picture and leaves
// its argument unchanged; a null picture gives null.
//
// The bitmap-based operations (resize, aspectFill, grayScaleImage, maskedImage, gaussBlur)
// give pictures of scale 1, upright, whose point size is their pixel size; the
// drawing-based ones (decode, crop) keep the picture's scale. All of them keep alpha, and
// all of them show the picture as it is shown, mirrored orientations included. Sizes that
// are empty, not a number or beyond what a drawing context holds give null and a log line.
// Any thread: each call draws into contexts of its own. decode (so deepCopy and gaussBlur
// too) and crop draw through UIImage, which keeps an upright copy of a turned picture made
// on its first drawing: a turned picture is not given to two threads at once.
#pragma once

#include "platform/graphics/CGGeometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class UIImage;
class UIView;

namespace Utility {
// The picture redrawn upright into a new image context of its point size and scale, so
// that drawing it later decodes nothing; an upright picture of 32-bit pixels (what the
// decoders give) shares them in a new image instead, since pixels never change.
std::shared_ptr<UIImage> decode(const std::shared_ptr<UIImage>& image);
// PNG or JPEG bytes, or a file of them, decoded and redrawn; null (and a log line) when
// they cannot be read.
std::shared_ptr<UIImage> fastImageWithData(const std::vector<uint8_t>& data);
std::shared_ptr<UIImage> fastImageWithContentsOfFile(const std::string& path);
// decode of the picture.
std::shared_ptr<UIImage> deepCopy(const std::shared_ptr<UIImage>& image);

// A grey copy of the point size (each side truncated), alpha kept: R = G = B is the
// premultiplied grey with the weights grey bitmap contexts use (77, 150, 29 / 256).
std::shared_ptr<UIImage> grayScaleImage(const std::shared_ptr<UIImage>& image);
// Exactly size.width x size.height pixels (each truncated), the picture stretched over it
// as shown.
std::shared_ptr<UIImage> resize(const std::shared_ptr<UIImage>& image, CGSize size);
// resize to the largest size inside `size` with the picture's aspect ratio.
std::shared_ptr<UIImage> aspectFit(const std::shared_ptr<UIImage>& image, CGSize size);
// aspectFillOffset with offset 0.
std::shared_ptr<UIImage> aspectFill(const std::shared_ptr<UIImage>& image, CGSize size);
// The box (each side truncated) filled by the picture scaled to cover it, the overflow
// cut evenly from both sides of the axis that overflows; a positive `offset` cuts that
// many pixels more from the picture's left (or bottom) and fewer from its right (or top),
// as shown. A picture of the box's own aspect is shifted down by the offset. An offset
// that is not a number or longer than a context's side gives null and a log line.
std::shared_ptr<UIImage> aspectFillOffset(const std::shared_ptr<UIImage>& image, CGSize size,
                                          double offset);
// The rectangle of the picture, in points, at the picture's scale; what lies outside the
// picture is transparent.
std::shared_ptr<UIImage> crop(const std::shared_ptr<UIImage>& image, CGRect rect);
// What a view over a picture on screen holds (its subviews, as they stand), rendered into
// a transparent picture of `image`'s size and scale: the view is scaled by the picture's
// width over its own, so it must have the picture's aspect ratio. Null without a picture,
// for a view of no width or without subviews. Main thread: it reads views.
std::shared_ptr<UIImage> renderedOver(const UIView& view, const std::shared_ptr<UIImage>& image);
// A picture of `size` at the picture's scale: the picture at the origin, `over` (when
// given) stretched over the whole of it. What a tool's paint or overlays become in the
// picture.
std::shared_ptr<UIImage> overlaid(const std::shared_ptr<UIImage>& image,
                                  const std::shared_ptr<UIImage>& over, CGSize size);
// The picture seen through `mask` as an image mask: where the mask is dark the picture
// shows, where it is light it is cut away, grey in between lets that share through. A
// colour mask is read by its grey (its colour over black); a mask of another size is
// stretched over the picture without interpolation.
std::shared_ptr<UIImage> maskedImage(const std::shared_ptr<UIImage>& image,
                                     const std::shared_ptr<UIImage>& mask);
// A Gaussian blur of strength `level`, clamped to [0, 1] (not a number counts as 0), of
// the decoded picture's pixels, alpha kept. The kernel has gaussBlurKernelSide weights,
// deviation (side / 2) / 3, each 255 e^(-d^2 / 2 deviation^2) truncated, summed for the
// divisor; a vertical pass, then a horizontal one, edges extended.
std::shared_ptr<UIImage> gaussBlur(const std::shared_ptr<UIImage>& image, double level);
// The blur's kernel side for a picture of `pointSize` (not its pixels): n = level x 0.1 x
// the shorter side, truncated, made even toward zero, plus 1 (8 gives 9, 7 gives 7, 0
// gives 1).
uint32_t gaussBlurKernelSide(CGSize pointSize, double level);
} // namespace Utility
