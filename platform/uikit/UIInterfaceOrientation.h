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
