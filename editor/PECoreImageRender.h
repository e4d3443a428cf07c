// How every editor filter and tool turns a filter's output into a picture: a context of
// the call's own (contexts are never shared between threads), with the hardware renderer
// asked for, renders the output's whole extent; the picture has scale 1 and is upright.
#pragma once

#include <memory>

class CIFilter;
class UIImage;

namespace PECoreImageRender {
// Null when the filter has no output (logged by the filter). Any thread.
std::shared_ptr<UIImage> renderedImage(const CIFilter& filter);
} // namespace PECoreImageRender
