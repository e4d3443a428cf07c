#include "ads/signals/ZADNumberFromBool.h"

#include "platform/foundation/NSNumber.h"

std::shared_ptr<NSNumber> ZADNumberFromBool(bool value) {
    // An integer, not a boolean: it must be written as a digit wherever it goes.
    return NSNumber::numberWithInteger(value ? 1 : 0);
}
