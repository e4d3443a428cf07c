// One entry of the editor's tool tree: a tool, filter or effect class as its menu lists it
// (title, icon, sort key, settings, children), and the discovery that builds the tree from
// the class registry, so that the editor never names its tools.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIImage;

class PEImageToolInfo : public NSObject {
    NS_OBJECT(PEImageToolInfo)
public:
    using ToolList = std::vector<std::shared_ptr<PEImageToolInfo>>;

    // An empty entry, for menus built by hand.
    static std::shared_ptr<PEImageToolInfo> alloc() { return make<PEImageToolInfo>(); }
    // The entry of a class that adopts PEImageToolProtocol at class level and is available;
    // null otherwise (no class of that name, not a tool, or not available).
    static std::shared_ptr<PEImageToolInfo> toolInfoForToolClass(const std::string& className);
    // The entry of the class itself (when it has one), then those of its registered
    // subclasses at every depth that have one, in registration order.
    static ToolList toolsWithToolClass(const std::string& className);

    // The class to make when the entry is chosen. The editor screen's own entry reads as
    // the public editor's name.
    std::string toolName() const;
    bool available() const { return available_; }
    void setAvailable(bool available) { available_ = available; }
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    double dockedNumber() const { return dockedNumber_; }
    void setDockedNumber(double number) { dockedNumber_ = number; }
    const std::optional<std::string>& iconImagePath() const { return iconImagePath_; }
    void setIconImagePath(std::optional<std::string> path) { iconImagePath_ = std::move(path); }
    const std::optional<ToolList>& subtools() const { return subtools_; }
    void setSubtools(std::optional<ToolList> subtools) { subtools_ = std::move(subtools); }
    // The entry's own copy of the class's settings: a host may change it before the tool
    // opens. None when the class gives none.
    std::optional<PlistValue::Dictionary>& optionalInfo() { return optionalInfo_; }
    const std::optional<PlistValue::Dictionary>& optionalInfo() const { return optionalInfo_; }

    // The icon file's picture; null without a path or when the file cannot be read.
    std::shared_ptr<UIImage> iconImage() const;
    // The children by ascending docked number (a stable sort: equal numbers keep their
    // discovery order), stored back as the children's order. Empty when there are none.
    ToolList sortedSubtools();
    // Depth first through the children in their stored order: the first entry named
    // `name`; a child's own subtree is searched (when recursive) before its next sibling.
    std::shared_ptr<PEImageToolInfo> subToolInfoWithToolNameRecursive(const std::string& name,
                                                                      bool recursive) const;

    // The entry as a dictionary: toolName, title, available ("YES"/"NO"), dockedNumber,
    // iconImagePath, subtools (the sorted children's dictionaries) and optionalInfo, the
    // keys whose value is absent left out.
    PlistValue::Dictionary descriptionDictionary() const;
    std::string description() const override;
    // One line per entry, each child's indented four spaces deeper than its parent, the
    // children in sorted order; the whole tree starts on a new line.
    std::string toolTreeDescriptionWithSpace(const std::string& prefix) const;
    std::string toolTreeDescription() const;

private:
    ToolList sortedCopy() const;

    bool available_ = false;
    std::string title_;
    double dockedNumber_ = 0;
    std::optional<std::string> iconImagePath_;
    std::optional<ToolList> subtools_;
    std::optional<PlistValue::Dictionary> optionalInfo_;
    std::string toolName_;

protected:
    PEImageToolInfo() = default;
};
