// Which way up the interface stands; the values are the platform's.
#pragma once

enum class UIInterfaceOrientation {
    Unknown = 0,
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeRight = 3,
    LandscapeLeft = 4,
};

inline bool UIInterfaceOrientationIsPortrait(UIInterfaceOrientation orientation) {
    return orientation == UIInterfaceOrientation::Portrait ||
           orientation == UIInterfaceOrientation::PortraitUpsideDown;
}

inline bool UIInterfaceOrientationIsLandscape(UIInterfaceOrientation orientation) {
    return orientation == UIInterfaceOrientation::LandscapeLeft ||
           orientation == UIInterfaceOrientation::LandscapeRight;
}

// Sets of orientations a screen supports: one bit per orientation, at the orientation's
// value, as the platform numbers them.
enum UIInterfaceOrientationMask : unsigned {
    UIInterfaceOrientationMaskPortrait = 1u << 1,
    UIInterfaceOrientationMaskPortraitUpsideDown = 1u << 2,
    UIInterfaceOrientationMaskLandscapeRight = 1u << 3,
    UIInterfaceOrientationMaskLandscapeLeft = 1u << 4,
    UIInterfaceOrientationMaskAll = (1u << 1) | (1u << 2) | (1u << 3) | (1u << 4),
};

inline bool UIInterfaceOrientationMaskContains(unsigned mask, UIInterfaceOrientation orientation) {
    return (mask & (1u << static_cast<unsigned>(orientation))) != 0;
}
