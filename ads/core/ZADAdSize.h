// The size of a banner as the engine and applications name it: a fixed standard size, a
// custom size, a smart banner whose size follows the device and its orientation, or a
// fluid ad whose height follows its content. The free functions make, compare, resolve,
// validate, describe and box sizes.
#pragma once

#include "platform/graphics/CGGeometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class NSError;
class NSValue;

struct ZADAdSize {
    CGSize size;
    uint64_t flags;
};

// Flag bits.
inline constexpr uint64_t kZADAdSizeFlagCustom = 1;
inline constexpr uint64_t kZADAdSizeFlagFullWidth = 2;
// On a tablet the smart height is the lower one.
inline constexpr uint64_t kZADAdSizeFlagSkinny = 4;
// The width is the screen's long side; on a phone the smart height is the lower one.
inline constexpr uint64_t kZADAdSizeFlagLandscape = 8;
inline constexpr uint64_t kZADAdSizeFlagSmartBanner = 16;
inline constexpr uint64_t kZADAdSizeFlagFluid = 32;

// The boxed form's type encoding.
inline constexpr const char* kZADAdSizeObjCType = "{ZADAdSize={CGSize=dd}Q}";

inline constexpr ZADAdSize kZADAdSizeBanner{{320, 50}, 0};
inline constexpr ZADAdSize kZADAdSizeLargeBanner{{320, 100}, 0};
inline constexpr ZADAdSize kZADAdSizeMediumRectangle{{300, 250}, 0};
inline constexpr ZADAdSize kZADAdSizeFullBanner{{468, 60}, 0};
inline constexpr ZADAdSize kZADAdSizeLeaderboard{{728, 90}, 0};
inline constexpr ZADAdSize kZADAdSizeSkyscraper{{120, 600}, 0};
inline constexpr ZADAdSize kZADAdSizeSmartBannerPortrait{{0, 0}, 18};
inline constexpr ZADAdSize kZADAdSizeSmartBannerLandscape{{0, 0}, 26};
inline constexpr ZADAdSize kZADAdSizeSmartBannerSkinnyPortrait{{0, 0}, 22};
inline constexpr ZADAdSize kZADAdSizeSmartBannerSkinnyLandscape{{0, 0}, 30};
inline constexpr ZADAdSize kZADAdSizeFluid{{0, 0}, 32};
inline constexpr ZADAdSize kZADAdSizeInvalid{{-1, -1}, 0};

// The invalid size or a standard one when the sides match one exactly, else a custom size.
ZADAdSize ZADAdSizeMakeFromSize(CGSize size);
// Custom and full width: the screen's width, the given height.
ZADAdSize ZADAdSizeMakeFullWidth(CGFloat height);
ZADAdSize ZADAdSizeMakeFluid(CGFloat width, CGFloat height);

bool ZADAdSizeIsEqual(ZADAdSize a, ZADAdSize b);
bool ZADAdSizeIsFluid(ZADAdSize size);
bool ZADAdSizeIsFullWidth(ZADAdSize size);
bool ZADAdSizeIsSmartBanner(ZADAdSize size);

// The size in points the ad size stands for on this device and screen; zero for a size
// that stands for none (the invalid size, unnamed sizes without flags, smart banners on an
// idiom without a height table).
CGSize ZADAdSizeGetCGSize(ZADAdSize size);
// Whether an ad of this size can be shown: not the invalid size, and (unless fluid) fitting
// the screen in either orientation. The error, when asked for, says why not.
bool ZADAdSizeValidate(ZADAdSize size, std::shared_ptr<NSError>* error = nullptr);
// The constant's name for a named size, else a text of its kind and sides.
std::string ZADAdSizeDescription(ZADAdSize size);

std::shared_ptr<NSValue> ZADAdSizeToValue(ZADAdSize size);
// The invalid size for no value or a value of another type.
ZADAdSize ZADAdSizeFromValue(const std::shared_ptr<NSValue>& value);
// "320x50" -> 320 by 50; text that does not read as a width and a height gives zero.
CGSize ZADAdSizeFromString(std::string_view text);
