#include "editor/tools/filter/PEDefaultEmptyFilter.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "platform/base/ClassRegistry.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIVector.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNumber.h"
#include "platform/uikit/UIImage.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {
constexpr const char* kNoFilter = "PEDefaultEmptyFilter";
constexpr const char* kVignette = "CIVignetteEffect";

struct FilterRow {
    std::string_view className;
    const char* filterName;
    const char* defaultTitle;
    int version;
    int dockedNumber;
};

// Versions are the system's major versions that brought each engine filter.
constexpr FilterRow kFilterRows[] = {
    {"PEDefaultEmptyFilter", kNoFilter, "None", 0, 0},
    {"PEDefaultLinearFilter", "CISRGBToneCurveToLinear", "Linear", 7, 1},
    {"PEDefaultVignetteFilter", kVignette, "Vignette", 7, 2},
    {"PEDefaultInstantFilter", "CIPhotoEffectInstant", "Instant", 7, 3},
    {"PEDefaultProcessFilter", "CIPhotoEffectProcess", "Process", 7, 4},
    {"PEDefaultTransferFilter", "CIPhotoEffectTransfer", "Transfer", 7, 5},
    {"PEDefaultSepiaFilter", "CISepiaTone", "Sepia", 5, 6},
    {"PEDefaultChromeFilter", "CIPhotoEffectChrome", "Chrome", 7, 7},
    {"PEDefaultFadeFilter", "CIPhotoEffectFade", "Fade", 7, 8},
    {"PEDefaultCurveFilter", "CILinearToSRGBToneCurve", "Curve", 7, 9},
    {"PEDefaultTonalFilter", "CIPhotoEffectTonal", "Tonal", 7, 10},
    {"PEDefaultNoirFilter", "CIPhotoEffectNoir", "Noir", 7, 11},
    {"PEDefaultMonoFilter", "CIPhotoEffectMono", "Mono", 7, 12},
    {"PEDefaultInvertFilter", "CIColorInvert", "Invert", 6, 13},
};

constexpr const char* kInfoKeys[] = {"name", "title", "version", "dockedNum"};

const FilterRow* rowOfClass(std::string_view className) {
    const auto row = std::ranges::find(kFilterRows, className, &FilterRow::className);
    return row == std::end(kFilterRows) ? nullptr : row;
}

// Only the title is localised, so that the other keys cost no look-up of strings.
PlistValue rowValue(const FilterRow& row, std::string_view key) {
    if (key == "name") {
        return row.filterName;
    }
    if (key == "title") {
        return PEImageEditorTheme::localizedStringWithDefault(
            std::string(row.className) + "_DefaultTitle", row.defaultTitle);
    }
    if (key == "version") {
        return row.version;
    }
    if (key == "dockedNum") {
        return row.dockedNumber;
    }
    return {};
}
} // namespace

PlistValue PEDefaultEmptyFilter::ClassMethods::defaultInfoForKey(const Class& self,
                                                                 const std::string& key) const {
    const FilterRow* row = rowOfClass(self.name);
    return row ? rowValue(*row, key) : PlistValue();
}

std::string PEDefaultEmptyFilter::ClassMethods::filterName(const Class& self) const {
    return defaultInfoForKey(self, "name").stringValue();
}

std::string PEDefaultEmptyFilter::ClassMethods::defaultTitle(const Class& self) const {
    return defaultInfoForKey(self, "title").stringValue();
}

bool PEDefaultEmptyFilter::ClassMethods::isAvailable(const Class& self) const {
    const PlistValue version = defaultInfoForKey(self, "version");
    return !version.isNull() && static_cast<float>(SystemVersion::iosVersion()) >=
                                    static_cast<float>(version.doubleValue());
}

double PEDefaultEmptyFilter::ClassMethods::defaultDockedNumber(const Class& self) const {
    return static_cast<float>(defaultInfoForKey(self, "dockedNum").doubleValue());
}

std::shared_ptr<UIImage>
PEDefaultEmptyFilter::ClassMethods::applyFilter(const Class& self,
                                                const std::shared_ptr<UIImage>& image) const {
    return filteredImageWithFilterName(image, filterName(self));
}

PlistValue::Dictionary PEDefaultEmptyFilter::defaultFilterInfo() {
    PlistValue::Dictionary table;
    for (const FilterRow& row : kFilterRows) {
        PlistValue::Dictionary info;
        for (const char* key : kInfoKeys) {
            info[key] = rowValue(row, key);
        }
        table[std::string(row.className)] = std::move(info);
    }
    return table;
}

std::vector<std::string> PEDefaultEmptyFilter::subclassNames() {
    std::vector<std::string> names;
    for (const FilterRow& row : kFilterRows) {
        if (row.className != staticClassName()) {
            names.emplace_back(row.className);
        }
    }
    return names;
}

std::shared_ptr<CIFilter>
PEDefaultEmptyFilter::filterWithNameForImage(const std::string& name,
                                             const std::shared_ptr<UIImage>& image) {
    auto filter = PECoreImageRender::filterForImage(name, image);
    if (!filter) {
        // An unknown name is logged by the engine.
        if (!image || !image->cgImage()) {
            NSLog("%@: no picture to filter with %@", staticClassName(), name);
        }
        return nullptr;
    }
    if (name == kVignette) {
        // In pixels, as the engine's image of the picture is laid out.
        const CGSize size = image->size();
        const double scale = image->scale();
        filter->setValueForKey(
            CIVector::vectorWithXY(size.width * scale * 0.5, size.height * scale * 0.5),
            "inputCenter");
        filter->setValueForKey(NSNumber::numberWithDouble(0.9f), "inputIntensity");
        filter->setValueForKey(NSNumber::numberWithDouble(static_cast<float>(
                                   std::min(size.width, size.height) * scale * 0.5)),
                               "inputRadius");
    }
    return filter;
}

std::shared_ptr<UIImage>
PEDefaultEmptyFilter::filteredImageWithFilterName(const std::shared_ptr<UIImage>& image,
                                                  const std::string& name) {
    if (name == kNoFilter) {
        return image;
    }
    auto filter = filterWithNameForImage(name, image);
    return filter ? PECoreImageRender::renderedImage(*filter) : nullptr;
}
