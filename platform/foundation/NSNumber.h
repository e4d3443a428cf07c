// A boxed number (boolean, integer or real), as collections and %@ see numbers.
#pragma once

#include "platform/base/NSObject.h"

#include <cstdint>
#include <memory>
#include <variant>

class NSNumber : public NSObject {
    NS_OBJECT(NSNumber)
public:
    static std::shared_ptr<NSNumber> numberWithBool(bool value);
    static std::shared_ptr<NSNumber> numberWithInteger(int64_t value);
    static std::shared_ptr<NSNumber> numberWithUnsignedLongLong(unsigned long long value);
    static std::shared_ptr<NSNumber> numberWithDouble(double value);

    bool boolValue() const;
    int64_t integerValue() const;
    unsigned long long unsignedLongLongValue() const;
    double doubleValue() const;

    // "1" for true, integers without decimals, reals in their shortest exact form.
    std::string description() const override;
    // Equal values are equal whatever their kind: @YES equals @1, @2 equals @2.0.
    bool isEqual(const NSObject& other) const override;

private:
    using Value = std::variant<bool, int64_t, unsigned long long, double>;
    explicit NSNumber(Value value) : value_(value) {}
    Value value_;
};
