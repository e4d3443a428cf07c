// How every editor filter and tool turns a filter's output into a picture: a context of
// the call's own (contexts are never shared between threads), with the hardware renderer
// asked for, renders the output's whole extent; the picture has scale 1 and is upright.
#pragma once

#include "platform/graphics/CGGeometry.h"

#include <functional>

#include <memory>
#include <string>

class CIFilter;
class CIImage;
class DispatchQueue;
class NSError;
class NSObject;
class UIImage;

namespace PECoreImageRender {
// The filter of that name with its defaults, the picture as its input image; null without
// a picture or for an unknown name. Any thread.
std::shared_ptr<CIFilter> filterForImage(const std::string& name,
                                         const std::shared_ptr<UIImage>& image);
// The same with an engine picture as the input (a filter's output, fed on unrendered).
std::shared_ptr<CIFilter> filterForImage(const std::string& name,
                                         const std::shared_ptr<CIImage>& image);
// Null when the filter has no output (logged by the filter). Any thread.
std::shared_ptr<UIImage> renderedImage(const CIFilter& filter);
// The same for `region` (engine coordinates) of `image`: what lies outside the image's
// extent is transparent. Null when nothing could be rendered, logged with `who`. Any
// thread.
std::shared_ptr<UIImage> renderedImage(const std::shared_ptr<CIImage>& image, const CGRect& region,
                                       const std::string& who);
// What a tool answers when its picture could not be made: an error in the tool's domain
// (its class name) saying `what` went wrong.
std::shared_ptr<NSError> failure(const std::string& domain, const std::string& what);

// Where the tools' previews and results are made.
std::shared_ptr<DispatchQueue> backgroundQueue();

using Render = std::function<std::shared_ptr<UIImage>()>;
using Answer = std::function<void(std::shared_ptr<UIImage>, std::shared_ptr<NSError>,
                                  std::shared_ptr<NSObject>)>;
// A tool's OK: `render` runs on the background queue; `answer` gets its picture on the main
// thread, or failure(domain, what) when it made none.
void renderThenAnswer(Render render, Answer answer, const std::string& domain,
                      const std::string& what);
} // namespace PECoreImageRender
