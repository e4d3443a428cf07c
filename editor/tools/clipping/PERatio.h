// One aspect ratio of the clipping tool: two sides, long and short, an orientation that
// the swap button turns, and the title its menu item shows.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <optional>
#include <string>

class PERatio : public NSObject {
    NS_OBJECT(PERatio)
public:
    // The larger absolute value is the long side, the smaller the short one; portrait, with
    // no title format.
    static std::shared_ptr<PERatio> initWithValue1Value2(double value1, double value2);

    // The crop rectangle's height over its width: short over long in landscape, long over
    // short in portrait; 0 (free cropping) when a side is 0, or is no finite number.
    double ratio() const;
    bool isLandscape() const { return isLandscape_; }
    void setIsLandscape(bool landscape) { isLandscape_ = landscape; }
    // A format with two number directives; none means "%g : %g".
    const std::optional<std::string>& titleFormat() const { return titleFormat_; }
    void setTitleFormat(std::optional<std::string> format) { titleFormat_ = std::move(format); }

    // The title: the format filled with the sides as the rectangle stands, the width
    // first (4 : 3 in landscape, 3 : 4 in portrait). A format without directives ("Custom")
    // shows as it is.
    std::string description() const override;

protected:
    PERatio() = default;

private:
    double longSide_ = 0;
    double shortSide_ = 0;
    bool isLandscape_ = false;
    std::optional<std::string> titleFormat_;
};
