#include "platform/coreimage/CIFilter.h"

#include "platform/coreimage/CIFilterCatalog.h"
#include "platform/coreimage/CIFilterDefinition.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNumber.h"
#include "platform/graphics/NSValue.h"

#include <vips/vips8>

#include <cmath>
#include <new>

namespace {
const CIFilterInputDefinition* inputNamed(const CIFilterDefinition& definition,
                                          const std::string& key) {
    for (const auto& input : definition.inputs) {
        if (input.key == key) {
            return &input;
        }
    }
    return nullptr;
}

bool isOfKind(const NSObject& value, CIFilterInputKind kind) {
    switch (kind) {
    case CIFilterInputKind::Image:
        return dynamic_cast<const CIImage*>(&value) != nullptr;
    case CIFilterInputKind::Number:
        return dynamic_cast<const NSNumber*>(&value) != nullptr;
    case CIFilterInputKind::Vector:
        return dynamic_cast<const CIVector*>(&value) != nullptr;
    case CIFilterInputKind::Transform:
        return dynamic_cast<const NSValue*>(&value) != nullptr;
    }
    return false;
}

// NaN and infinite parameters have no meaning for any filter and would reach the pixel
// arithmetic as sizes and table indices.
bool isFinite(const NSObject& value) {
    if (const auto* number = dynamic_cast<const NSNumber*>(&value)) {
        return std::isfinite(number->doubleValue());
    }
    if (const auto* vector = dynamic_cast<const CIVector*>(&value)) {
        for (size_t i = 0; i < vector->count(); ++i) {
            if (!std::isfinite(vector->valueAtIndex(i))) {
                return false;
            }
        }
    }
    return true;
}
} // namespace

std::shared_ptr<CIFilter> CIFilter::filterWithName(const std::string& name) {
    const CIFilterDefinition* definition = CIFilterCatalog::definitionNamed(name);
    if (!definition) {
        NSLog("CIFilter: no filter named \"%@\"", name);
        return nullptr;
    }
    auto filter = make<CIFilter>(*definition);
    filter->setDefaults();
    return filter;
}

std::vector<std::string> CIFilter::filterNames() {
    return CIFilterCatalog::filterNames();
}

const std::string& CIFilter::name() const {
    return definition_->name;
}

std::vector<std::string> CIFilter::inputKeys() const {
    std::vector<std::string> keys;
    for (const auto& input : definition_->inputs) {
        keys.push_back(input.key);
    }
    return keys;
}

void CIFilter::setDefaults() {
    for (const auto& input : definition_->inputs) {
        if (input.kind != CIFilterInputKind::Image) {
            values_[input.key] = input.defaultValue;
        }
    }
}

void CIFilter::setValueForKey(const NSObjectPtr& value, const std::string& key) {
    const CIFilterInputDefinition* input = inputNamed(*definition_, key);
    if (!input) {
        NSLog("CIFilter %@: no input \"%@\"; value ignored", name(), key);
        return;
    }
    if (!value) {
        values_.erase(key);
        return;
    }
    if (!isOfKind(*value, input->kind)) {
        NSLog("CIFilter %@: %@ is not a value for \"%@\"; ignored", name(), value, key);
        return;
    }
    if (!isFinite(*value)) {
        NSLog("CIFilter %@: %@ is not a finite value for \"%@\"; ignored", name(), value, key);
        return;
    }
    values_[key] = value;
}

NSObjectPtr CIFilter::valueForKey(const std::string& key) const {
    auto found = values_.find(key);
    if (found != values_.end()) {
        return found->second;
    }
    const CIFilterInputDefinition* input = inputNamed(*definition_, key);
    return input ? input->defaultValue : nullptr;
}

CIImagePtr CIFilter::outputImage() const {
    auto input = std::dynamic_pointer_cast<CIImage>(valueForKey(kCIInputImageKey));
    if (!input) {
        return nullptr;
    }
    try {
        return definition_->apply(*input, *this);
    } catch (const vips::VError& error) {
        NSLog("CIFilter %@: %s", name(), error.what());
        vips_error_clear();
        return nullptr;
    } catch (const std::bad_alloc&) {
        NSLog("CIFilter %@: out of memory", name());
        return nullptr;
    }
}

double CIFilter::numberForKey(const std::string& key) const {
    auto number = std::dynamic_pointer_cast<NSNumber>(valueForKey(key));
    return number ? number->doubleValue() : 0;
}

CIVectorPtr CIFilter::vectorForKey(const std::string& key) const {
    return std::dynamic_pointer_cast<CIVector>(valueForKey(key));
}

CGAffineTransform CIFilter::transformForKey(const std::string& key) const {
    auto value = std::dynamic_pointer_cast<NSValue>(valueForKey(key));
    return value ? value->CGAffineTransformValue() : CGAffineTransformIdentity;
}

std::string CIFilter::description() const {
    return "<CIFilter " + name() + ">";
}
