#include "bench/EditorBenchPictures.h"

#include "bench/PhotoLikeImage.h"
#include "editor/EditorClasses.h"
#include "editor/categories/UIImage+Utility.h"
#include "platform/coreimage/VipsRuntime.h"
#include "platform/foundation/NSBundle.h"
#include "platform/uikit/UIImage.h"

#include <benchmark/benchmark.h>

#include <mutex>

namespace EditorBenchPictures {

const std::shared_ptr<UIImage>& photo() {
    static const auto image = UIImage::imageWithCGImage(photoLikeImage(kPhotoWidth, kPhotoHeight));
    return image;
}

const std::shared_ptr<UIImage>& viewSized() {
    static const auto image = Utility::resize(photo(), CGSizeMake(kViewWidth, kViewHeight));
    return image;
}

vips::VImage bandsOf(const UIImage& image) {
    VipsRuntime::start();
    const CGImageRef& bitmap = image.cgImage();
    return vips::VImage::new_from_memory(const_cast<uint8_t*>(bitmap->data()),
                                         bitmap->bytesPerRow() * bitmap->height(),
                                         static_cast<int>(bitmap->width()),
                                         static_cast<int>(bitmap->height()), 4, VIPS_FORMAT_UCHAR);
}

void writeOut(const vips::VImage& image) {
    size_t size = 0;
    void* pixels = image.write_to_memory(&size);
    benchmark::DoNotOptimize(pixels);
    g_free(pixels);
}

void registerEditor() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        NSBundle::setMainBundlePath(MP_BENCH_BUNDLE_DIR);
        registerEditorClasses();
    });
}

} // namespace EditorBenchPictures
