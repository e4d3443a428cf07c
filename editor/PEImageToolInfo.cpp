#include "editor/PEImageToolInfo.h"

#include "editor/PEImageToolProtocol.h"
#include "editor/categories/UIImage+Utility.h"
#include "platform/base/ClassRegistry.h"
#include "platform/uikit/UIImage.h"

#include <algorithm>

namespace {
// The editor screen registers under its internal name; menus and logs show the public one.
constexpr const char* kScreenClassName = "_PEImageEditorViewController";
constexpr const char* kPublicEditorName = "PEImageEditor";
} // namespace

std::shared_ptr<PEImageToolInfo>
PEImageToolInfo::toolInfoForToolClass(const std::string& className) {
    const Class* cls = NSClassFromString(className);
    if (!cls) {
        return nullptr;
    }
    const auto* tool = ClassRegistry::shared().classConformingTo<PEImageToolProtocol>(*cls);
    if (!tool || !tool->isAvailable(*cls)) {
        return nullptr;
    }
    auto info = make<PEImageToolInfo>();
    info->toolName_ = cls->name;
    info->title_ = tool->defaultTitle(*cls);
    info->available_ = true;
    info->dockedNumber_ = tool->defaultDockedNumber(*cls);
    info->iconImagePath_ = tool->defaultIconImagePath(*cls);
    info->subtools_ = tool->subtools(*cls);
    info->optionalInfo_ = tool->optionalInfo(*cls);
    return info;
}

PEImageToolInfo::ToolList PEImageToolInfo::toolsWithToolClass(const std::string& className) {
    ToolList tools;
    if (auto own = toolInfoForToolClass(className)) {
        tools.push_back(std::move(own));
    }
    for (const Class* subclass : ClassRegistry::shared().subclassesOf(className)) {
        if (auto info = toolInfoForToolClass(subclass->name)) {
            tools.push_back(std::move(info));
        }
    }
    return tools;
}

std::string PEImageToolInfo::toolName() const {
    return toolName_ == kScreenClassName ? kPublicEditorName : toolName_;
}

std::shared_ptr<UIImage> PEImageToolInfo::iconImage() const {
    return iconImagePath_ ? Utility::fastImageWithContentsOfFile(*iconImagePath_) : nullptr;
}

PEImageToolInfo::ToolList PEImageToolInfo::sortedCopy() const {
    ToolList sorted = subtools_.value_or(ToolList{});
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return a->dockedNumber() < b->dockedNumber();
    });
    return sorted;
}

PEImageToolInfo::ToolList PEImageToolInfo::sortedSubtools() {
    ToolList sorted = sortedCopy();
    if (subtools_) {
        subtools_ = sorted;
    }
    return sorted;
}

std::shared_ptr<PEImageToolInfo>
PEImageToolInfo::subToolInfoWithToolNameRecursive(const std::string& name, bool recursive) const {
    if (!subtools_) {
        return nullptr;
    }
    for (const auto& child : *subtools_) {
        if (child->toolName() == name) {
            return child;
        }
        if (recursive) {
            if (auto found = child->subToolInfoWithToolNameRecursive(name, true)) {
                return found;
            }
        }
    }
    return nullptr;
}

PlistValue::Dictionary PEImageToolInfo::descriptionDictionary() const {
    PlistValue::Dictionary dictionary{
        {"toolName", toolName()},
        {"title", title_},
        {"available", available_ ? "YES" : "NO"},
        {"dockedNumber", dockedNumber_},
    };
    if (iconImagePath_) {
        dictionary["iconImagePath"] = *iconImagePath_;
    }
    if (subtools_) {
        PlistValue::Array children;
        for (const auto& child : sortedCopy()) {
            children.emplace_back(child->descriptionDictionary());
        }
        dictionary["subtools"] = std::move(children);
    }
    if (optionalInfo_) {
        dictionary["optionalInfo"] = *optionalInfo_;
    }
    return dictionary;
}

std::string PEImageToolInfo::description() const {
    return PlistValue(descriptionDictionary()).description();
}

std::string PEImageToolInfo::toolTreeDescriptionWithSpace(const std::string& prefix) const {
    std::string text = prefix + toolName() + "\n";
    for (const auto& child : sortedCopy()) {
        text += child->toolTreeDescriptionWithSpace(prefix + "    ");
    }
    return text;
}

std::string PEImageToolInfo::toolTreeDescription() const {
    return "\n" + toolTreeDescriptionWithSpace("");
}
