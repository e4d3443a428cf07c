#include "platform/foundation/NSNumber.h"

#include "platform/foundation/PlistValue.h"

#include <cmath>

std::shared_ptr<NSNumber> NSNumber::numberWithBool(bool value) {
    return make<NSNumber>(value);
}

std::shared_ptr<NSNumber> NSNumber::numberWithInteger(int64_t value) {
    return make<NSNumber>(value);
}

std::shared_ptr<NSNumber> NSNumber::numberWithUnsignedLongLong(unsigned long long value) {
    return make<NSNumber>(value);
}

std::shared_ptr<NSNumber> NSNumber::numberWithDouble(double value) {
    return make<NSNumber>(value);
}

bool NSNumber::boolValue() const {
    return std::visit([](auto value) { return value != 0; }, value_);
}

int64_t NSNumber::integerValue() const {
    if (const auto* real = std::get_if<double>(&value_)) {
        return PlistValue(*real).integerValue();
    }
    return std::visit([](auto value) { return static_cast<int64_t>(value); }, value_);
}

unsigned long long NSNumber::unsignedLongLongValue() const {
    if (const auto* whole = std::get_if<unsigned long long>(&value_)) {
        return *whole;
    }
    // Negative values wrap, as the platform's conversion does.
    return static_cast<unsigned long long>(integerValue());
}

double NSNumber::doubleValue() const {
    return std::visit([](auto value) { return static_cast<double>(value); }, value_);
}

std::string NSNumber::description() const {
    if (const auto* whole = std::get_if<unsigned long long>(&value_)) {
        return std::to_string(*whole);
    }
    if (const auto* real = std::get_if<double>(&value_)) {
        return PlistValue(*real).description();
    }
    return std::to_string(integerValue());
}

bool NSNumber::isEqual(const NSObject& other) const {
    const auto* number = dynamic_cast<const NSNumber*>(&other);
    if (!number) {
        return false;
    }
    const bool realHere = std::holds_alternative<double>(value_);
    const bool realThere = std::holds_alternative<double>(number->value_);
    if (realHere || realThere) {
        return doubleValue() == number->doubleValue();
    }
    // Both whole: equal when the same number, whatever the signedness.
    const bool negativeHere =
        integerValue() < 0 && !std::holds_alternative<unsigned long long>(value_);
    const bool negativeThere =
        number->integerValue() < 0 && !std::holds_alternative<unsigned long long>(number->value_);
    return negativeHere == negativeThere &&
           unsignedLongLongValue() == number->unsignedLongLongValue();
}
