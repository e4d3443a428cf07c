// What a slot loads: a banner of a size, or an interstitial. Sizes' flags (fluid, full
// width, smart), their resolution for the device and their descriptions come with the
// ad sizes; until then a banner is its size in points.
#pragma once

#include "platform/graphics/CGGeometry.h"

#include <string>

class ZADAdType {
public:
    enum class Kind { Banner, Interstitial };

    static ZADAdType bannerWithSize(CGSize size) { return ZADAdType(Kind::Banner, size); }
    static ZADAdType interstitial() { return ZADAdType(Kind::Interstitial, CGSizeZero); }

    Kind kind() const { return kind_; }
    bool isInterstitial() const { return kind_ == Kind::Interstitial; }
    // The banner's size; zero for an interstitial.
    CGSize size() const { return size_; }
    // "banner 320x50" or "interstitial", as the program's log says it.
    std::string description() const;

    bool isEqual(const ZADAdType& other) const {
        return kind_ == other.kind_ && size_ == other.size_;
    }

private:
    ZADAdType(Kind kind, CGSize size) : kind_(kind), size_(size) {}

    Kind kind_;
    CGSize size_;
};
