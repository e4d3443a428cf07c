// The filter engine's image of a picture, as UIKit adds it to the engine's images: the
// picture's pixels as it is shown (its orientation applied, mirrored ones flipped), one
// engine unit a pixel, so that the extent is the point size times the scale. Renders come
// back as pictures of scale 1 and upright orientation (UIImage::imageWithCGImage).
#pragma once

#include <memory>

class CIImage;
class UIImage;

namespace UIKitAdditions {
// Null for a null picture. Any thread: the turned pixels are a copy of the call's own,
// never the picture's cached upright copy that drawing on the main thread keeps.
std::shared_ptr<CIImage> initWithImage(const std::shared_ptr<UIImage>& image);
} // namespace UIKitAdditions
