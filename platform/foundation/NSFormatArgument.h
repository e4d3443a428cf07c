// One argument of a format string (stringWithFormat:, NSLog): text, a number or an
// object's description, captured at the call site so that formatting needs no varargs and
// can never read an argument that was not passed.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

class NSFormatArgument {
public:
    enum class Kind { Text, Signed, Unsigned, Real };

    NSFormatArgument(std::string text) : kind_(Kind::Text), text_(std::move(text)) {}
    NSFormatArgument(std::string_view text) : kind_(Kind::Text), text_(text) {}
    // A null C string formats as "(null)", as the platform prints it.
    NSFormatArgument(const char* text) : kind_(Kind::Text), text_(text ? text : "(null)") {}
    NSFormatArgument(bool value) : kind_(Kind::Signed), signed_(value ? 1 : 0) {}
    template <std::integral T>
    NSFormatArgument(T value)
        : kind_(std::is_signed_v<T> ? Kind::Signed : Kind::Unsigned),
          signed_(static_cast<int64_t>(value)), unsigned_(static_cast<uint64_t>(value)) {}
    template <class T>
    requires std::is_enum_v<T> NSFormatArgument(T value)
        : NSFormatArgument(static_cast<std::underlying_type_t<T>>(value)) {}
    template <std::floating_point T>
    NSFormatArgument(T value) : kind_(Kind::Real), real_(static_cast<double>(value)) {}
    NSFormatArgument(const NSObject& object) : kind_(Kind::Text), text_(object.description()) {}
    template <class T>
    requires std::derived_from<std::remove_const_t<T>, NSObject>
    NSFormatArgument(const std::shared_ptr<T>& object)
        : kind_(Kind::Text), text_(NSDescription(object.get())) {}
    NSFormatArgument(const PlistValue& value);

    Kind kind() const { return kind_; }

    // The argument read as each kind of directive reads it: text reads as its leading
    // number, numbers read as their platform description.
    std::string textValue() const;
    int64_t integerValue() const;
    uint64_t unsignedValue() const;
    double doubleValue() const;

private:
    Kind kind_;
    std::string text_;
    int64_t signed_ = 0;
    uint64_t unsigned_ = 0;
    double real_ = 0;
};
