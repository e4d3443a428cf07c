#include "platform/graphics/ExifReader.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <libexif/exif-data.h>
#include <memory>

namespace {

struct ExifDataRelease {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

std::optional<int> orientationOf(ExifData* data) {
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || entry->size < 2) {
        return std::nullopt;
    }
    int value = exif_get_short(entry->data, exif_data_get_byte_order(data));
    return value >= 1 && value <= 8 ? std::optional(value) : std::nullopt;
}

// "YYYY:MM:DD HH:MM:SS"; cameras that do not know the time write blanks or zeros in it.
bool isDateTime(const std::string& text) {
    static constexpr char shape[] = "dddd:dd:dd dd:dd:dd";
    if (text.size() != sizeof shape - 1) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        bool fits = shape[i] == 'd' ? std::isdigit(static_cast<unsigned char>(text[i])) != 0
                                    : text[i] == shape[i];
        if (!fits) {
            return false;
        }
    }
    return text.compare(0, 4, "0000") != 0;
}

std::optional<std::string> dateTimeOf(ExifContent* content, ExifTag tag) {
    ExifEntry* entry = exif_content_get_entry(content, tag);
    if (!entry || entry->format != EXIF_FORMAT_ASCII || !entry->data) {
        return std::nullopt;
    }
    const char* text = reinterpret_cast<const char*>(entry->data);
    std::string value(text, std::find(text, text + entry->size, '\0'));
    return isDateTime(value) ? std::optional(value) : std::nullopt;
}

} // namespace

ExifInfo ExifReader::read(const uint8_t* data, size_t size, Thumbnail thumbnail) {
    ExifInfo info;
    if (!data || size == 0) {
        return info;
    }
    std::unique_ptr<ExifData, ExifDataRelease> exif(exif_data_new());
    if (!exif) {
        return info;
    }
    // Following the standard would make libexif fill in "missing" mandatory tags, a date
    // among them; we want only what the file says.
    exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(exif.get(), data,
                        static_cast<unsigned int>(std::min<size_t>(size, UINT_MAX)));
    info.orientation = orientationOf(exif.get()).value_or(1);
    info.dateTimeOriginal = dateTimeOf(exif->ifd[EXIF_IFD_EXIF], EXIF_TAG_DATE_TIME_ORIGINAL);
    if (!info.dateTimeOriginal) {
        info.dateTimeOriginal = dateTimeOf(exif->ifd[EXIF_IFD_0], EXIF_TAG_DATE_TIME);
    }
    if (thumbnail == Thumbnail::Copy && exif->data && exif->size > 0) {
        info.thumbnail.assign(exif->data, exif->data + exif->size);
    }
    return info;
}
