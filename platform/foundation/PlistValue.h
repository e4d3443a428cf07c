// A property-list value: what user defaults, property-list files, string tables and
// notification user info hold. Null stands for nil (an absent value).
#pragma once

#include "platform/foundation/NSDate.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class PlistValue {
public:
    using Array = std::vector<PlistValue>;
    using Dictionary = std::map<std::string, PlistValue>;
    using Data = std::vector<uint8_t>;
    enum class Type { Null, Boolean, Integer, Real, String, Date, Data, Array, Dictionary };

    PlistValue() = default;
    PlistValue(bool value) : value_(value) {}
    PlistValue(int value) : value_(int64_t{value}) {}
    PlistValue(long value) : value_(int64_t{value}) {}
    PlistValue(long long value) : value_(int64_t{value}) {}
    PlistValue(unsigned value) : value_(int64_t{value}) {}
    PlistValue(unsigned long value) : value_(static_cast<int64_t>(value)) {}
    PlistValue(unsigned long long value) : value_(static_cast<int64_t>(value)) {}
    PlistValue(double value) : value_(value) {}
    PlistValue(const char* value) : value_(std::string(value ? value : "")) {}
    PlistValue(std::string value) : value_(std::move(value)) {}
    PlistValue(NSDate value) : value_(value) {}
    PlistValue(Data value) : value_(std::move(value)) {}
    PlistValue(Array value) : value_(std::move(value)) {}
    PlistValue(Dictionary value) : value_(std::move(value)) {}

    Type type() const { return static_cast<Type>(value_.index()); }
    bool isNull() const { return type() == Type::Null; }

    // Typed access: null when the value is of another type.
    const std::string* string() const { return std::get_if<std::string>(&value_); }
    const Array* array() const { return std::get_if<Array>(&value_); }
    const Dictionary* dictionary() const { return std::get_if<Dictionary>(&value_); }
    const Data* data() const { return std::get_if<Data>(&value_); }
    std::optional<NSDate> date() const;

    // Loose reads with the platform's conversions: numbers and booleans convert to each
    // other; a string reads as its leading number ("YES"/"true" as true); anything else
    // is 0 / false / empty.
    bool boolValue() const;
    int64_t integerValue() const;
    double doubleValue() const;
    std::string stringValue() const;

    // The member of a dictionary, or null when absent or not a dictionary.
    const PlistValue& operator[](const std::string& key) const;

    // Old-style text form, as the platform describes collections ("{ a = 1; }").
    std::string description() const;

    friend bool operator==(const PlistValue&, const PlistValue&) = default;

private:
    std::variant<std::monostate, bool, int64_t, double, std::string, NSDate, Data, Array,
                 Dictionary>
        value_;
};
