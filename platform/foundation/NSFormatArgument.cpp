#include "platform/foundation/NSFormatArgument.h"

#include "platform/foundation/NSString.h"

NSFormatArgument::NSFormatArgument(const PlistValue& value) {
    switch (value.type()) {
    case PlistValue::Type::Boolean:
    case PlistValue::Type::Integer:
        kind_ = Kind::Signed;
        signed_ = value.integerValue();
        unsigned_ = static_cast<uint64_t>(signed_);
        break;
    case PlistValue::Type::Real:
        kind_ = Kind::Real;
        real_ = value.doubleValue();
        break;
    default:
        kind_ = Kind::Text;
        text_ = value.description();
    }
}

std::string NSFormatArgument::textValue() const {
    switch (kind_) {
    case Kind::Signed:
        return std::to_string(signed_);
    case Kind::Unsigned:
        return std::to_string(unsigned_);
    case Kind::Real:
        return PlistValue(real_).description();
    default:
        return text_;
    }
}

int64_t NSFormatArgument::integerValue() const {
    switch (kind_) {
    case Kind::Signed:
        return signed_;
    case Kind::Unsigned:
        return static_cast<int64_t>(unsigned_);
    case Kind::Real:
        return PlistValue(real_).integerValue();
    default:
        return NSString::integerValue(text_);
    }
}

uint64_t NSFormatArgument::unsignedValue() const {
    return kind_ == Kind::Unsigned ? unsigned_ : static_cast<uint64_t>(integerValue());
}

double NSFormatArgument::doubleValue() const {
    switch (kind_) {
    case Kind::Signed:
        return static_cast<double>(signed_);
    case Kind::Unsigned:
        return static_cast<double>(unsigned_);
    case Kind::Real:
        return real_;
    default:
        return NSString::doubleValue(text_);
    }
}
