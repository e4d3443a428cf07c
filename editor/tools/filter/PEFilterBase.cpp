#include "editor/tools/filter/PEFilterBase.h"

std::optional<std::string> PEFilterBase::ClassMethods::defaultIconImagePath(const Class&) const {
    return std::nullopt;
}

double PEFilterBase::ClassMethods::defaultDockedNumber(const Class&) const {
    return 0;
}

std::string PEFilterBase::ClassMethods::defaultTitle(const Class&) const {
    return "PEFilterBase";
}

bool PEFilterBase::ClassMethods::isAvailable(const Class&) const {
    return false;
}

std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
PEFilterBase::ClassMethods::subtools(const Class&) const {
    return std::nullopt;
}

std::optional<PlistValue::Dictionary> PEFilterBase::ClassMethods::optionalInfo(const Class&) const {
    return std::nullopt;
}

std::shared_ptr<UIImage>
PEFilterBase::ClassMethods::applyFilter(const Class&, const std::shared_ptr<UIImage>& image) const {
    return image;
}
