// The base of every filter the filter tool lists: a class found by discovery, never made
// into an object. The base itself is never listed, shows no icon (the strip computes a
// thumbnail instead) and leaves the picture unchanged.
#pragma once

#include "editor/PEImageToolProtocol.h"
#include "editor/tools/filter/PEFilterBaseProtocol.h"
#include "platform/base/NSObject.h"

class PEFilterBase : public NSObject {
    NS_OBJECT(PEFilterBase)
public:
    class ClassMethods : public NSObject, public PEImageToolProtocol, public PEFilterBaseProtocol {
    public:
        std::optional<std::string> defaultIconImagePath(const Class& self) const override;
        double defaultDockedNumber(const Class& self) const override;
        // "PEFilterBase".
        std::string defaultTitle(const Class& self) const override;
        bool isAvailable(const Class& self) const override;
        std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
        subtools(const Class& self) const override;
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
        // The picture itself.
        std::shared_ptr<UIImage> applyFilter(const Class& self,
                                             const std::shared_ptr<UIImage>& image) const override;
    };
};
