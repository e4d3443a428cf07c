#include "platform/graphics/JPEGCodec.h"

#include "platform/graphics/ImageCodecError.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/graphics/RowResampler.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <optional>
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

// What a decode is to give: the whole picture as stored, the whole at the smallest scale
// with at least width x height pixels, or a part of it at width x height.
struct Target {
    enum class Kind { Whole, AtLeast, Part };
    Kind kind = Kind::Whole;
    CGRect source;
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

// Whether `size` bytes can hold the picture the header describes. With Huffman coding,
// every 8 x 8 block of the first component takes at least one bit (the code of its DC
// value, in a sequential and in a progressive file alike); arithmetic coding has no such
// floor. Refusing here spares a result of the claimed size when the data is a fraction of
// it.
bool holdsItsBlocks(const jpeg_decompress_struct& info, size_t size) {
    const jpeg_component_info& first = info.comp_info[0];
    const uint64_t blocks = uint64_t(first.width_in_blocks) * first.height_in_blocks;
    return info.arith_code || size >= blocks / 8;
}

// Sets the scale to the smallest n/8 at which `source` still has `width` x `height` pixels.
void chooseScale(jpeg_decompress_struct& info, const CGRect& source, size_t width, size_t height) {
    info.scale_denom = 8;
    for (info.scale_num = 1; info.scale_num < 8; ++info.scale_num) {
        jpeg_calc_output_dimensions(&info);
        // A hair below the exact product, so that 4000 x 2/8 counts as 1000 pixels.
        const double across = source.size.width * info.output_width / info.image_width + 1e-6;
        const double down = source.size.height * info.output_height / info.image_height + 1e-6;
        if (across >= double(width) && down >= double(height)) {
            return;
        }
    }
    jpeg_calc_output_dimensions(&info); // full size
}

// `resampler` lives in the caller's frame, so that a jump out of the library leaves
// nothing behind to destroy.
ErrorOr<void> decompress(const uint8_t* data, size_t size, const Target& target,
                         std::optional<RowResampler>& resampler) {
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
    // (A JPEG's own sides are never longer than an image's.)
    const bool part = target.kind == Target::Kind::Part;
    if (uint64_t(info.image_width) * info.image_height > ImageDecoder::maxPixels ||
        (part && (target.width > CGImage::maxSide || target.height > CGImage::maxSide))) {
        jpeg_destroy_decompress(&info);
        return makeError(ImageCodecErrorDomain, ImageCodecErrorTooLarge, "image too large");
    }
    if (!holdsItsBlocks(info, size)) {
        jpeg_destroy_decompress(&info);
        return makeError(ImageCodecErrorDomain, ImageCodecErrorDamagedFile,
                         "far less data than the size in the header needs");
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : nativeARGB;
    const CGRect picture = CGRectMake(0, 0, info.image_width, info.image_height);
    const CGRect source = part ? target.source : picture;
    if (target.kind == Target::Kind::Whole) {
        jpeg_calc_output_dimensions(&info);
    } else {
        // A reduced picture is for the screen: the fast integer transform and plain chroma
        // upsampling lose nothing visible there, least of all before area averaging.
        info.dct_method = JDCT_IFAST;
        info.do_fancy_upsampling = FALSE;
        chooseScale(info, source, target.width, target.height);
    }
    const double scaleX = double(info.output_width) / info.image_width;
    const double scaleY = double(info.output_height) / info.image_height;
    resampler =
        RowResampler::create(info.output_width, info.output_height,
                             CGRectMake(source.origin.x * scaleX, source.origin.y * scaleY,
                                        source.size.width * scaleX, source.size.height * scaleY),
                             part ? target.width : info.output_width,
                             part ? target.height : info.output_height, CGImagePixelFormat::RGB24);
    if (!resampler) {
        jpeg_destroy_decompress(&info);
        return makeError(ImageCodecErrorDomain, ImageCodecErrorNoImage, "nothing to decode to");
    }
    jpeg_start_decompress(&info);
    // The library widens a cut to whole blocks, and says where the row then starts.
    JDIMENSION first = static_cast<JDIMENSION>(resampler->firstColumn());
    JDIMENSION count = static_cast<JDIMENSION>(resampler->columnEnd()) - first;
    if (count < info.output_width) {
        jpeg_crop_scanline(&info, &first, &count);
    }
    resampler->deliverColumns(first, count);
    if (resampler->firstRow() > 0) {
        jpeg_skip_scanlines(&info, static_cast<JDIMENSION>(resampler->firstRow()));
    }
    while (info.output_scanline < resampler->rowEnd()) {
        JSAMPROW row = resampler->nextRow();
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            cmykRowToNative(row, count, info.saw_Adobe_marker);
        }
        resampler->addRow();
    }
    // Rows past the part are left unread; a whole picture is read to its end, so that a
    // file cut short there is still refused.
    if (info.output_scanline == info.output_height) {
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    return {};
}

ErrorOr<CGImageRef> decodeWith(const uint8_t* data, size_t size, const Target& target,
                               size_t* workingBytes) {
    if (size == 0) {
        return makeError(ImageCodecErrorDomain, ImageCodecErrorDamagedFile, "empty data");
    }
    std::optional<RowResampler> resampler;
    if (auto done = decompress(data, size, target, resampler); done.hasError()) {
        return done.error();
    }
    if (workingBytes) {
        *workingBytes = resampler->workingBytes();
    }
    return resampler->takeImage();
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
    return decodeWith(data, size, {}, nullptr);
}

ErrorOr<CGImageRef> JPEGCodec::decodeScaled(const uint8_t* data, size_t size, size_t minWidth,
                                            size_t minHeight) {
    return decodeWith(data, size, {Target::Kind::AtLeast, {}, minWidth, minHeight}, nullptr);
}

ErrorOr<CGImageRef> JPEGCodec::decodeToSize(const uint8_t* data, size_t size, const CGRect& source,
                                            size_t width, size_t height, size_t* workingBytes) {
    return decodeWith(data, size, {Target::Kind::Part, source, width, height}, workingBytes);
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
