#include "platform/photos/PhotoFileHeader.h"

#include "platform/graphics/ExifReader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Where header bytes come from: a file read piecemeal (a JPEG's frame header may sit
// behind many kilobytes of metadata) or bytes already in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `count` bytes from `offset`; fewer at the end.
    virtual size_t readAt(uint64_t offset, uint8_t* out, size_t count) const = 0;
    bool readExactly(uint64_t offset, uint8_t* out, size_t count) const {
        return readAt(offset, out, count) == count;
    }
};

class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t readAt(uint64_t offset, uint8_t* out, size_t count) const override {
        if (!data_ || offset >= size_) {
            return 0;
        }
        count = std::min<size_t>(count, size_ - offset);
        std::memcpy(out, data_ + offset, count);
        return count;
    }

private:
    const uint8_t* data_;
    size_t size_;
};

class FileSource : public ByteSource {
public:
    // Regular files only: opening a pipe or a device someone left in the folder must not
    // block the scan.
    explicit FileSource(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
        struct stat status;
        if (fd_ >= 0 && (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode))) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FileSource() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    size_t readAt(uint64_t offset, uint8_t* out, size_t count) const override {
        size_t done = 0;
        while (done < count) {
            ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            done += static_cast<size_t>(n);
        }
        return done;
    }

private:
    int fd_;
};

uint32_t bigEndian(const uint8_t* bytes, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

bool isPictureSize(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= PhotoFileHeader::kMaxSide &&
           height <= PhotoFileHeader::kMaxSide;
}

std::optional<PhotoFileHeader> readPNG(const ByteSource& source) {
    // Signature (8), then the IHDR chunk: length (4), type (4), width (4), height (4),
    // bit depth, colour type, compression, filter, interlace.
    uint8_t bytes[29];
    if (!source.readExactly(0, bytes, sizeof bytes) || bigEndian(bytes + 8, 4) != 13 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0) {
        return std::nullopt;
    }
    const uint32_t width = bigEndian(bytes + 16, 4), height = bigEndian(bytes + 20, 4);
    const uint8_t depth = bytes[24], colourType = bytes[25];
    const bool depthKnown = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    const bool colourTypeKnown =
        colourType == 0 || colourType == 2 || colourType == 3 || colourType == 4 || colourType == 6;
    if (!depthKnown || !colourTypeKnown || bytes[26] != 0 || bytes[27] != 0 || bytes[28] > 1 ||
        !isPictureSize(width, height)) {
        return std::nullopt;
    }
    PhotoFileHeader header;
    header.imageType = ImageFileType::PNG;
    header.width = width;
    header.height = height;
    return header;
}

// Frame kinds our decoder reads: baseline, extended and progressive, Huffman or arithmetic
// coded. Lossless and hierarchical files are not photos we can show.
bool isReadableFrame(uint8_t marker) {
    return marker == 0xc0 || marker == 0xc1 || marker == 0xc2 || marker == 0xc9 || marker == 0xca;
}

bool isFrame(uint8_t marker) {
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

// Markers without a length: restart markers, TEM and a repeated start of image.
bool isStandalone(uint8_t marker) {
    return marker == 0x01 || marker == 0xd8 || (marker >= 0xd0 && marker <= 0xd7);
}

// The next marker's code at or after `at`, which is moved past it. Stray bytes before a
// marker are skipped as the decoder skips them (some cameras write a few); a long run of
// them is not a JPEG header.
std::optional<uint8_t> nextMarker(const ByteSource& source, uint64_t& at) {
    constexpr size_t kMaxStrayBytes = 64 * 1024;
    uint8_t buffer[256];
    bool sawFF = false;
    for (uint64_t start = at; at - start <= kMaxStrayBytes;) {
        const size_t count = source.readAt(at, buffer, sizeof buffer);
        if (count == 0) {
            return std::nullopt;
        }
        for (size_t i = 0; i < count; ++i) {
            if (buffer[i] == 0xff) {
                sawFF = true; // a marker's prefix, or fill before one
            } else if (sawFF && buffer[i] != 0x00) {
                at += i + 1;
                return buffer[i];
            } else {
                sawFF = false;
            }
        }
        at += count;
    }
    return std::nullopt;
}

std::optional<PhotoFileHeader> readJPEG(const ByteSource& source) {
    // A real file has a few dozen segments before its first scan.
    constexpr int kMaxSegments = 1000;
    PhotoFileHeader header;
    header.imageType = ImageFileType::JPEG;
    bool haveFrame = false, haveExif = false;
    uint64_t at = 2;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        const auto marker = nextMarker(source, at);
        if (!marker || *marker == 0xd9) {
            return std::nullopt; // ended before any scan
        }
        if (isStandalone(*marker)) {
            continue;
        }
        uint8_t lengthBytes[2];
        if (!source.readExactly(at, lengthBytes, 2)) {
            return std::nullopt;
        }
        const uint32_t length = bigEndian(lengthBytes, 2);
        if (length < 2) {
            return std::nullopt;
        }
        if (*marker == 0xda) {
            // The first scan: the header is complete when a frame came before it.
            return haveFrame ? std::optional(header) : std::nullopt;
        }
        if (isFrame(*marker) && !haveFrame) {
            // Precision, height, width, number of components.
            uint8_t frame[6];
            if (!isReadableFrame(*marker) || length < 8 || !source.readExactly(at + 2, frame, 6)) {
                return std::nullopt;
            }
            header.height = bigEndian(frame + 1, 2);
            header.width = bigEndian(frame + 3, 2);
            const uint8_t components = frame[5];
            if (frame[0] != 8 || (components != 1 && components != 3 && components != 4) ||
                !isPictureSize(header.width, header.height)) {
                return std::nullopt;
            }
            haveFrame = true;
        } else if (*marker == 0xe1 && !haveExif && length > 8) {
            static constexpr uint8_t exifPrefix[6] = {'E', 'x', 'i', 'f', 0, 0};
            uint8_t prefix[6];
            if (source.readExactly(at + 2, prefix, 6) && std::memcmp(prefix, exifPrefix, 6) == 0) {
                std::vector<uint8_t> block(length - 2);
                if (!source.readExactly(at + 2, block.data(), block.size())) {
                    return std::nullopt;
                }
                const ExifInfo exif = ExifReader::read(block.data(), block.size());
                header.exifOrientation = exif.orientation;
                header.dateTimeOriginal = exif.dateTimeOriginal;
                header.exifBlockOffset = at + 2;
                header.exifBlockLength = block.size();
                haveExif = true;
            }
        }
        at += length;
    }
    return std::nullopt;
}

std::optional<PhotoFileHeader> readImage(const ByteSource& source) {
    uint8_t start[8];
    const size_t count = source.readAt(0, start, sizeof start);
    switch (ImageDecoder::sniff(start, count)) {
    case ImageFileType::PNG:
        return readPNG(source);
    case ImageFileType::JPEG:
        return readJPEG(source);
    case ImageFileType::Unknown:
        break;
    }
    return std::nullopt;
}

bool hasVideoExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".mov" || extension == ".mp4" || extension == ".m4v";
}

// An ISO base media file (QuickTime and MPEG-4) opens with a box: its size (4), "ftyp".
bool startsWithFileTypeBox(const ByteSource& source) {
    uint8_t box[8];
    return source.readExactly(0, box, sizeof box) && bigEndian(box, 4) >= 8 &&
           std::memcmp(box + 4, "ftyp", 4) == 0;
}

} // namespace

std::optional<PhotoFileHeader> PhotoFileHeader::readFile(const std::string& path) {
    const FileSource source(path);
    if (!source.isOpen()) {
        return std::nullopt;
    }
    if (auto image = readImage(source)) {
        return image;
    }
    if (hasVideoExtension(path) && startsWithFileTypeBox(source)) {
        PhotoFileHeader header;
        header.kind = Kind::Video;
        return header;
    }
    return std::nullopt;
}

std::optional<PhotoFileHeader> PhotoFileHeader::readData(const uint8_t* data, size_t size) {
    return readImage(MemorySource(data, size));
}
