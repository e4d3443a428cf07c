#include "editor/tools/clipping/PERatio.h"

#include "platform/foundation/NSString.h"

#include <algorithm>
#include <cmath>

std::shared_ptr<PERatio> PERatio::initWithValue1Value2(double value1, double value2) {
    auto ratio = make<PERatio>();
    ratio->longSide_ = std::max(std::abs(value1), std::abs(value2));
    ratio->shortSide_ = std::min(std::abs(value1), std::abs(value2));
    return ratio;
}

double PERatio::ratio() const {
    // A side that is no finite number (a value too large for the single-precision reading)
    // would give a rectangle of no size: such a ratio crops freely.
    if (!(shortSide_ > 0) || !std::isfinite(longSide_)) {
        return 0;
    }
    return isLandscape_ ? shortSide_ / longSide_ : longSide_ / shortSide_;
}

std::string PERatio::description() const {
    const std::string format = titleFormat_.value_or("%g : %g");
    return isLandscape_ ? NSString::stringWithFormat(format, longSide_, shortSide_)
                        : NSString::stringWithFormat(format, shortSide_, longSide_);
}
