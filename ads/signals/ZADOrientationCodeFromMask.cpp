#include "ads/signals/ZADOrientationCodeFromMask.h"

#include "platform/uikit/UIInterfaceOrientation.h"

std::optional<std::string> ZADOrientationCodeFromMask(unsigned long mask) {
    const bool landscape = (mask & (UIInterfaceOrientationMaskLandscapeLeft |
                                    UIInterfaceOrientationMaskLandscapeRight)) != 0;
    const bool portrait = (mask & UIInterfaceOrientationMaskPortrait) != 0;
    const bool upsideDown = (mask & UIInterfaceOrientationMaskPortraitUpsideDown) != 0;
    if (landscape) {
        return (portrait || upsideDown) ? "any" : "l";
    }
    if (portrait) {
        return "p";
    }
    return std::nullopt;
}
