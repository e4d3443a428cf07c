#include "platform/graphics/JPEGCodec.h"

#include "platform/graphics/ImageCodecError.h"
#include "platform/graphics/ImageDecoder.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <csetjmp>
#include <cstdio>
// In this order: jpeglib.h needs <cstdio>, jerror.h needs jpeglib.h's configuration.
#include <jpeglib.h>

#include <jerror.h>

// libjpeg reports a fatal error by calling error_exit, which must not return; ours jumps
// back to the setjmp in the function that started the work. Between that function and
// libjpeg there are only C frames, and the work functions below hold no object with a
// destructor: what outlives a jump (pixels, encoded bytes, the message) lives in the
// caller's frame, and the error value is only made once the jump has landed.

namespace {

constexpr bool littleEndian = std::endian::native == std::endian::little;
// libjpeg's name for the memory order of a native ARGB32 pixel.
constexpr J_COLOR_SPACE nativeARGB = littleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
constexpr int blueAt = littleEndian ? 0 : 3;
constexpr int greenAt = littleEndian ? 1 : 2;
constexpr int redAt = littleEndian ? 2 : 1;
constexpr int alphaAt = littleEndian ? 3 : 0;
// A progressive file can hold thousands of tiny scans, each making the decoder go over
// the whole image again; real files have a dozen or so.
constexpr int maxScans = 500;

struct ErrorManager {
    jpeg_error_mgr base; // first, so the library's err pointer is also ours
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    long code; // of ImageCodecErrorDomain
};

[[noreturn]] void jumpOut(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// libjpeg only warns about damaged data and fills the gaps with grey; a photo with holes
// is worse than an error, so those warnings are fatal. Harmless ones (stray bytes between
// markers, which many cameras write) are let through.
void onMessage(j_common_ptr info, int level) {
    if (level >= 0) {
        return; // trace output
    }
    switch (info->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
        jumpOut(info);
    default:
        ++info->err->num_warnings;
    }
}

void limitScans(j_common_ptr info) {
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > maxScans) {
        auto* errors = reinterpret_cast<ErrorManager*>(info->err);
        std::snprintf(errors->message, sizeof errors->message,
                      "progressive JPEG with more than %d scans", maxScans);
        errors->code = ImageCodecErrorTooLarge;
        std::longjmp(errors->jump, 1);
    }
}

// `code` is what a library error means in the work at hand.
void installErrorHandling(j_common_ptr info, ErrorManager& errors, long code) {
    info->err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpOut;
    errors.base.emit_message = onMessage;
    errors.message[0] = '\0';
    errors.code = code;
}

std::shared_ptr<NSError> errorOf(const ErrorManager& errors) {
    return makeError(ImageCodecErrorDomain, errors.code, errors.message);
}

// A smallest size for decodeScaled; none decodes at full size.
struct ScaleRequest {
    bool scaled = false;
    size_t minWidth = 0;
    size_t minHeight = 0;
};

struct Decoded {
    std::vector<uint8_t> pixels;
    size_t width = 0;
    size_t height = 0;
};

// CMYK as 1 - ink (Adobe's files store it inverted, so no flip is needed for them) times
// 1 - black, in place; a plain approximation without a colour profile.
void cmykRowToNative(uint8_t* row, size_t width, bool inverted) {
    for (size_t x = 0; x < width; ++x, row += 4) {
        unsigned c = row[0], m = row[1], y = row[2], k = row[3];
        if (!inverted) {
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        }
        row[redAt] = static_cast<uint8_t>((c * k + 127) / 255);
        row[greenAt] = static_cast<uint8_t>((m * k + 127) / 255);
        row[blueAt] = static_cast<uint8_t>((y * k + 127) / 255);
        row[alphaAt] = 255;
    }
}

ErrorOr<void> decompress(const uint8_t* data, size_t size, ScaleRequest request, Decoded& out) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    jpeg_progress_mgr progress{};
    installErrorHandling(reinterpret_cast<j_common_ptr>(&info), errors, ImageCodecErrorDamagedFile);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return errorOf(errors);
    }
    jpeg_create_decompress(&info);
    progress.progress_monitor = limitScans;
    info.progress = &progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (uint64_t(info.image_width) * info.image_height > ImageDecoder::maxPixels) {
        jpeg_destroy_decompress(&info);
        return makeError(ImageCodecErrorDomain, ImageCodecErrorTooLarge, "image too large");
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : nativeARGB;
    if (request.scaled) {
        // A reduced picture is for the screen, to be resampled again: the fast integer
        // transform and plain chroma upsampling lose nothing visible there.
        info.dct_method = JDCT_IFAST;
        info.do_fancy_upsampling = FALSE;
        info.scale_denom = 8;
        for (info.scale_num = 1; info.scale_num < 8; ++info.scale_num) {
            jpeg_calc_output_dimensions(&info);
            if (info.output_width >= request.minWidth && info.output_height >= request.minHeight) {
                break;
            }
        }
    }
    jpeg_start_decompress(&info);
    out.width = info.output_width;
    out.height = info.output_height;
    const size_t stride = out.width * 4;
    out.pixels.resize(stride * out.height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.pixels.data() + size_t(info.output_scanline) * stride;
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            cmykRowToNative(row, out.width, info.saw_Adobe_marker);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return {};
}

ErrorOr<CGImageRef> decodeWith(const uint8_t* data, size_t size, ScaleRequest request) {
    if (size == 0) {
        return makeError(ImageCodecErrorDomain, ImageCodecErrorDamagedFile, "empty data");
    }
    Decoded decoded;
    if (auto done = decompress(data, size, request, decoded); done.hasError()) {
        return done.error();
    }
    return CGImage::create(decoded.width, decoded.height, CGImagePixelFormat::RGB24,
                           decoded.width * 4, std::move(decoded.pixels));
}

// Collects the compressed bytes in a vector that lives in the caller's frame.
struct VectorDestination {
    jpeg_destination_mgr base; // first, so the library's dest pointer is also ours
    std::vector<uint8_t>* bytes;
};

void startOutput(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->bytes->resize(64 * 1024);
    destination->base.next_output_byte = destination->bytes->data();
    destination->base.free_in_buffer = destination->bytes->size();
}

// Called when the buffer is full: keep it all and double it.
boolean growOutput(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    const size_t used = destination->bytes->size();
    destination->bytes->resize(used * 2);
    destination->base.next_output_byte = destination->bytes->data() + used;
    destination->base.free_in_buffer = used;
    return TRUE;
}

void finishOutput(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->bytes->resize(destination->bytes->size() - destination->base.free_in_buffer);
}

ErrorOr<void> compress(const CGImage& image, int quality, std::vector<uint8_t>& bytes) {
    jpeg_compress_struct info;
    ErrorManager errors;
    VectorDestination destination{{}, &bytes};
    installErrorHandling(reinterpret_cast<j_common_ptr>(&info), errors,
                         ImageCodecErrorEncodeFailed);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return errorOf(errors);
    }
    jpeg_create_compress(&info);
    destination.base.init_destination = startOutput;
    destination.base.empty_output_buffer = growOutput;
    destination.base.term_destination = finishOutput;
    info.dest = &destination.base;
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    const bool gray = image.format() == CGImagePixelFormat::Gray8;
    info.input_components = gray ? 1 : 4;
    info.in_color_space = gray ? JCS_GRAYSCALE : nativeARGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg only reads the rows it is given.
        JSAMPROW row =
            const_cast<JSAMPROW>(image.data() + info.next_scanline * image.bytesPerRow());
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return {};
}

} // namespace

ErrorOr<CGImageRef> JPEGCodec::decode(const uint8_t* data, size_t size) {
    return decodeWith(data, size, {});
}

ErrorOr<CGImageRef> JPEGCodec::decodeScaled(const uint8_t* data, size_t size, size_t minWidth,
                                            size_t minHeight) {
    return decodeWith(data, size, {true, minWidth, minHeight});
}

ErrorOr<std::vector<uint8_t>> JPEGCodec::encode(const CGImageRef& image, double quality) {
    if (!image) {
        return makeError(ImageCodecErrorDomain, ImageCodecErrorNoImage, "no image");
    }
    // Written so that NaN, too, ends in range (as 0).
    const double clamped = quality > 0 ? std::min(quality, 1.0) : 0.0;
    const int level = static_cast<int>(std::lround(clamped * 100));
    std::vector<uint8_t> bytes;
    if (auto done = compress(*image, level, bytes); done.hasError()) {
        return done.error();
    }
    return bytes;
}
