#include "ads/core/ZADAdSize.h"

#include "ads/core/NSError+ZADInternalErrorAdditions.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADDevice.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/NSValue.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

// The sizes that stand for themselves without any flag, in the order sizes are matched.
constexpr std::array kStandardSizes{kZADAdSizeBanner,          kZADAdSizeLargeBanner,
                                    kZADAdSizeMediumRectangle, kZADAdSizeFullBanner,
                                    kZADAdSizeLeaderboard,     kZADAdSizeSkyscraper};

bool isStandard(CGSize size) {
    return std::any_of(kStandardSizes.begin(), kStandardSizes.end(),
                       [size](ZADAdSize standard) { return standard.size == size; });
}

// The smart banner's height on this idiom; none on an idiom without a table.
std::optional<CGFloat> smartBannerHeight(uint64_t flags) {
    switch (UIDevice::currentDevice()->userInterfaceIdiom()) {
    case UIUserInterfaceIdiom::Phone:
        return (flags & kZADAdSizeFlagLandscape) ? 32 : 50;
    case UIUserInterfaceIdiom::Pad:
        return (flags & kZADAdSizeFlagSkinny) ? 66 : 90;
    default:
        return std::nullopt;
    }
}

CGSize fluidSize(ZADAdSize size) {
    if (size.size != CGSizeZero) {
        return size.size;
    }
    auto window = ZADApplication::sharedInstance()->mainWindow();
    if (!window) {
        return CGSizeZero;
    }
    const CGSize bounds = window->bounds().size;
    // Systems before 8 kept window bounds upright whatever the interface's orientation.
    const auto orientation = UIApplication::sharedApplication()->statusBarOrientation();
    const bool landscape = orientation == UIInterfaceOrientation::LandscapeRight ||
                           orientation == UIInterfaceOrientation::LandscapeLeft;
    if (landscape && !ZADDevice::sharedInstance()->isOSAtLeastMajorMinorPatch(8, 0, 0)) {
        return CGSizeMake(bounds.height, 1);
    }
    return CGSizeMake(bounds.width, 1);
}

} // namespace

ZADAdSize ZADAdSizeMakeFromSize(CGSize size) {
    if (size == kZADAdSizeInvalid.size) {
        return kZADAdSizeInvalid;
    }
    for (const ZADAdSize& standard : kStandardSizes) {
        if (standard.size == size) {
            return standard;
        }
    }
    return {size, kZADAdSizeFlagCustom};
}

ZADAdSize ZADAdSizeMakeFullWidth(CGFloat height) {
    return {CGSizeMake(0, height), kZADAdSizeFlagCustom | kZADAdSizeFlagFullWidth};
}

ZADAdSize ZADAdSizeMakeFluid(CGFloat width, CGFloat height) {
    return {CGSizeMake(width, height), kZADAdSizeFlagFluid};
}

bool ZADAdSizeIsEqual(ZADAdSize a, ZADAdSize b) {
    return a.flags == b.flags && a.size == b.size;
}

bool ZADAdSizeIsFluid(ZADAdSize size) {
    return (size.flags & kZADAdSizeFlagFluid) != 0;
}

bool ZADAdSizeIsFullWidth(ZADAdSize size) {
    return (size.flags & kZADAdSizeFlagFullWidth) != 0;
}

bool ZADAdSizeIsSmartBanner(ZADAdSize size) {
    return (size.flags & kZADAdSizeFlagSmartBanner) != 0;
}

CGSize ZADAdSizeGetCGSize(ZADAdSize size) {
    if (size.flags == 0) {
        return isStandard(size.size) ? size.size : CGSizeZero;
    }
    if (ZADAdSizeIsFluid(size)) {
        return fluidSize(size);
    }
    if (ZADAdSizeIsFullWidth(size)) {
        const CGSize portrait =
            ZADDevice::sharedInstance()->standardizedPortraitScreenBounds().size;
        const CGFloat width =
            (size.flags & kZADAdSizeFlagLandscape) ? portrait.height : portrait.width;
        const auto height = smartBannerHeight(size.flags);
        if (!height) {
            return CGSizeZero;
        }
        if (ZADAdSizeIsSmartBanner(size)) {
            return CGSizeMake(width, *height);
        }
        if (size.flags & kZADAdSizeFlagCustom) {
            return CGSizeMake(width, size.size.height);
        }
        return CGSizeZero;
    }
    return (size.flags & kZADAdSizeFlagCustom) ? size.size : CGSizeZero;
}

bool ZADAdSizeValidate(ZADAdSize size, std::shared_ptr<NSError>* error) {
    const auto fail = [error](std::string message) {
        if (error) {
            *error = ZADInternalErrorAdditions::zad_errorWithCodeDescription(
                ZADInternalErrorAdditions::kZADInternalErrorInvalidArgument, std::move(message));
        }
        return false;
    };
    if (size.flags == 0 && size.size == kZADAdSizeInvalid.size) {
        return fail("Invalid ad size.");
    }
    if (ZADAdSizeIsFluid(size)) {
        return true;
    }
    const CGSize resolved = ZADAdSizeGetCGSize(size);
    const CGSize bounds = ZADDevice::sharedInstance()->standardizedPortraitScreenBounds().size;
    const CGFloat width = std::fabs(resolved.width);
    const CGFloat height = std::fabs(resolved.height);
    if ((width <= bounds.width && height <= bounds.height) ||
        (width <= bounds.height && height <= bounds.width)) {
        return true;
    }
    return fail("Not enough space to show ad with custom size, " + NSStringFromCGSize(resolved) +
                ". Please use a size that fits the current screen bounds of " +
                NSStringFromCGSize(bounds) + ".");
}

std::string ZADAdSizeDescription(ZADAdSize size) {
    static const std::array<std::pair<ZADAdSize, const char*>, 12> kNamed{{
        {kZADAdSizeBanner, "kZADAdSizeBanner"},
        {kZADAdSizeLargeBanner, "kZADAdSizeLargeBanner"},
        {kZADAdSizeMediumRectangle, "kZADAdSizeMediumRectangle"},
        {kZADAdSizeFullBanner, "kZADAdSizeFullBanner"},
        {kZADAdSizeLeaderboard, "kZADAdSizeLeaderboard"},
        {kZADAdSizeSkyscraper, "kZADAdSizeSkyscraper"},
        {kZADAdSizeSmartBannerSkinnyPortrait, "kZADAdSizeSmartBannerSkinnyPortrait"},
        {kZADAdSizeSmartBannerSkinnyLandscape, "kZADAdSizeSmartBannerSkinnyLandscape"},
        {kZADAdSizeSmartBannerPortrait, "kZADAdSizeSmartBannerPortrait"},
        {kZADAdSizeSmartBannerLandscape, "kZADAdSizeSmartBannerLandscape"},
        {kZADAdSizeFluid, "kZADAdSizeFluid"},
        {kZADAdSizeInvalid, "kZADAdSizeInvalid"},
    }};
    for (const auto& [named, name] : kNamed) {
        if (ZADAdSizeIsEqual(named, size)) {
            return name;
        }
    }
    if (ZADAdSizeIsFullWidth(size)) {
        return NSString::stringWithFormat("Full width ZADAdSize with height: %f", size.size.height);
    }
    if (size.flags & kZADAdSizeFlagCustom) {
        return "Custom ZADAdSize: " + NSStringFromCGSize(size.size);
    }
    if (ZADAdSizeIsFluid(size)) {
        return "Fluid ZADAdSize: " + NSStringFromCGSize(size.size);
    }
    return NSString::stringWithFormat("ZADAdSize: %@, %lx", NSStringFromCGSize(size.size),
                                      static_cast<unsigned long>(size.flags));
}

std::shared_ptr<NSValue> ZADAdSizeToValue(ZADAdSize size) {
    return NSValue::valueWithBytesObjCType(size, kZADAdSizeObjCType);
}

ZADAdSize ZADAdSizeFromValue(const std::shared_ptr<NSValue>& value) {
    ZADAdSize size = kZADAdSizeInvalid;
    if (!value || !value->getValueOfType(&size, kZADAdSizeObjCType)) {
        return kZADAdSizeInvalid;
    }
    return size;
}

CGSize ZADAdSizeFromString(std::string_view text) {
    // Both numbers must be there: "320" or "320x" is no size rather than one of no height.
    const size_t x = text.find('x');
    if (x == std::string_view::npos || x == 0 || x + 1 == text.size() ||
        text.find('x', x + 1) != std::string_view::npos) {
        return CGSizeZero;
    }
    std::string pair(text);
    std::replace(pair.begin(), pair.end(), 'x', ',');
    return CGSizeFromString("{" + pair + "}");
}
