// A boxed plain value: its bytes and the type encoding it was boxed with, as filters and
// animations take transforms among their parameters and the ad engine boxes sizes.
// Unboxing checks the encoding first, so a value boxed as one type is never read as another.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/graphics/CGAffineTransform.h"

#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

class NSValue : public NSObject {
    NS_OBJECT(NSValue)
public:
    template <class T>
    static std::shared_ptr<NSValue> valueWithBytesObjCType(const T& value, std::string objCType) {
        static_assert(std::is_trivially_copyable_v<T>);
        std::vector<unsigned char> bytes(sizeof(T));
        std::memcpy(bytes.data(), &value, sizeof(T));
        return make<NSValue>(std::move(bytes), std::move(objCType));
    }
    static std::shared_ptr<NSValue> valueWithCGAffineTransform(const CGAffineTransform& transform);

    const std::string& objCType() const { return objCType_; }
    // Copies the boxed bytes into value when the encoding and the size match; false otherwise.
    template <class T> bool getValueOfType(T* value, const std::string& objCType) const {
        static_assert(std::is_trivially_copyable_v<T>);
        if (objCType != objCType_ || bytes_.size() != sizeof(T)) {
            return false;
        }
        std::memcpy(value, bytes_.data(), sizeof(T));
        return true;
    }
    // The boxed transform; the identity when another type was boxed.
    CGAffineTransform CGAffineTransformValue() const;

    std::string description() const override;
    // Equal when boxed with the same encoding and the same bytes.
    bool isEqual(const NSObject& other) const override;

private:
    NSValue(std::vector<unsigned char> bytes, std::string objCType)
        : bytes_(std::move(bytes)), objCType_(std::move(objCType)) {}

    std::vector<unsigned char> bytes_;
    std::string objCType_;
};
